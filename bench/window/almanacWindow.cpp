// Timing of the almanac details window: how long the menu item takes to
// open it (construction, the day's figures, the first paint) and how long a
// day step of the main window takes while it is open, against the same step
// with the window closed. Prints milliseconds; asserts nothing.
//
//   almanac_window_timing [steps]     (make bench-window)
//
// Runs in a throw-away working and settings folder. On the offscreen
// platform unless QT_QPA_PLATFORM or DISPLAY says otherwise.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "almanac/almanac.h"
#include "almanac/almanacLines.h"
#include "almanac/frmAlmanac.h"
#include "app/frmMain.h"
#include "ui/fonts.h"
#include "ui/msgBox.h"

namespace {

double ms(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e6;
}

// Runs act, then lets the toolkit carry out the paints it asked for.
double timed(const std::function<void()>& act)
{
    QElapsedTimer t;
    t.start();
    act();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    return ms(t);
}

// Lets the main window be mapped and painted before anything is timed.
void settle()
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 150)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

void report(const char* what, std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    std::printf("%-34s median %6.2f ms  95%% %6.2f ms  max %6.2f ms  (%zu runs)\n", what, v[v.size() / 2],
                v[v.size() * 95 / 100], v.back(), v.size());
}

}  // namespace

int main(int argc, char* argv[])
{
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir scratch;
    qputenv("HOME", scratch.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (scratch.path() + "/config").toLocal8Bit());
    QApplication app(argc, argv);
    ui::installFontSubstitutes();
    QApplication::setFont(ui::dialogFont());
    ui::setMessageHook([](const ui::MsgRecord&) {});
    QDir::setCurrent(scratch.path());
    QFile::copy(QStringLiteral(LUNVELDE_SOURCE_DIR "/resources/obspoint.txt"), QStringLiteral("obspoint.txt"));
    const int steps = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;

    // Where the opening time goes (the first run is the first opening in
    // the process): the engine's figures, building the window, filling and
    // painting it.
    std::vector<double> engine, build, show;
    for (int run = 0; run < 5; ++run) {
        TcMainState state;
        TcCalc calc(state);
        TcMain main(state, calc);
        settle();
        const almanac::Site site = almanacSite(state);
        QElapsedTimer t;  // no event processing: only the engine
        t.start();
        almanac::computeDay(site, state.dispYear, state.dispMonth, state.dispDay);
        almanac::monthPhases(site, state.dispYear, state.dispMonth);
        engine.push_back(ms(t));
        TcAlmanac* w = nullptr;
        build.push_back(timed([&] { w = new TcAlmanac(state, calc, &main); }));
        show.push_back(timed([&] {
            w->funcShow();
            w->repaint();
        }));
    }
    std::vector<double> open, reopen, stepOpen, stepClosed;
    for (int run = 0; run < 5; ++run) {
        TcMainState state;
        TcCalc calc(state);
        TcMain main(state, calc);
        settle();
        open.push_back(timed([&] {
            main.mnuAlmanac->trigger();
            main.almanacWindow()->repaint();
        }));
        main.almanacWindow()->close();
        reopen.push_back(timed([&] {
            main.mnuAlmanac->trigger();
            main.almanacWindow()->repaint();
        }));
        // Day steps cross month ends, where the month's phases are found anew.
        for (int i = 0; i < steps; ++i)
            stepOpen.push_back(timed([&] { main.mnuNext->trigger(); }));
        main.almanacWindow()->close();
        for (int i = 0; i < steps; ++i)
            stepClosed.push_back(timed([&] { main.mnuNext->trigger(); }));
    }
    std::printf("first opening in the process: %.2f ms (building %.2f, filling and painting %.2f, of which the "
                "engine's figures about %.2f)\n",
                build[0] + show[0], build[0], show[0], engine[0]);
    report("  engine: day and month's phases", engine);
    report("  building the window", build);
    report("  filling, showing, painting", show);
    report("open (new window)", open);
    report("open again", reopen);
    report("day step, details window open", stepOpen);
    report("day step, details window closed", stepClosed);
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    return 0;
}
