// TcDate: the date dialog "年月日の入力". Three fields for year, month and
// day, each with an up/down control that steps it with carries across month
// and year ends; OK checks the numbers and takes them over as the displayed
// date.
#pragma once

#include "app/mainState.h"
#include "ui/modalDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;
class TcUpDown;

class TcDate : public ui::TcModalDialog {
    Q_OBJECT
public:
    TcDate(TcMainState& cMain, QWidget* owner);

    QLineEdit* editYear;
    QLineEdit* editMonth;
    QLineEdit* editDay;
    TcUpDown* spinYear;
    TcUpDown* spinMonth;
    TcUpDown* spinDay;
    QLabel* lblYear;
    QLabel* lblMonth;
    QLabel* lblDay;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    // Fills the fields with the displayed date; runs at every showing.
    void funcShow();
    // A click of one of the up/down controls; sender chooses the field by
    // its object name, direction is +1 (up) or -1 (down).
    void funcSpin(const QObject* sender, int direction);
    // Checks the fields and, when they hold a valid date, takes it over and
    // closes the dialog; otherwise reports the fault and stays open.
    void funcOK();
    // Closes the dialog without change.
    void funcExit();

protected:
    void showing() override { funcShow(); }

private:
    TcMainState& cMain;
};
