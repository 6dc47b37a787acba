// Timing of the windows, with the limits they must keep (make bench): the
// month table filled in at most 2 ms (median of 300), the help window opened
// and raised again in at most 200 ms each (median of 7), the site dialog
// filled from 10 MB of line feeds in at most 1 s (median of 3), the day graph
// computed and painted in at most 10 ms (median of 50, a new date each time)
// and the year of daylight in at most 100 ms (median of 7, a new year each
// time), both painted at twice the size. Runs on the offscreen platform;
// exits with 1 when a limit is missed.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "app/mainState.h"
#include "engine/prcCalc.h"
#include "sites/frmLoc.h"
#include "table/frmTable.h"
#include "app/helpViewer.h"
#include "ui/msgBox.h"
#include "graph/graphPainter.h"

namespace {

double medianMs(int runs, const std::function<void()>& before, const std::function<void()>& act)
{
    std::vector<qint64> ns;
    for (int i = 0; i < runs; ++i) {
        before();
        QElapsedTimer t;
        t.start();
        act();
        ns.push_back(t.nsecsElapsed());
    }
    std::sort(ns.begin(), ns.end());
    return ns[ns.size() / 2] / 1e6;
}

bool report(const char* what, double ms, double limitMs)
{
    const bool ok = ms <= limitMs;
    std::printf("%-40s median %8.3f ms  (limit %g ms)%s\n", what, ms, limitMs, ok ? "" : "  EXCEEDED");
    return ok;
}

}  // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Message boxes are recorded, not shown: a modal box would wait for a
    // click that never comes (the 10 MB site file is refused with one).
    ui::setMessageHook([](const ui::MsgRecord&) {});
    bool ok = true;

    TcMainState state;
    putDefaultSite(state);
    state.dispYear = 2000;
    state.dispMonth = 1;
    state.dispDay = 1;
    TcCalc calc(state);
    TcTable table(state, calc, nullptr);
    table.show();
    ok &= report("month table filled (31 days)", medianMs(300, [] {}, [&] { table.funcShow(); }), 2.0);

    QTemporaryDir work;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(work.path());
    QFile::copy(QStringLiteral(LUNVELDE_SOURCE_DIR "/help/lunvelde.chm"), QStringLiteral("lunvelde.chm"));
    std::unique_ptr<TcHelp> help;
    // From the request until the file is read and its page is set.
    const auto showHelp = [&] {
        help->show();
        while (help->loading())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    };
    ok &= report("help window opened", medianMs(7, [&] { help = std::make_unique<TcHelp>(); help->funcCreate(); },
                                                showHelp),
                 200.0);
    ok &= report("open help window raised again", medianMs(7, [&] {
        auto* browser = help->window()->findChild<QTextBrowser*>(QStringLiteral("helpBrowser"));
        browser->setSource(QUrl(QStringLiteral("chm:/figures.html")));
    }, showHelp), 200.0);
    help.reset();

    {
        QFile sites(QStringLiteral("obspoint.txt"));
        sites.open(QIODevice::WriteOnly);
        sites.write(QByteArray(10 << 20, '\n'));
    }
    TcLocate locate(state, nullptr);
    ok &= report("site dialog filled (10 MB of line feeds)", medianMs(3, [] {}, [&] { locate.funcShow(); }), 1000.0);
    QDir::setCurrent(previous);

    const almanac::Site tokyo {35.68, 139.77, 9, 0};
    int n = 0;
    QImage image(QSize(int(graph::dayGraphWidth), int(graph::dayGraphHeight)) * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    ok &= report("day graph computed and painted", medianMs(50, [] {}, [&] {
        ++n;
        const almanac::Day day = almanac::computeDay(tokyo, 1901 + n % 199, 1 + n % 12, 15);
        const graph::DayGraph g = graph::dayGraph(
            tokyo, day, graph::dayPlotArea(graph::dayGraphWidth, graph::dayGraphHeight));
        image.fill(Qt::white);
        QPainter p(&image);
        graph::paintDayGraph(p, g);
    }), 10.0);
    QImage yearImage(QSize(780, 330) * 2, QImage::Format_ARGB32_Premultiplied);
    yearImage.setDevicePixelRatio(2);
    for (graph::YearView view : {graph::YearView::durations, graph::YearView::clock})
        ok &= report(view == graph::YearView::clock ? "year graph (clock times) computed and painted"
                                                    : "year graph (hours) computed and painted",
                     medianMs(7, [] {}, [&] {
            ++n;
            const std::vector<graph::YearDay> days = graph::yearDays(tokyo, 1901 + n % 199);
            const graph::YearGraph g = graph::yearGraph(days, view, graph::yearPlotArea(780, 330), 100);
            yearImage.fill(Qt::white);
            QPainter p(&yearImage);
            graph::paintYearGraph(p, g);
        }), 100.0);
    return ok ? 0 : 1;
}
