// The almanac details window: opened from the menu, showing the engine's
// figures for the displayed date and following the main window's day steps.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <cmath>

#include "almanac/frmAlmanac.h"
#include "app/frmMain.h"
#include "app/today.h"
#include "support.h"

class TestAlmanac : public QObject {
    Q_OBJECT

private slots:
    void opensFromTheMenuAndFollowsTheDaySteps()
    {
        support::TestFolders folders;
        support::MessageRecorder recorder;
        TcHelp::setLibraryName(QStringLiteral("liblunvelde-no-such-library.so.0"));
        setTodaySource({[] { return UtcClock {2000, 5, 12, 3, 0}; }, [] { return -32400L; }});
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
            main.mnuNext->trigger();
        }
        setTodaySource({});
    }
};

LUNVELDE_GUI_TEST_MAIN(TestAlmanac)
#include "tst_almanac.moc"
