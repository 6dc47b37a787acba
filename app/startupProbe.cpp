#include "app/startupProbe.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/startupFigures.h"
#include "ui/msgBox.h"

namespace ui {

namespace {

// Watches for the first paint of the main window, then reports and quits.
class StartupProbe : public QObject {
public:
    StartupProbe(QObject* parent, const QElapsedTimer& sinceMain) : QObject(parent), sinceMain(sinceMain) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!done && event->type() == QEvent::Paint && watched->inherits("TcMain")) {
            done = true;
            // Report once the paint has been carried out and flushed.
            QTimer::singleShot(0, this, [this] {
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
    const QElapsedTimer sinceMain;  // a copy: the clock it started keeps running
    bool done = false;
};

}  // namespace

void armStartupProbe(QApplication& app, const QElapsedTimer& sinceMain)
{
    const char* measure = std::getenv("LUNVELDE_QUIT_AFTER_FIRST_PAINT");
    if (!measure || std::strcmp(measure, "1") != 0)
        return;
    app.installEventFilter(new StartupProbe(&app, sinceMain));
    setMessageHook([](const MsgRecord& m) {
        std::fprintf(stderr, "message: %s: %s\n", qPrintable(m.caption), qPrintable(m.text));
    });
}

}  // namespace ui
