// The month table window: rows of the displayed month, recomputed at every
// showing, and the clipboard copy.
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <algorithm>
#include <memory>
#include <vector>

#include "app/mainState.h"
#include "engine/prcCalc.h"
#include "support.h"
#include "table/frmTable.h"

class TestTable : public QObject {
    Q_OBJECT

    std::unique_ptr<TcMainState> state;
    std::unique_ptr<TcCalc> calc;
    std::unique_ptr<TcTable> t;

    QStringList lines() const { return t->memTable->toPlainText().split('\n'); }
    void setDate(int y, int m, int d)
    {
        state->dispYear = y;
        state->dispMonth = m;
        state->dispDay = d;
    }
    QString copy() const
    {
        QGuiApplication::clipboard()->clear();
        QTest::mouseClick(t->cmdClip, Qt::LeftButton);
        return QGuiApplication::clipboard()->text();
    }

    // What the table command prints for the month at the current site.
    QString commandOutput() const
    {
        const TcMainState& s = *state;
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

private slots:
    void init()
    {
        state = std::make_unique<TcMainState>();
        putDefaultSite(*state);
        calc = std::make_unique<TcCalc>(*state);
        t = std::make_unique<TcTable>(*state, *calc, nullptr);
    }
    void cleanup()
    {
        t.reset();
        calc.reset();
        state.reset();
    }

    // Any day of the displayed month lists the whole month from day 1, with
    // no empty line after the last row.
    void januaryRowsAtTheDefaultSite()
    {
        setDate(2000, 1, 17);
        t->show();
        const QStringList rows = lines();
        QCOMPARE(rows.size(), 31);
        QCOMPARE(rows[0], QStringLiteral(" 2000/  1/  1      6:51   16:38    1:42   13: 6   23.9 "));
        QCOMPARE(rows[27], QStringLiteral(" 2000/  1/ 28      6:45   17: 4   --:--   11: 7   21.1 "));
    }

    // The copy is the table command's text (rows ended by CR LF, no header),
    // the same on every press, and follows the site and date of each showing.
    void clipboardFollowsEveryShowing()
    {
        setDate(2000, 1, 5);
        t->show();
        const QString tokyo = copy();
        QCOMPARE(tokyo, commandOutput());
        QVERIFY(tokyo.endsWith(QLatin1String("\r\n")));
        QVERIFY(!tokyo.contains(QStringLiteral("月齢")));
        QCOMPARE(copy(), tokyo);
        t->cmdClose->click();
        QVERIFY(!t->isVisible());

        state->siteLatitude = -33.87;  // southern hemisphere, with summer time
        state->siteLongitude = 151.21;
        state->siteTimeZone = 10;
        state->siteSummerTime = 1;
        t->show();
        QVERIFY(copy() != tokyo);
        QCOMPARE(copy(), commandOutput());
        t->funcClose();

        setDate(2001, 2, 28);
        t->show();
        QCOMPARE(lines().size(), 28);
        QCOMPARE(copy(), commandOutput());
    }

    // The fixed font must give every double-byte character (the ideographic
    // space included) exactly two columns, and the view the same font, or
    // the header words drift off their columns.
    void headerColumnsMatchTheRows()
    {
        const QFontMetrics header(t->lbl1->font());
        const QFontMetrics view(t->memTable->font());
        const int column = view.horizontalAdvance(QLatin1Char('0'));
        QVERIFY(column > 0);
        QCOMPARE(header.horizontalAdvance(QLatin1Char('0')), column);
        QCOMPARE(view.horizontalAdvance(QStringLiteral("  --:--")), 7 * column);
        QCOMPARE(header.horizontalAdvance(QStringLiteral("　")), 2 * column);
        QCOMPARE(header.horizontalAdvance(QStringLiteral("月齢")), 4 * column);
        QVERIFY(header.horizontalAdvance(t->lbl1->text()) <= t->lbl1->width());
    }

    void viewIsReadOnlyAndOutOfTheTabChain()
    {
        t->show();
        const QString before = t->memTable->toPlainText();
        QCOMPARE(support::tabChain(t->cmdClose, 2), QStringList({"cmdClose", "cmdClip", "cmdClose"}));
        QTest::keyClicks(t->memTable, QStringLiteral("xyz"));
        QCOMPARE(t->memTable->toPlainText(), before);

        // Out of the tab chain, yet a click focuses the view and a selection
        // made there copies with the keyboard.
        QTest::mouseClick(t->memTable->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
        QCOMPARE(QApplication::focusWidget(), t->memTable);
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(t->memTable, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(t->memTable, Qt::Key_C, Qt::ControlModifier);
        // Lines end in CR LF as in the クリップ copy; the last row of the view
        // has no line end, so neither has the copy of it.
        QCOMPARE(QGuiApplication::clipboard()->text(), QString(before).replace('\n', "\r\n"));
        // From the middle of the second row to the start of the fourth: the
        // third row's line end is part of the selection.
        QTextCursor c = t->memTable->textCursor();
        c.setPosition(56 + 3);
        c.setPosition(3 * 56, QTextCursor::KeepAnchor);
        t->memTable->setTextCursor(c);
        QTest::keyClick(t->memTable, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), lines()[1].mid(3) + "\r\n" + lines()[2] + "\r\n");
    }

    // Filling the table again replaces its rows (its time is measured by
    // bench/bench_windows.cpp, make bench).
    void fillingAgainReplacesTheRows()
    {
        setDate(2000, 1, 1);
        t->show();
        t->funcShow();
        const QStringList first = lines();
        t->funcShow();
        QCOMPARE(lines(), first);
        QCOMPARE(lines().size(), 31);
    }
};

LUNVELDE_GUI_TEST_MAIN(TestTable)

#include "tst_table.moc"
