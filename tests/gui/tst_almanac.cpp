// The almanac details window: opened from the menu, showing the engine's
// figures for the displayed date and following the main window's day steps.
#include <QAction>
#include <QApplication>
#include <QLabel>

#include "almanac/almanac.h"
#include "almanac/almanacLines.h"
#include "almanac/frmAlmanac.h"
#include "app/frmMain.h"
#include "app/today.h"
#include "koyomi/koyomiText.h"
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
        const almanac::Site site {43.06, 141.35, 9, 0};
        for (int day : {12, 13}) {
            const almanac::Day d = almanac::computeDay(site, 2000, 5, day);
            QVERIFY(cell("lblDate").contains(QStringLiteral("%1日").arg(day)));
            QCOMPARE(cell("event0_1"), QString::fromStdString(clockHM(d.sunRise.hours)));
            QCOMPARE(cell("event4_1"), QString::fromStdString(clockHM(d.moonTransit.hours)));
            QCOMPARE(cell("event6_1"), QString::number(d.moonAge, 'f', 2));
            // The main window's own figure stands beside it.
            QVERIFY(main.lblSun->text().contains(cell("event0_3")));
            // The calendar block shows the day's lines.
            const std::vector<std::string> lines = koyomi::koyomiLines(2000, 5, day);
            QCOMPARE(cell("koyomi0"), QString::fromStdString(lines[0]));
            QCOMPARE(cell("koyomi3"), QString::fromStdString(lines[3]));
            main.mnuNext->trigger();
        }
        setTodaySource({});
    }
};

LUNVELDE_GUI_TEST_MAIN(TestAlmanac)
#include "tst_almanac.moc"
