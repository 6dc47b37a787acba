// The date dialog and its up/down controls.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "app/mainState.h"
#include "date/frmDate.h"
#include "support.h"
#include "ui/upDown.h"

namespace {
const QString kBadText = QStringLiteral("不正な文字が入力されています。");
const QString kBadRange = QStringLiteral("入力された値の範囲が不正です。");
}  // namespace

class TestDate : public QObject {
    Q_OBJECT

    std::unique_ptr<support::MessageRecorder> recorder;
    std::unique_ptr<TcMainState> state;
    std::unique_ptr<TcDate> d;

    // The fields as one "year|month|day" string, blanks kept.
    QString fields() const { return d->editYear->text() + '|' + d->editMonth->text() + '|' + d->editDay->text(); }
    void type(const QString& y, const QString& m, const QString& day)
    {
        d->editYear->setText(y);
        d->editMonth->setText(m);
        d->editDay->setText(day);
    }
    // Shows the dialog for the displayed date y/m/day.
    void showAt(int y, int m, int day)
    {
        state->dispYear = y;
        state->dispMonth = m;
        state->dispDay = day;
        d->show();
    }
    QString displayed() const { return QString::asprintf("%d/%d/%d", state->dispYear, state->dispMonth, state->dispDay); }

private slots:
    void init()
    {
        recorder = std::make_unique<support::MessageRecorder>();
        state = std::make_unique<TcMainState>();
        d = std::make_unique<TcDate>(*state, nullptr);
    }
    void cleanup()
    {
        d.reset();
        state.reset();
        recorder.reset();
    }

    // A click or key that cannot move the position is not reported; moving
    // away from an end works at once.
    void upDownStopsAtItsRangeEnds()
    {
        TcUpDown s(-2, 3);
        QSignalSpy spy(&s, &TcUpDown::clicked);
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(&s, Qt::Key_Up);
        QCOMPARE(s.position(), 3);
        QCOMPARE(spy.count(), 3);
        for (int i = 0; i < 9; ++i)
            QTest::mouseClick(s.downButton(), Qt::LeftButton);
        QCOMPARE(s.position(), -2);
        QTest::mouseClick(s.upButton(), Qt::LeftButton);
        QTest::keyClick(&s, Qt::Key_Down);
        QCOMPARE(s.position(), -2);
        QCOMPARE(spy.count(), 10);
        QCOMPARE(spy.first().at(0).toInt(), +1);
        QCOMPARE(spy.at(7).at(0).toInt(), -1);
        QCOMPARE(spy.at(8).at(0).toInt(), +1);
        QCOMPARE(spy.last().at(0).toInt(), -1);
    }

    void everyShowingFillsTheFields()
    {
        showAt(2001, 4, 7);
        QCOMPARE(fields(), QStringLiteral(" 2001|  4|  7"));
        type("x", "y", "z");
        d->hide();
        state->dispMonth = 12;
        d->show();
        QCOMPARE(fields(), QStringLiteral(" 2001| 12|  7"));
    }

    // Each control steps its own field, with the carries, and never the
    // displayed date.
    void spinControlsMoveTheirOwnField()
    {
        showAt(2001, 1, 31);
        QTest::mouseClick(d->spinDay->upButton(), Qt::LeftButton);
        QCOMPARE(fields(), QStringLiteral(" 2001|  2|  1"));
        QTest::mouseClick(d->spinMonth->downButton(), Qt::LeftButton);
        QTest::mouseClick(d->spinMonth->downButton(), Qt::LeftButton);
        QCOMPARE(fields(), QStringLiteral(" 2000| 12|  1"));
        QTest::mouseClick(d->spinYear->upButton(), Qt::LeftButton);
        QCOMPARE(fields(), QStringLiteral(" 2001| 12|  1"));
        type("abc", "14", "5");  // the step starts from 2000 and writes it back
        QTest::mouseClick(d->spinDay->downButton(), Qt::LeftButton);
        QCOMPARE(fields(), QStringLiteral(" 2000|  2|  4"));
        QCOMPARE(displayed(), QStringLiteral("2001/1/31"));
    }

    // The year control stops at its end of range, and its position is not
    // reset by the next showing.
    void spinPositionsKeepTheirRangeAcrossShowings()
    {
        showAt(1901, 1, 1);
        QSignalSpy spy(d->spinYear, &TcUpDown::clicked);
        for (int i = 0; i < 2101; ++i)
            d->spinYear->step(+1);
        QCOMPARE(spy.count(), 2100);
        QCOMPARE(d->editYear->text(), QStringLiteral(" 2099"));
        d->hide();
        d->show();
        QVERIFY(!d->spinYear->step(+1));
    }

    void okChecksTheFields_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("message");  // empty: taken over
        QTest::newRow("31 April") << " 2001" << "  4" << " 31" << "";
        QTest::newRow("leading blanks and sign") << "   +1901" << " 12" << "1" << "";
        QTest::newRow("last year") << "2099" << "2" << "31" << "";
        QTest::newRow("year 1900") << "1900" << "1" << "1" << kBadRange;
        QTest::newRow("year 2100") << "2100" << "1" << "1" << kBadRange;
        QTest::newRow("month 13") << "2001" << "13" << "1" << kBadRange;
        QTest::newRow("month 0") << "2001" << "0" << "1" << kBadRange;
        QTest::newRow("day 32") << "2001" << "1" << "32" << kBadRange;
        QTest::newRow("day 0") << "2001" << "1" << "0" << kBadRange;
        QTest::newRow("letter") << "200a" << "1" << "1" << kBadText;
        QTest::newRow("trailing blank") << "2001 " << "1" << "1" << kBadText;
        QTest::newRow("empty day") << "2001" << "1" << "" << kBadText;
        QTest::newRow("bad text before range") << "1900" << "x" << "1" << kBadText;
    }
    void okChecksTheFields()
    {
        QFETCH(QString, year);
        QFETCH(QString, month);
        QFETCH(QString, day);
        QFETCH(QString, message);
        showAt(2005, 6, 15);
        type(year, month, day);
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);
        if (message.isEmpty()) {
            QVERIFY(recorder->messages.isEmpty());
            QVERIFY(!d->isVisible());
            QCOMPARE(d->result(), int(QDialog::Accepted));
            QCOMPARE(displayed(), QStringLiteral("%1/%2/%3").arg(year.toInt()).arg(month.toInt()).arg(day.toInt()));
        } else {
            QCOMPARE(recorder->texts(), QStringList(message));
            QCOMPARE(recorder->messages[0].caption, QStringLiteral("Lunvelde"));
            QVERIFY(d->isVisible());
            QCOMPARE(displayed(), QStringLiteral("2005/6/15"));
            QCOMPARE(fields(), year + '|' + month + '|' + day);
        }
    }

    // Tab walks the fields, the up/down controls, then the buttons; only the
    // buttons and the close box end the dialog, and cancel changes nothing.
    void keyboardAndCancel()
    {
        showAt(2005, 6, 15);
        QCOMPARE(support::tabChain(d->editYear, 8),
                 QStringList({"editYear", "editMonth", "editDay", "spinYear", "spinMonth", "spinDay", "cmdOK",
                              "cmdCancel", "editYear"}));
        type("2010", "3", "3");  // valid: a press of OK would take it over
        support::pressEnterAndEscape({d->editYear, d->editDay, d->spinDay, d->cmdOK, d->cmdCancel});
        QVERIFY(d->isVisible());
        QVERIFY(recorder->messages.isEmpty());
        QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
        QVERIFY(!d->isVisible());
        QCOMPARE(d->result(), int(QDialog::Rejected));
        QCOMPARE(displayed(), QStringLiteral("2005/6/15"));
    }

    // Each opening starts in the year with its text selected, and a field
    // reached by the mouse selects its text too: typing replaces the value.
    void typingReplacesTheValue()
    {
        showAt(2005, 6, 15);
        QVERIFY(support::activate(d.get()));
        QTest::mouseClick(d->editDay, Qt::LeftButton);
        QTRY_COMPARE(d->editDay->selectedText().trimmed(), QStringLiteral("15"));
        QCOMPARE(d->editDay->selectedText(), d->editDay->text());
        QTest::keyClicks(d->editDay, QStringLiteral("3"));
        QCOMPARE(d->editDay->text(), QStringLiteral("3"));
        // Opened again, the dialog starts in the year once more.
        d->hide();
        showAt(2006, 6, 15);
        QCOMPARE(d->focusWidget(), d->editYear);
        QCOMPARE(d->editYear->selectedText().trimmed(), QStringLiteral("2006"));
        QCOMPARE(d->editYear->selectedText(), d->editYear->text());
    }
};

LUNVELDE_GUI_TEST_MAIN(TestDate)

#include "tst_date.moc"
