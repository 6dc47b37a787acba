// The main window: settings at start and close, the start-up site, today's
// date, the daily lines, stepping, the dialogs and help.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QToolButton>
#include <climits>
#include <cstring>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include "app/dispLines.h"
#include "app/frmMain.h"
#include "app/today.h"
#include "date/frmDate.h"
#include "sites/frmLoc.h"
#include "support.h"
#include "table/frmTable.h"
#include "app/phaseImage.h"
#include "ui/framePos.h"
#include "ui/sjis.h"

namespace {

const QString kNoSiteFile = QStringLiteral("観測地ファイルがありません。");
const QString kRefused = QStringLiteral("観測地を設定できません。");
const QString kNoHelp = QStringLiteral("このコンピュータではHTMLヘルプは動作しません。");
const QString kCannotStore = QStringLiteral("設定を保存できません。");

// One 50-byte record of the site file.
QByteArray record(const QByteArray& name, double lat, double lon)
{
    return name.leftJustified(16, ' ') + QString::asprintf("%7.2f,%7.2f,%6.2f, 0000,%2d,\r\n", lat, lon, 9.0, 0).toLatin1();
}

// Three sites: Tokyo, 三鷹 (Shift-JIS), Sapporo.
const QByteArray kSites = record("Tokyo", 35.69, 139.69) + record("\x8e\x4f\x91\xe9", 35.67, 139.50) +
                          record("Sapporo", 43.06, 141.35);

QByteArray settings(int top, int left, int initData)
{
    return QString::asprintf("[General]\nWindowTop=%d\nWindowLeft=%d\ninitData=%d\n", top, left, initData).toLatin1();
}

// The program's objects, as main() creates them.
struct Program {
    TcMainState state;
    TcCalc calc {state};
    std::unique_ptr<TcMain> main;

    void open()
    {
        main = std::make_unique<TcMain>(state, calc);
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    }
    QString siteName() const { return ui::fromSjis(state.siteNameText).trimmed(); }
    QString date() const { return main->lblDate->text(); }
    QString shown() const { return QString::asprintf("%d/%d/%d", state.dispYear, state.dispMonth, state.dispDay); }
};

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<support::TestFolders> folders;
    std::unique_ptr<support::MessageRecorder> recorder;

private slots:
    void init()
    {
        folders = std::make_unique<support::TestFolders>();
        recorder = std::make_unique<support::MessageRecorder>();
        support::startTestDay();
    }
    void cleanup()
    {
        support::endTestDay();
        recorder.reset();
        folders.reset();
    }

    // The settings found at start (empty: none at all), where the window
    // opens, which site loads, and what the close stores without a change.
    void startUpSettingsAndSite_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<QString>("site");
        QTest::addColumn<QList<int>>("closed");
        const QList<int> defaults {100, 100, 0};
        QTest::newRow("first start") << QByteArray() << QPoint(100, 100) << QStringLiteral("Tokyo") << defaults;
        QTest::newRow("stored") << settings(230, 310, 1) << QPoint(310, 230) << QStringLiteral("三鷹") << QList<int> {230, 310, 1};
        QTest::newRow("site beyond the file") << settings(230, 310, 7) << QPoint(310, 230) << QStringLiteral("Sapporo")
                                              << QList<int> {230, 310, 2};
        // Any value that cannot be read resets all three.
        const QByteArray good = settings(230, 310, 2);
        const auto bad = [&](const char* row, const QByteArray& from, const QByteArray& to) {
            QTest::newRow(row) << QByteArray(good).replace(from, to) << QPoint(100, 100) << QStringLiteral("Tokyo") << defaults;
        };
        bad("left missing", "WindowLeft=310\n", "");
        bad("not a number", "WindowTop=230", "WindowTop=abc");
        bad("fraction", "WindowLeft=310", "WindowLeft=310.5");
        bad("empty", "WindowLeft=310", "WindowLeft=");
        bad("above 32 bits", "initData=2", "initData=2147483648");
        bad("below 32 bits", "WindowTop=230", "WindowTop=-2147483649");
        bad("a list", "WindowLeft=310", "WindowLeft=\"310, 311\"");
    }
    void startUpSettingsAndSite()
    {
        QFETCH(QByteArray, text);
        QFETCH(QPoint, pos);
        QFETCH(QString, site);
        QFETCH(QList<int>, closed);
        folders->writeWorkFile(QStringLiteral("obspoint.txt"), kSites);
        if (!text.isEmpty())
            folders->writeSettingsText(text);
        Program p;
        p.open();
        QCOMPARE(p.main->pos(), pos);
        QCOMPARE(p.siteName(), site);
        QCOMPARE(p.state.defaultSiteIndex, closed[2]);
        QCOMPARE(p.state.siteFileMissing, 0);
        QCOMPARE(recorder->messages.size(), 1);  // the help notice only
        QVERIFY(p.main->close());
        QCOMPARE(support::storedSettings(), closed);
    }

    // A frame goes where it was asked to when it can be seen there, else
    // onto the screen that holds most of it (the nearest), shrunk to fit.
    void framesAreFittedOntoAScreen_data()
    {
        QTest::addColumn<QPoint>("asked");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("fitted");
        const QSize s(400, 250);
        QTest::newRow("fits") << QPoint(310, 230) << s << QRect(QPoint(310, 230), s);
        QTest::newRow("fits at the corner") << QPoint(880, 774) << s << QRect(QPoint(880, 774), s);
        QTest::newRow("monitor unplugged") << QPoint(3300, 1500) << s << QRect(QPoint(2800, 830), s);
        QTest::newRow("end of the int range") << QPoint(INT_MAX, INT_MAX) << s << QRect(QPoint(2800, 830), s);
        QTest::newRow("start of the int range") << QPoint(INT_MIN, INT_MIN) << s << QRect(QPoint(0, 0), s);
        QTest::newRow("mostly on the second") << QPoint(1200, 100) << s << QRect(QPoint(1280, 100), s);
        QTest::newRow("mostly on the first") << QPoint(1000, 100) << s << QRect(QPoint(880, 100), s);
        QTest::newRow("below the first") << QPoint(100, 1500) << s << QRect(QPoint(100, 774), s);
        QTest::newRow("larger than the screen") << QPoint(-50, -50) << QSize(1640, 1160) << QRect(0, 0, 1280, 1024);
    }
    void framesAreFittedOntoAScreen()
    {
        QFETCH(QPoint, asked);
        QFETCH(QSize, size);
        QFETCH(QRect, fitted);
        QCOMPARE(ui::fitFrame(asked, size, {QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1080)}), fitted);
    }

    // A second window stands beside the first, and where the screen is too
    // small for that, hides the least of it.
    void aSecondWindowStandsBesideTheFirst()
    {
        const QRect owner(100, 100, 380, 220);
        const QSize size(400, 450);
        QCOMPARE(ui::besideFrame(owner, size, {QRect(0, 0, 1280, 1024)}), QRect(QPoint(488, 100), size));
        QCOMPARE(ui::besideFrame(owner.translated(800, 0), size, {QRect(0, 0, 1280, 1024)}),
                 QRect(QPoint(491, 100), size));
        QCOMPARE(ui::besideFrame(owner, QSize(400, 200), {QRect(0, 0, 640, 1024)}), QRect(100, 328, 400, 200));
        QCOMPARE(ui::besideFrame(owner, size, {QRect(0, 0, 640, 512)}), QRect(QPoint(240, 62), size));
    }

    void withoutASiteFileTheBuiltInSiteIsUsedAndTheSiteDialogRefused()
    {
        folders->writeSettingsText(settings(230, 310, 2));
        Program p;
        p.open();
        QCOMPARE(recorder->count(kNoSiteFile), 1);
        QCOMPARE(p.state.siteFileMissing, 1);
        QCOMPARE(p.main->windowTitle(), QStringLiteral("Lunvelde  三鷹"));

        // Even with a site dialog at hand, both routes only show the refusal.
        TcLocate locate(p.state, p.main.get());
        p.main->setDialogs(nullptr, &locate, nullptr);
        for (auto route : {std::function<void()>([&] { QTest::mouseClick(p.main->cmdLocate, Qt::LeftButton); }),
                           std::function<void()>([&] { p.main->mnuLoc->trigger(); })}) {
            support::whileModal(&locate, [&locate] { locate.reject(); });  // a wrongly opened dialog ends
            route();
        }
        QCOMPARE(recorder->count(kRefused), 2);
        QVERIFY(!locate.isVisible());

        // The date can still be stepped.
        QTest::mouseClick(p.main->cmdNext, Qt::LeftButton);
        QCOMPARE(p.state.dispDay, 13);

        QVERIFY(p.main->close());
        QCOMPARE(support::storedSettings(), (QList<int> {230, 310, 0}));
        QCOMPARE(recorder->count(kNoSiteFile), 1);
    }

    void everyCloseRouteStoresTheSameSettings()
    {
        folders->writeWorkFile(QStringLiteral("obspoint.txt"), kSites);
        QList<QByteArray> results;
        for (int route = 0; route < 3; ++route) {
            folders->writeSettingsText(settings(230, 310, 1));
            Program p;
            p.open();
            p.main->move(140, 160);
            p.state.defaultSiteIndex = 2;
            if (route == 0)
                QTest::mouseClick(p.main->cmdExit, Qt::LeftButton);
            else if (route == 1)
                p.main->close();
            else
                p.main->mnuExit->trigger();
            QVERIFY(!p.main->isVisible());
            QCOMPARE(support::storedSettings(), (QList<int> {160, 140, 2}));
            results << folders->settingsText();
        }
        QCOMPARE(results[1], results[0]);
        QCOMPARE(results[2], results[0]);
    }

    void aCloseThatCannotStoreTheSettingsDoesNotTakePlace()
    {
        Program p;
        p.open();
        // A plain file where the settings folder should be.
        QFile blocker(folders->configDir() + QStringLiteral("/Qorvex"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        QVERIFY(!p.main->close());
        QVERIFY(p.main->isVisible());
        QTest::mouseClick(p.main->cmdExit, Qt::LeftButton);
        QVERIFY(p.main->isVisible());
        QCOMPARE(recorder->texts().filter(kCannotStore).size(), 2);

        QVERIFY(blocker.remove());
        QVERIFY(p.main->close());
        QCOMPARE(support::storedSettings(), (QList<int> {100, 100, 0}));
    }

    // A pipe for a settings file neither blocks the start nor is taken for
    // settings; a format error met while reading is no failure to store; a
    // close that cannot store asks and may end without them; without any
    // settings location the close says so once and creates nothing.
    void settingsNeverTrapTheProgram()
    {
        const QString file = folders->configDir() + QStringLiteral("/Qorvex/lunvelde.conf");
        folders->writeSettingsText(settings(230, 310, 0));
        QFile::remove(file);
        QVERIFY(::mkfifo(QFile::encodeName(file).constData(), 0600) == 0);
        ::alarm(60);  // a hang ends the test as a failure
        {
            Program p;
            p.open();
            QCOMPARE(p.main->pos(), QPoint(100, 100));
            QVERIFY(!p.main->close());  // asked; the hooked answer is No
            ui::setHookedAnswer(true);
            QVERIFY(p.main->close());
            ui::setHookedAnswer(false);
        }
        ::alarm(0);
        const auto stores = [this] {
            QList<ui::MsgRecord> found;
            for (const ui::MsgRecord& m : recorder->messages)
                if (m.text.startsWith(kCannotStore))
                    found << m;
            return found;
        };
        QCOMPARE(stores().size(), 2);
        QCOMPARE(stores()[1].kind, ui::MsgKind::Question);
        QVERIFY(stores()[1].text.contains(file));

        QFile::remove(file);
        {
            Program p;
            p.open();
            folders->writeSettingsText("[General\nWindowTop=230\n");  // edited meanwhile
            QVERIFY(p.main->close());
        }
        QCOMPARE(stores().size(), 2);
        QCOMPARE(support::storedSettings(), (QList<int> {100, 100, 0}));

        const QByteArray home = qgetenv("HOME");
        const QByteArray config = qgetenv("XDG_CONFIG_HOME");
        qunsetenv("HOME");
        qunsetenv("XDG_CONFIG_HOME");
        const bool rootConfigBefore = QFileInfo::exists(QStringLiteral("/.config/Qorvex"));
        {
            Program p;
            p.open();
            p.main->move(140, 160);
            QVERIFY(p.main->close());
            QVERIFY(p.main->close());
        }
        qputenv("HOME", home);
        qputenv("XDG_CONFIG_HOME", config);
        QCOMPARE(stores().size(), 3);
        QCOMPARE(stores()[2].kind, ui::MsgKind::Plain);
        QCOMPARE(QFileInfo::exists(QStringLiteral("/.config/Qorvex")), rootConfigBefore);
    }

    // Not resizable; the step buttons are the only stops of the keyboard
    // order, and the next-day button has the focus at start.
    void theWindowHasAFixedSizeAndTwoKeyboardStops()
    {
        Program p;
        p.open();
        TcMain& w = *p.main;
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(support::activate(&w));
        QCOMPARE(QApplication::focusWidget(), w.cmdNext);
        QCOMPARE(support::tabChain(w.cmdNext, 2), QStringList({"cmdNext", "cmdBefore", "cmdNext"}));
    }

    void theDisplayShowsTodayAndEveryStepRoute()
    {
        // 23:30 UTC on 31 December at UT+9 is 1 January of the next year.
        setTodaySource({[] { return UtcClock {2023, 12, 31, 23, 30}; }, [] { return -32400L; }});
        folders->writeWorkFile(QStringLiteral("obspoint.txt"), kSites);
        Program p;
        p.open();
        TcMain& w = *p.main;
        QCOMPARE(p.shown(), QStringLiteral("2024/1/1"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Lunvelde  Tokyo"));  // without the field's padding
        // The four lines and the picture are those of the displayed day.
        TcDayResult r {};
        p.calc.mooncalc(2024, 1, 1, r);
        const DispLines lines = dispLines(2024, 1, 1, r, p.state.twoPi);
        QCOMPARE(w.lblDate->text() + w.lblSun->text() + w.lblMoon->text() + w.lblAge->text(),
                 QString::fromStdString(lines.date + lines.sun + lines.moon + lines.age));
        const QImage shown = w.imgDisp->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown, ui::phaseImage(r.moonAge, p.state.pi, p.state.twoPi).convertToFormat(QImage::Format_RGB32));

        QVERIFY(support::activate(&w));
        QTest::mouseClick(w.cmdBefore, Qt::LeftButton);
        QCOMPARE(p.shown(), QStringLiteral("2023/12/31"));
        QTest::mouseClick(w.cmdNext, Qt::LeftButton);
        w.mnuNext->trigger();
        QCOMPARE(p.shown(), QStringLiteral("2024/1/2"));
        w.mnuBefore->trigger();
        QCOMPARE(p.shown(), QStringLiteral("2024/1/1"));
        QTest::mouseClick(w.imgDisp, Qt::LeftButton, {}, QPoint(60, 60));
        QCOMPARE(p.shown(), QStringLiteral("2024/1/2"));
        QTest::keyClick(w.cmdNext, Qt::Key_Return);  // Enter on the focused next-day button
        QCOMPARE(p.shown(), QStringLiteral("2024/1/3"));
        QTest::keyClick(&w, Qt::Key_Tab);
        QTest::keyClick(w.cmdBefore, Qt::Key_Return);
        QCOMPARE(p.shown(), QStringLiteral("2024/1/2"));

        // A change made elsewhere shows when the window becomes active again.
        p.state.dispDay = 20;
        QWidget other;
        other.show();
        QVERIFY(support::activate(&other));
        QVERIFY(p.date().startsWith(QStringLiteral(" 2024年  1月  2日")));
        QVERIFY(support::activate(&w));
        QVERIFY(p.date().startsWith(QStringLiteral(" 2024年  1月 20日")));
    }

    void theDialogsOpenBelowTheWindowAndTheDisplayFollows()
    {
        folders->writeWorkFile(QStringLiteral("obspoint.txt"), kSites);
        Program p;
        p.open();
        TcDate date(p.state, p.main.get());
        TcLocate locate(p.state, p.main.get());
        TcTable table(p.state, p.calc, p.main.get());
        p.main->setDialogs(&date, &locate, &table);
        const QPoint below = p.main->pos() + QPoint(30, 50);

        // Each dialog: where it opened, then a change made while it was open.
        const auto run = [](QDialog& dialog, auto open, auto whileOpen) {
            QPoint at(-1, -1);
            support::whileModal(&dialog, [&] {
                at = dialog.pos();
                whileOpen();
                dialog.reject();
            });
            open();
            return at;
        };
        QCOMPARE(run(date, [&] { p.main->mnuDate->trigger(); }, [&] { p.state.dispDay = 20; }), below);
        QVERIFY(p.date().startsWith(QStringLiteral(" 2000年  5月 20日")));
        QCOMPARE(run(locate, [&] { QTest::mouseClick(p.main->cmdLocate, Qt::LeftButton); },
                     [&] { std::strcpy(p.state.siteName, "Kyoto"); }),
                 below);
        QCOMPARE(p.main->windowTitle(), QStringLiteral("Lunvelde  Kyoto"));
        QCOMPARE(run(table, [&] { p.main->mnuTable->trigger(); }, [] {}), below);
    }

    // The arrow and page keys step the day, Ctrl+T comes back to today,
    // and F1 asks for help inside each dialog.
    void theKeyboardStepsTheDayAndAsksForHelpEverywhere()
    {
        folders->writeWorkFile(QStringLiteral("obspoint.txt"), kSites);
        Program p;
        p.open();
        QVERIFY(support::activate(p.main.get()));
        const QList<QPair<QKeyCombination, QString>> keys {
            {Qt::Key_Right, "2000/5/13"}, {Qt::Key_PageDown, "2000/5/14"}, {Qt::Key_Left, "2000/5/13"},
            {Qt::Key_PageUp, "2000/5/12"}, {Qt::Key_PageUp, "2000/5/11"}, {Qt::CTRL | Qt::Key_T, "2000/5/12"}};
        for (const auto& [key, date] : keys) {
            QTest::keyClick(p.main->cmdNext, key.key(), key.keyboardModifiers());
            QCOMPARE(p.shown(), date);
        }
        QVERIFY(p.date().startsWith(QStringLiteral(" 2000年  5月 12日")));

        TcDate date(p.state, p.main.get());
        TcLocate locate(p.state, p.main.get());
        TcTable table(p.state, p.calc, p.main.get());
        p.main->setDialogs(&date, &locate, &table);
        const int before = recorder->count(kNoHelp);
        for (auto [dialog, open] : {std::pair<QDialog*, QAction*> {&date, p.main->mnuDate}, {&locate, p.main->mnuLoc},
                                    {&table, p.main->mnuTable}}) {
            support::whileModal(dialog, [dialog = dialog] {
                QVERIFY(support::activate(dialog));
                QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_F1);
                dialog->reject();
            });
            open->trigger();
        }
        QCOMPARE(recorder->count(kNoHelp), before + 3);
    }

    void helpThatCannotWorkSaysSoAtStartAndOnEveryRequest()
    {
        // Whether the window was on screen when each notice came.
        QList<bool> visibleAtNotice;
        ui::setMessageHook([&visibleAtNotice](const ui::MsgRecord& m) {
            if (m.text != kNoHelp || m.caption != QStringLiteral("NOTICE") || m.kind != ui::MsgKind::Information)
                return;
            bool visible = false;
            for (QWidget* w : QApplication::topLevelWidgets())
                visible = visible || (w->inherits("TcMain") && w->isVisible());
            visibleAtNotice << visible;
        });
        Program p;
        p.open();
        QCOMPARE(visibleAtNotice, (QList<bool> {false}));
        QVERIFY(QTest::qWaitForWindowActive(p.main.get()));
        QTest::keyClick(p.main->lblAge, Qt::Key_F1);
        p.main->mnuHelp->trigger();
        QTest::mouseClick(p.main->cmdHelp, Qt::LeftButton);
        QCOMPARE(visibleAtNotice, (QList<bool> {false, true, true, true}));
    }

    void helpThatWorksOpensItsWindowWhichClosesWithTheMainWindow()
    {
        TcHelp::setReaderPath(QString());
        {
            TcHelp probe;
            if (!probe.funcCreate())
                QSKIP("the help reader is not built");
        }
        const auto helpWindows = [] {
            int n = 0;
            for (QWidget* w : QApplication::topLevelWidgets())
                n += (w->isVisible() && !w->inherits("TcMain")) ? 1 : 0;
            return n;
        };
        folders->writeWorkFile(QStringLiteral("obspoint.txt"), kSites);
        Program p;
        p.open();
        QVERIFY(recorder->messages.isEmpty());
        QVERIFY(QTest::qWaitForWindowActive(p.main.get()));
        QTest::keyClick(p.main.get(), Qt::Key_F1);
        QTRY_COMPARE(helpWindows(), 1);
        QTest::mouseClick(p.main->cmdHelp, Qt::LeftButton);  // raises the same window
        QCOMPARE(helpWindows(), 1);
        QVERIFY(p.main->close());
        QCOMPARE(helpWindows(), 0);
    }
};

LUNVELDE_GUI_TEST_MAIN(TestMainWindow)
#include "tst_mainWindow.moc"
