// TcTable: the month table window "月間出没時刻". Lists the sun and moon rise
// and set times and the moon age for every day of the displayed month at the
// current site, recomputed at every showing, and copies the rows to the
// clipboard.
#pragma once

#include <string>
#include <vector>

#include "app/mainState.h"
#include "engine/prcCalc.h"
#include "ui/modalDialog.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

class TcTable : public ui::TcModalDialog {
    Q_OBJECT
public:
    TcTable(const TcMainState& cMain, const TcCalc& cCalc, QWidget* owner);

    QLabel* lbl1;
    QPlainTextEdit* memTable;
    QPushButton* cmdClose;
    QPushButton* cmdClip;

    // Computes the rows of the displayed month and puts them into the view;
    // runs at every showing.
    void funcShow();
    // Puts the rows shown, each followed by CR LF, on the clipboard.
    void funcClip();
    // Closes the window.
    void funcClose();

    // The rows the view holds, as computed by the last funcShow.
    const std::vector<std::string>& rows() const { return shownRows; }

protected:
    void showing() override { funcShow(); }

private:
    const TcMainState& cMain;
    const TcCalc& cCalc;
    std::vector<std::string> shownRows;
};
