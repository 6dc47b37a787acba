// TcMain: the main window. Shows the four daily lines and the phase picture
// for the displayed date at the current site, steps the date a day at a time,
// opens the date and site dialogs and the month table, and keeps its position
// and the start-up site in the user's settings. Owns (by reference) the
// program's shared state.
#pragma once

#include <QMainWindow>
#include <cstdint>

#include "app/mainState.h"
#include "engine/prcCalc.h"
#include "app/helpViewer.h"

class QAction;
class QFrame;
class QLabel;
class QPushButton;
class QToolButton;
class TcAlmanac;
class TcYear;
class TcKoyomiMonth;
class TcDate;
class TcLocate;
class TcTable;

class TcMain : public QMainWindow {
    Q_OBJECT
public:
    // Creates the window visible: its creation, show and activation handlers
    // run before the dialogs exist.
    TcMain(TcMainState& cMain, const TcCalc& cCalc);

    // The dialogs are created after the main window and handed over here.
    void setDialogs(TcDate* date, TcLocate* locate, TcTable* table);

    // Tool bar.
    QFrame* Panel1;
    QToolButton* cmdExit;
    QToolButton* cmdDate;
    QToolButton* cmdLocate;
    QToolButton* cmdCalc;
    QPushButton* cmdBefore;
    QPushButton* cmdNext;
    QToolButton* cmdHelp;
    // Phase picture and the four lines.
    QLabel* imgDisp;
    QLabel* lblDate;
    QLabel* lblSun;
    QLabel* lblMoon;
    QLabel* lblAge;
    // Menu items.
    QAction* mnuExit;
    QAction* mnuDate;
    QAction* mnuLoc;
    QAction* mnuNext;
    QAction* mnuBefore;
    QAction* mnuToday;
    QAction* mnuTable;
    QAction* mnuAlmanac;
    QAction* mnuYear;
    QAction* mnuKoyomiMonth;
    QAction* mnuHelp;

    // Recomputes the day and redraws lines, picture and caption at once.
    void funcDisp();
    // One day back when sender is named "cmdBefore" or "mnuBefore",
    // otherwise one day forward.
    void funcStep(const QObject* sender);
    // Shows today's date (the command 今日).
    void funcTodayShown();
    void funcDate();
    void funcLocate();
    void funcTable();
    // Opens the almanac details window (made at its first opening) or
    // brings it to the front.
    void funcAlmanac();
    void funcKoyomiMonth();
    // The details window; null until first opened.
    TcAlmanac* almanacWindow() const { return cAlmanac; }
    // Opens the year of daylight (made at its first opening) or brings it
    // to the front; null until first opened.
    void funcYear();
    TcYear* yearWindow() const { return cYear; }
    TcKoyomiMonth* koyomiMonthWindow() const { return cKoyomiMonth; }
    void mnuHelpClick();
    // Stores the settings, then closes the window.
    void funcExit2();
    void mnuExitClick();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenu();
    void funcCreate();
    void funcShow();
    void funcActive();
    void funcPhase(double age);
    // Writes the settings, or reports why it could not; true when written.
    bool storeSettings();

    TcMainState& cMain;
    const TcCalc& cCalc;
    TcDate* cDate = nullptr;
    TcLocate* cLocate = nullptr;
    TcTable* cTable = nullptr;
    TcAlmanac* cAlmanac = nullptr;  // owned as a child window
    TcYear* cYear = nullptr;        // owned as a child window
    TcKoyomiMonth* cKoyomiMonth = nullptr;  // owned as a child window
    TcHelp help;
    int helpAvailable = 0;  // 1 when help could be prepared at creation
    bool settingsGivenUp = false;  // the user chose to end without the settings
    bool settingsUnread = false;   // the settings file was there but could not be read
};
