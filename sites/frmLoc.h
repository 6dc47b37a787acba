// TcLocate: the site dialog "観測地の入力", and the site file operations
// that report to the user.
#pragma once

#include <QDialog>

#include "app/mainState.h"

class TcReg;

class TcLocate : public QDialog {
    Q_OBJECT
public:
    TcLocate(TcMainState& cMain, QWidget* owner);

    // The registration dialog is created after this one; it is handed over
    // once it exists.
    void setReg(TcReg* reg) { cReg = reg; }

    // Start-up load of the site of record cMain.defaultSiteIndex. Needs no
    // dialog instance. On a missing file it shows "観測地ファイルがありません。",
    // puts the default site in place and returns 2; otherwise returns 0.
    static int loadSite(TcMainState& cMain);

    int siteCount = 0;

private:
    TcMainState& cMain;
    TcReg* cReg = nullptr;
};
