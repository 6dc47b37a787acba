// The almanac details window: opened from the menu, showing the engine's
// figures for the displayed date and following the main window's day steps.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <QLayout>
#include <QPushButton>
#include <cmath>

#include "almanac/frmAlmanac.h"
#include "app/frmMain.h"
#include "app/today.h"
#include "graph/frmYear.h"
#include "graph/graphPainter.h"
#include "graph/graphWidgets.h"
#include "koyomi/koyomiText.h"
#include "support.h"

class TestAlmanac : public QObject {
    Q_OBJECT

private slots:
    void opensFromTheMenuAndFollowsTheDaySteps()
    {
        support::TestFolders folders;
        support::MessageRecorder recorder;
        support::startTestDay();
        folders.writeWorkFile(QStringLiteral("obspoint.txt"),
                              QByteArray("Sapporo         ") + "  43.06, 141.35,  9.00, 0000, 0,\r\n");
        TcMainState state;
        TcCalc calc(state);
        TcMain main(state, calc);
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QVERIFY(!main.almanacWindow());

        main.mnuAlmanac->trigger();
        TcAlmanac* w = main.almanacWindow();
        QVERIFY(w && w->isVisible());
        main.mnuAlmanac->trigger();  // one window only
        QCOMPARE(main.findChildren<TcAlmanac*>().size(), 1);

        const auto cell = [w](const char* name) { return w->findChild<QLabel*>(QLatin1String(name))->text(); };
        const auto minutes = [](const QString& hm) { return hm.left(2).toInt() * 60 + hm.mid(3, 2).toInt(); };
        // PyEphem 4.1.4 (pressure 0, sun's upper limb at -35'08", topocentric
        // moon transit), clock minutes; age from its previous new moon.
        const struct {
            int day;
            double sunRise, moonTransit;
            const char* age;
        } expected[] = {
            {12, 4 * 60 + 14 + 37.846 / 60, 19 * 60 + 12 + 22.906 / 60, "7.95"},
            {13, 4 * 60 + 13 + 30.825 / 60, 20 * 60 + 0 + 30.054 / 60, "8.95"},
        };
        for (const auto& e : expected) {
            QVERIFY(cell("lblDate").contains(QStringLiteral("%1日").arg(e.day)));
            // rounded to the minute: within half a minute and the engine's 2 s
            QVERIFY(std::fabs(minutes(cell("event0_1")) - e.sunRise) <= 0.5 + 2.0 / 60);
            QVERIFY(std::fabs(minutes(cell("event4_1")) - e.moonTransit) <= 0.5 + 2.0 / 60);
            QCOMPARE(cell("event6_1"), QString::fromLatin1(e.age));
            // The main window's own figure stands beside it.
            QVERIFY(main.lblSun->text().contains(cell("event0_3")));
            // The picture under the figures marks the same times.
            const almanac::Day d = almanac::computeDay(almanacSite(state), 2000, 5, e.day);
            std::vector<std::string> marks;
            for (const graph::Mark& m : w->dayGraph->geometry().marks)
                marks.push_back(m.label.text);
            QVERIFY(!marks.empty());
            QCOMPARE(marks.front(), clockHM(d.sunRise.hours));
            QVERIFY(w->moonView->geometry().caption.text.find(clockHM(d.moonTransit.hours)) != std::string::npos);
            // The calendar block shows the day's lines.
            const std::vector<std::string> lines = koyomi::koyomiLines(2000, 5, e.day);
            QCOMPARE(cell("koyomi0"), QString::fromStdString(lines[0]));
            QCOMPARE(cell("koyomi3"), QString::fromStdString(lines[3]));
            main.mnuNext->trigger();
        }

        // The year of daylight follows the displayed date too.
        main.mnuYear->trigger();
        TcYear* year = main.yearWindow();
        QVERIFY(year && year->isVisible());
        const double may14 = year->yearGraph->geometry().shownX;
        main.mnuNext->trigger();
        QCOMPARE(year->yearGraph->geometry().shownX - may14,
                 graph::yearPlotArea(year->yearGraph->width(), year->yearGraph->height()).width / 366);

        // Saved pictures: an SVG with the curves as paths, a PNG at twice the size.
        QTemporaryDir dir;
        const graph::DayGraph g = w->dayGraph->geometry();
        const auto paint = [&g](QPainter& p) { graph::paintDayGraph(p, g); };
        QVERIFY(graph::savePicture(dir.filePath(QStringLiteral("d.svg")), w->dayGraph->size(), 1, "d", paint));
        QVERIFY(graph::savePicture(dir.filePath(QStringLiteral("d.png")), w->dayGraph->size(), 2, "d", paint));
        QFile svg(dir.filePath(QStringLiteral("d.svg")));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        QVERIFY(svg.readAll().contains("<polyline"));
        QCOMPARE(QImage(dir.filePath(QStringLiteral("d.png"))).size(), w->dayGraph->size() * 2);
        QVERIFY(!graph::savePicture(dir.filePath(QStringLiteral("no/such/d.png")), w->dayGraph->size(), 1, "d", paint));
        support::endTestDay();
    }

    // The now line follows the clock each minute while the date is today,
    // and leaves at the date's end; another date never gets one.
    void theNowLineFollowsTheClock()
    {
        int minute = 3 * 60;  // UTC minutes of 2026-06-21; Tokyo is 9 hours ahead
        setTodaySource({[&minute] { return UtcClock {2026, 6, 21, minute / 60 % 24, minute % 60}; },
                        [] { return -32400L; }});
        const almanac::Site tokyo {35.68, 139.77, 9, 0};
        TcDayGraph today(nullptr), other(nullptr);
        today.setDay(tokyo, almanac::computeDay(tokyo, 2026, 6, 21));
        other.setDay(tokyo, almanac::computeDay(tokyo, 2026, 6, 22));
        const graph::Rect r = today.geometry().plot;
        // The line at the clock's minute, within a thousandth of a pixel.
        const auto at = [&r](const TcDayGraph& g, double hours) {
            return g.geometry().hasNow && std::fabs(g.geometry().nowX - (r.left + hours / 24 * r.width)) < 1e-3;
        };
        QVERIFY(at(today, 12));
        QVERIFY(!other.geometry().hasNow);

        // The minute's timer, run faster here.
        for (TcDayGraph* g : {&today, &other}) {
            QTimer* t = g->findChild<QTimer*>(QStringLiteral("nowClock"));
            QVERIFY(t && t->isActive());
            QCOMPARE(t->interval(), 60 * 1000);
            t->setInterval(5);
        }
        minute = 6 * 60 + 30;
        QTRY_VERIFY(at(today, 15.5));
        QVERIFY(!other.geometry().hasNow);
        minute = 15 * 60;  // midnight in Tokyo: the 22nd is today
        QTRY_VERIFY(!today.geometry().hasNow);
        QTRY_VERIFY(at(other, 0));
        support::endTestDay();
    }

    // With the focus in the details window, the day keys, Alt+D N/B,
    // Ctrl+T and F1 act as in the main window.
    void theMainWindowsKeysWorkInIt()
    {
        support::TestFolders folders;
        support::MessageRecorder recorder;
        support::startTestDay();
        TcMainState state;
        TcCalc calc(state);
        TcMain main(state, calc);
        main.mnuAlmanac->trigger();
        TcAlmanac* w = main.almanacWindow();
        QVERIFY(support::activate(w));
        const auto day = [&] { return QString::asprintf("%d/%d", state.dispMonth, state.dispDay); };
        QTest::keyClick(w->cmdClose, Qt::Key_Right);
        QCOMPARE(day(), QStringLiteral("5/13"));
        QTest::keyClick(w->cmdClose, Qt::Key_PageDown);
        QCOMPARE(day(), QStringLiteral("5/14"));
        QTest::keyClick(w->cmdClose, Qt::Key_D, Qt::AltModifier);
        QTest::keyClick(w->cmdClose, Qt::Key_B);
        QCOMPARE(day(), QStringLiteral("5/13"));
        QVERIFY(w->lblDate->text().contains(QStringLiteral("13日")));
        QTest::keyClick(w->cmdClose, Qt::Key_D, Qt::AltModifier);
        QTest::keyClick(w->cmdClose, Qt::Key_N);
        QCOMPARE(day(), QStringLiteral("5/14"));
        QTest::keyClick(w->cmdClose, Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(day(), QStringLiteral("5/12"));
        // A polar site's long texts widen the window; it keeps that width.
        state.siteLatitude = 78.22;
        state.dispMonth = 6;
        main.mnuNext->trigger();
        w->layout()->activate();
        const int wide = w->width();
        state.siteLatitude = 35.67;
        main.mnuNext->trigger();
        w->layout()->activate();
        QCOMPARE(w->width(), wide);
        const int notices = recorder.messages.size();
        QTest::keyClick(w->cmdClose, Qt::Key_F1);
        QCOMPARE(recorder.messages.size(), notices + 1);
        support::endTestDay();
    }
};

LUNVELDE_GUI_TEST_MAIN(TestAlmanac)
#include "tst_almanac.moc"
