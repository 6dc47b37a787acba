// TcLocate: the site dialog "観測地の入力", and the site file operations
// that report to the user.
#pragma once

#include <QString>

#include "app/mainState.h"
#include "sites/numParse.h"
#include "sites/siteFile.h"
#include "ui/modalDialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TcReg;

class TcLocate : public ui::TcModalDialog {
    Q_OBJECT
public:
    TcLocate(TcMainState& cMain, QWidget* owner);

    // The registration dialog is created after this one; it is handed over
    // once it exists.
    void setReg(TcReg* reg) { cReg = reg; }

    // Start-up load of the site of record cMain.defaultSiteIndex. Needs no
    // dialog instance. On a missing file it shows "観測地ファイルがありません。",
    // puts the default site in place and returns 2; otherwise returns 0 (also
    // for a file without a complete record: the default site is then in
    // place and the dialog can still append to the file).
    static int loadSite(TcMainState& cMain);

    // Reads record n of the site file. When it cannot be read, shows
    // "ファイルが読めません" and returns false with out unchanged.
    bool readSite(int n, sitefile::SiteRecord& out);

    // Lines listed at the last showing, plus one for every record appended
    // since (kept equal to the appended record's number + 1).
    int siteCount = 0;

public slots:
    void funcShow();
    void funcSelect(int index);
    void funcOK();
    void funcCancel();
    void funcRec();

protected:
    void showing() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Parses and range-checks the three fields; shows the message and
    // returns false when they do not pass.
    bool checkFields(sitefile::SiteNumbers& out);
    void setName(const QString& name);
    void setNumbers(double latitude, double longitude, double timeZone, int summerTime);

    TcMainState& cMain;
    TcReg* cReg = nullptr;

    QComboBox* cmbName;
    QLineEdit* editLati;
    QLineEdit* editLongi;
    QLineEdit* editTz;
    QCheckBox* chkSummer;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QPushButton* cmdWrite;
    QLabel* lblLati;
    QLabel* cmbLongi;  // a label, named like this in the form
    QLabel* cmbTz;     // a label as well

    // Shows why a write wrote nothing; fallback for the failures that have
    // no message of their own.
    void showWriteFailure(sitefile::Status status, const QString& fallback);

    // The file the last showing listed: writes go to that file only.
    sitefile::FileId listedFile;

    // The name the box showed as a field value (set by the dialog or typed),
    // restored when a chosen record cannot be read.
    QString nameShown;
};
