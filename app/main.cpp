// Program entry: creates the six long-lived objects in their order and runs
// the event loop until the main window closes. An exception during start-up
// is shown and ends the program; one thrown by a handler while the loop runs
// is shown and the loop goes on. The exit code is always 0.
//
// With LUNVELDE_QUIT_AFTER_FIRST_PAINT=1 in the environment the program
// measures its own start: after the main window's first paint it prints the
// time since the process started and its resident memory, then quits. Message
// boxes are then written to standard error instead of being shown, so the
// measurement never waits for a user.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <time.h>
#include <unistd.h>

#include "app/frmMain.h"
#include "date/frmDate.h"
#include "engine/prcCalc.h"
#include "sites/frmLoc.h"
#include "sites/frmReg.h"
#include "table/frmTable.h"
#include "ui/fonts.h"
#include "ui/msgBox.h"

namespace {

// The application-wide help file path, set on the application object at
// start. Nothing opens it: help is the HTML help file shown by TcHelp.
constexpr const char* kApplicationHelpFile = "/usr/share/lunvelde/Lunvelde95.hlp";

// Milliseconds since this process was started by the kernel: the start time
// in /proc/self/stat (clock ticks since boot) against CLOCK_BOOTTIME. The
// resolution is one clock tick (10 ms at the usual 100 ticks a second).
double msSinceProcessStart()
{
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // The command name in parentheses may hold blanks: count fields after it.
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    // Field 3 (state) is the first after the name; start time is field 22.
    for (int i = 3; i < 22 && (fields >> field); ++i) {
    }
    unsigned long long startTicks = 0;
    if (!(fields >> startTicks))
        return -1;
    timespec now {};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
    return nowMs - startTicks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// "VmRSS:" of /proc/self/status, in kilobytes.
long residentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

// Watches for the first paint of the main window, then reports and quits.
class StartupProbe : public QObject {
public:
    explicit StartupProbe(const QElapsedTimer& sinceMain) : sinceMain(sinceMain) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!done && event->type() == QEvent::Paint && watched->inherits("TcMain")) {
            done = true;
            // Report once the paint has been carried out and flushed.
            QTimer::singleShot(0, qApp, [this] {
                std::printf("startup_ms_since_process_start %.1f\n", msSinceProcessStart());
                std::printf("startup_ms_since_main %.1f\n", sinceMain.nsecsElapsed() / 1e6);
                std::printf("rss_kb %ld\n", residentKb());
                std::fflush(stdout);
                QApplication::quit();
            });
        }
        return false;
    }

private:
    const QElapsedTimer& sinceMain;
    bool done = false;
};

QString describe(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("予期しないエラーが発生しました。");
    }
}

// Once the event loop runs, an exception thrown by an event handler is shown
// and the loop goes on; before that (start-up, including the main window's
// first showing) it ends the program through main's handler.
class TcApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool loopRunning = false;

    bool notify(QObject* receiver, QEvent* event) override
    {
        if (!loopRunning)
            return QApplication::notify(receiver, event);
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            ui::showMessage(nullptr, describe(std::current_exception()));
            return false;
        }
    }
};

}  // namespace

int main(int argc, char* argv[])
{
    QElapsedTimer sinceMain;
    sinceMain.start();

    TcApplication app(argc, argv);
    try {
        QApplication::setApplicationName(QStringLiteral("Lunvelde"));
        QGuiApplication::setDesktopFileName(QStringLiteral(LUNVELDE_APP_ID));
        app.setProperty("helpFile", QString::fromLatin1(kApplicationHelpFile));
        ui::installFontSubstitutes();
        QApplication::setFont(ui::dialogFont());

        StartupProbe probe(sinceMain);
        const char* measure = std::getenv("LUNVELDE_QUIT_AFTER_FIRST_PAINT");
        if (measure && std::string(measure) == "1") {
            app.installEventFilter(&probe);
            ui::setMessageHook([](const ui::MsgRecord& m) {
                std::fprintf(stderr, "message: %s: %s\n", qPrintable(m.caption), qPrintable(m.text));
            });
        }

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
        app.exec();
    } catch (...) {
        app.loopRunning = false;
        ui::showMessage(nullptr, describe(std::current_exception()));
    }
    return 0;
}
