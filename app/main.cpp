// Program entry: creates the six long-lived objects in their order and runs
// the event loop until the main window closes. Exit code 0; 1 when no
// display can be reached (said in one line before the toolkit starts), when
// the start fails (one line on stderr, and a message box) or when an event
// handler throws (app/guardedApp.h: a message, then the program ends without
// storing the settings). The start-up measurement (app/startupProbe.h) is
// armed before the first window exists. --help and --version print and exit
// without a display.
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>

#include "platform/displayCheck.h"
#include "platform/regularFile.h"
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

constexpr const char* kUsage =
    "Usage: lunvelde [--help | --version]\n"
    "Shows the sun and moon rise and set times, the moon age and phase for a date\n"
    "and a site (obspoint.txt in the working folder). Without options it opens\n"
    "its window; see lunvelde(1).\n";

// --help and --version answer on standard output instead of the window
// starting; true when one of them was given.
bool answeredOption(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return true;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("lunvelde %s\n", LUNVELDE_VERSION);
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char* argv[])
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    // A file size limit makes a write fail (the settings then say they
    // could not be stored) instead of ending the program.
    fileio::failWritesPastSizeLimit();

    if (answeredOption(argc, argv))
        return 0;
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
        cReg.addAction(cMain.mnuHelp);
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
