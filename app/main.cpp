// Program entry: creates the six long-lived objects in their order and runs
// the event loop until the main window closes. Exit code 0; 1 when no
// display can be reached (said in one line before the toolkit starts), when
// the start fails (one line on stderr, and a message box) or when an event
// handler throws (app/guardedApp.h: a message, then the program ends without
// storing the settings). The start-up measurement (app/startupProbe.h) is
// armed before the first window exists.
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <exception>

#include "platform/displayCheck.h"
#include "app/frmMain.h"
#include "app/guardedApp.h"
#include "date/frmDate.h"
#include "engine/prcCalc.h"
#include "sites/frmLoc.h"
#include "sites/frmReg.h"
#include "table/frmTable.h"
#include "ui/fonts.h"
#include "ui/msgBox.h"
#include "app/startupProbe.h"

namespace {

// The application-wide help file path, set on the application object at
// start. Nothing opens it: help is the HTML help file shown by TcHelp.
constexpr const char* kApplicationHelpFile = "/usr/share/lunvelde/Lunvelde95.hlp";

}  // namespace

int main(int argc, char* argv[])
{
    QElapsedTimer sinceMain;
    sinceMain.start();

    if (!display::usable()) {
        std::fprintf(stderr, "%s\n", display::noDisplayLine());
        return 1;
    }
    GuardedApplication app(argc, argv);
    display::release();  // the toolkit is connected now
    try {
        QApplication::setApplicationName(QStringLiteral("Lunvelde"));
        QGuiApplication::setDesktopFileName(QStringLiteral(LUNVELDE_APP_ID));
        app.setProperty("helpFile", QString::fromLatin1(kApplicationHelpFile));
        ui::installFontSubstitutes();
        QApplication::setFont(ui::dialogFont());

        ui::armStartupProbe(app, sinceMain);

        TcMainState state;
        TcCalc cCalc(state);
        TcMain cMain(state, cCalc);
        TcDate cDate(state, &cMain);
        TcLocate cLocate(state, &cMain);
        TcTable cTable(state, cCalc, &cMain);
        TcReg cReg(&cLocate);
        cMain.setDialogs(&cDate, &cLocate, &cTable);
        cLocate.setReg(&cReg);
        app.loopRunning = true;
        return app.exec();
    } catch (...) {
        app.loopRunning = false;
        const QString text = describeError(std::current_exception());
        std::fprintf(stderr, "lunvelde: cannot start: %s\n", text.toLocal8Bit().constData());
        ui::showMessage(nullptr, text);
        return 1;
    }
}
