// The month table window: rows of the displayed month, recomputed at every
// showing, and the clipboard copy.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <vector>

#include "app/mainState.h"
#include "engine/prcCalc.h"
#include "table/frmTable.h"
#include "ui/fonts.h"

class TestTable : public QObject {
    Q_OBJECT

    static QStringList lines(const TcTable& t) { return t.memTable->toPlainText().split('\n'); }

    // What the table command prints for the month at the state's site.
    static QString commandOutput(const TcMainState& s)
    {
        QStringList args{"--year", QString::number(s.dispYear), "--month", QString::number(s.dispMonth),
                         "--lat", QString::number(s.siteLatitude, 'g', 17),
                         "--lon", QString::number(s.siteLongitude, 'g', 17),
                         "--tz", QString::number(s.siteTimeZone, 'g', 17)};
        if (s.siteSummerTime == 1)
            args << "--summer";
        QProcess p;
        p.start(QStringLiteral(LUNVELDE_TABLE_EXE), args);
        if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            return QStringLiteral("<command failed: %1>").arg(QString::fromLocal8Bit(p.readAllStandardError()));
        return QString::fromLatin1(p.readAllStandardOutput());
    }

    static void setDate(TcMainState& s, int y, int m, int d)
    {
        s.dispYear = y;
        s.dispMonth = m;
        s.dispDay = d;
    }

private slots:
    void oneLinePerDayOfTheMonth_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("count");
        QTest::newRow("January 2000") << 2000 << 1 << 31;
        QTest::newRow("February 2000") << 2000 << 2 << 29;
        QTest::newRow("February 2001") << 2001 << 2 << 28;
        QTest::newRow("April 2000") << 2000 << 4 << 30;
    }
    void oneLinePerDayOfTheMonth()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, count);
        TcMainState state;
        putDefaultSite(state);
        setDate(state, year, month, 17);  // any day lists the month from day 1
        TcCalc calc(state);
        TcTable t(state, calc, nullptr);
        t.show();
        const QStringList rows = lines(t);
        QCOMPARE(rows.size(), count);  // no empty line after the last row
        for (int i = 0; i < rows.size(); ++i) {
            QCOMPARE(rows[i].size(), 55);
            QCOMPARE(rows[i].left(13), QString::asprintf("%5d/%3d/%3d", year, month, i + 1));
        }
    }

    void januaryRowsAtTheDefaultSite()
    {
        TcMainState state;
        putDefaultSite(state);
        setDate(state, 2000, 1, 1);
        TcCalc calc(state);
        TcTable t(state, calc, nullptr);
        t.show();
        const QStringList rows = lines(t);
        QCOMPARE(rows.size(), 31);
        QCOMPARE(rows[0], QStringLiteral(" 2000/  1/  1      6:51   16:38    1:42   13: 6   23.9 "));
        QCOMPARE(rows[27], QStringLiteral(" 2000/  1/ 28      6:45   17: 4   --:--   11: 7   21.1 "));
    }

    void clipboardHoldsTheCommandsText()
    {
        TcMainState state;
        putDefaultSite(state);
        setDate(state, 2000, 1, 5);
        TcCalc calc(state);
        TcTable t(state, calc, nullptr);
        t.show();
        QClipboard* clip = QGuiApplication::clipboard();
        clip->clear();
        QTest::mouseClick(t.cmdClip, Qt::LeftButton);
        const QString copied = clip->text();
        QCOMPARE(copied, commandOutput(state));
        QVERIFY(copied.endsWith(QLatin1String("\r\n")));
        QCOMPARE(copied.count(QLatin1String("\r\n")), 31);
        QVERIFY(!copied.contains(QStringLiteral("月齢")));
        // Copying again gives the same text.
        clip->clear();
        QTest::mouseClick(t.cmdClip, Qt::LeftButton);
        QCOMPARE(clip->text(), copied);
    }

    void reopeningRecomputesForTheNewSiteAndDate()
    {
        TcMainState state;
        putDefaultSite(state);
        setDate(state, 2000, 1, 1);
        TcCalc calc(state);
        TcTable t(state, calc, nullptr);
        t.show();
        const QString tokyo = t.memTable->toPlainText();
        t.cmdClose->click();
        QVERIFY(!t.isVisible());

        // Another site in the southern hemisphere, keeping summer time.
        state.siteLatitude = -33.87;
        state.siteLongitude = 151.21;
        state.siteTimeZone = 10;
        state.siteSummerTime = 1;
        t.show();
        QVERIFY(t.memTable->toPlainText() != tokyo);
        QTest::mouseClick(t.cmdClip, Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), commandOutput(state));
        t.funcClose();

        setDate(state, 2001, 2, 28);
        t.show();
        const QStringList rows = lines(t);
        QCOMPARE(rows.size(), 28);
        QVERIFY(rows[0].startsWith(QLatin1String(" 2001/  2/  1")));
        QTest::mouseClick(t.cmdClip, Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), commandOutput(state));
    }

    void headerColumnsMatchTheRows()
    {
        TcMainState state;
        TcCalc calc(state);
        TcTable t(state, calc, nullptr);
        // The fixed font must give every double-byte character (the
        // ideographic space included) exactly two columns, and the view the
        // same font, or the header words drift off their columns.
        const QFontMetrics header(t.lbl1->font());
        const QFontMetrics view(t.memTable->font());
        const int column = view.horizontalAdvance(QLatin1Char('0'));
        QVERIFY(column > 0);
        QCOMPARE(header.horizontalAdvance(QLatin1Char('0')), column);
        QCOMPARE(view.horizontalAdvance(QStringLiteral("  --:--")), 7 * column);
        QCOMPARE(header.horizontalAdvance(QStringLiteral("　")), 2 * column);
        QCOMPARE(header.horizontalAdvance(QStringLiteral("月齢")), 4 * column);
        QCOMPARE(header.horizontalAdvance(t.lbl1->text()), 53 * column);
        QVERIFY(header.horizontalAdvance(t.lbl1->text()) <= t.lbl1->width());
    }

    void viewIsReadOnlyAndOutOfTheTabChain()
    {
        TcMainState state;
        putDefaultSite(state);
        TcCalc calc(state);
        TcTable t(state, calc, nullptr);
        t.show();
        t.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&t));
        const QString before = t.memTable->toPlainText();
        QTest::keyClicks(t.memTable, QStringLiteral("xyz"));
        QCOMPARE(t.memTable->toPlainText(), before);
        t.cmdClose->setFocus();
        QTest::keyClick(t.cmdClose, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), t.cmdClip);
        QTest::keyClick(t.cmdClip, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), t.cmdClose);
    }

    // Filling the table (31 days computed, formatted and put into the view)
    // must stay within 2 ms.
    void fillingTheTableIsFast()
    {
        TcMainState state;
        putDefaultSite(state);
        setDate(state, 2000, 1, 1);
        TcCalc calc(state);
        TcTable t(state, calc, nullptr);
        t.show();
        std::vector<qint64> ns;
        for (int i = 0; i < 300; ++i) {
            QElapsedTimer timer;
            timer.start();
            t.funcShow();
            ns.push_back(timer.nsecsElapsed());
        }
        std::sort(ns.begin(), ns.end());
        const double medianMs = ns[ns.size() / 2] / 1e6;
        qInfo("funcShow for 31 days: median %.3f ms, fastest %.3f ms, slowest %.3f ms over %zu runs",
              medianMs, ns.front() / 1e6, ns.back() / 1e6, ns.size());
        QCOMPARE(lines(t).size(), 31);
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("timing is not meaningful in a sanitizer build");
#endif
        QVERIFY2(medianMs <= 2.0, qPrintable(QString::number(medianMs)));
    }
};

int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + "/config"));
    QDir(home.path()).mkdir(QStringLiteral("runtime"));
    QFile::setPermissions(home.path() + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path() + "/runtime"));
    QDir::setCurrent(home.path());
    QApplication app(argc, argv);
    ui::installFontSubstitutes();
    QApplication::setFont(ui::dialogFont());
    TestTable test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_table.moc"
