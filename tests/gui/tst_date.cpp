// The date dialog and its up/down controls.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "app/mainState.h"
#include "date/frmDate.h"
#include "ui/fonts.h"
#include "ui/msgBox.h"
#include "ui/upDown.h"

namespace {
const QString kBadText = QStringLiteral("不正な文字が入力されています。");
const QString kBadRange = QStringLiteral("入力された値の範囲が不正です。");
}  // namespace

class TestDate : public QObject {
    Q_OBJECT

    QList<ui::MsgRecord> messages;

    // The fields as one "year|month|day" string, blanks kept.
    static QString fields(const TcDate& d)
    {
        return d.editYear->text() + '|' + d.editMonth->text() + '|' + d.editDay->text();
    }
    static void type(TcDate& d, const QString& y, const QString& m, const QString& day)
    {
        d.editYear->setText(y);
        d.editMonth->setText(m);
        d.editDay->setText(day);
    }

private slots:
    void init()
    {
        messages.clear();
        ui::setMessageHook([this](const ui::MsgRecord& m) { messages << m; });
    }
    void cleanup() { ui::setMessageHook({}); }

    void upDownStopsAtItsRangeEnds()
    {
        TcUpDown s(-2, 3);
        QSignalSpy spy(&s, &TcUpDown::clicked);
        QCOMPARE(s.position(), 0);
        for (int i = 0; i < 5; ++i)
            QTest::mouseClick(s.upButton(), Qt::LeftButton);
        QCOMPARE(s.position(), 3);
        QCOMPARE(spy.count(), 3);
        for (const auto& args : spy)
            QCOMPARE(args.at(0).toInt(), +1);
        spy.clear();
        for (int i = 0; i < 9; ++i)
            QTest::mouseClick(s.downButton(), Qt::LeftButton);
        QCOMPARE(s.position(), -2);
        QCOMPARE(spy.count(), 5);
        for (const auto& args : spy)
            QCOMPARE(args.at(0).toInt(), -1);
        // Moving away from the end works at once (no wrap, no stuck state).
        spy.clear();
        QVERIFY(s.step(+1));
        QCOMPARE(spy.count(), 1);
    }

    void upDownKeysActAsClicks()
    {
        TcUpDown s(-1, 1);
        QSignalSpy spy(&s, &TcUpDown::clicked);
        QTest::keyClick(&s, Qt::Key_Up);
        QTest::keyClick(&s, Qt::Key_Up);  // at the end: nothing
        QTest::keyClick(&s, Qt::Key_Down);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(0).at(0).toInt(), +1);
        QCOMPARE(spy.at(1).at(0).toInt(), -1);
        QCOMPARE(s.position(), 0);
    }

    void dialogLayout()
    {
        TcMainState state;
        TcDate d(state, nullptr);
        QCOMPARE(d.size(), QSize(288, 105));
        QCOMPARE(d.editYear->width(), 49);
        QCOMPARE(d.editMonth->width(), 37);
        QCOMPARE(d.editDay->width(), 33);
        // Tab walks the fields, then the up/down controls, then the buttons.
        d.show();
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        const QList<QWidget*> order{d.editYear, d.editMonth, d.editDay, d.spinYear,
                                    d.spinMonth, d.spinDay, d.cmdOK, d.cmdCancel, d.editYear};
        d.editYear->setFocus();
        for (int i = 0; i + 1 < order.size(); ++i) {
            QCOMPARE(QApplication::focusWidget(), order[i]);
            QTest::keyClick(order[i], Qt::Key_Tab);
        }
        QCOMPARE(QApplication::focusWidget(), d.editYear);
    }

    void everyShowingFillsTheFields()
    {
        TcMainState state;
        state.dispYear = 2001;
        state.dispMonth = 4;
        state.dispDay = 7;
        TcDate d(state, nullptr);
        d.show();
        QCOMPARE(fields(d), QStringLiteral(" 2001|  4|  7"));
        type(d, "x", "y", "z");
        d.hide();
        state.dispMonth = 12;
        d.show();
        QCOMPARE(fields(d), QStringLiteral(" 2001| 12|  7"));
    }

    void spinControlsMoveTheirOwnField()
    {
        TcMainState state;
        state.dispYear = 2001;
        state.dispMonth = 1;
        state.dispDay = 31;
        TcDate d(state, nullptr);
        d.show();
        QTest::mouseClick(d.spinDay->upButton(), Qt::LeftButton);
        QCOMPARE(fields(d), QStringLiteral(" 2001|  2|  1"));
        QTest::mouseClick(d.spinMonth->downButton(), Qt::LeftButton);
        QTest::mouseClick(d.spinMonth->downButton(), Qt::LeftButton);
        QCOMPARE(fields(d), QStringLiteral(" 2000| 12|  1"));
        QTest::mouseClick(d.spinYear->upButton(), Qt::LeftButton);
        QCOMPARE(fields(d), QStringLiteral(" 2001| 12|  1"));
        // A letter in the year: the step starts from 2000 and writes it back.
        type(d, "abc", "14", "5");
        QTest::mouseClick(d.spinDay->downButton(), Qt::LeftButton);
        QCOMPARE(fields(d), QStringLiteral(" 2000|  2|  4"));
        // Stepping never touches the displayed date.
        QCOMPARE(state.dispYear, 2001);
        QCOMPARE(state.dispMonth, 1);
        QCOMPARE(state.dispDay, 31);
    }

    void spinPositionsKeepTheirRangeAcrossShowings()
    {
        TcMainState state;
        state.dispYear = 1901;
        TcDate d(state, nullptr);
        d.show();
        QSignalSpy spy(d.spinYear, &TcUpDown::clicked);
        for (int i = 0; i < 2101; ++i)
            d.spinYear->step(+1);
        QCOMPARE(spy.count(), 2100);
        QCOMPARE(d.editYear->text(), QStringLiteral(" 2099"));
        d.hide();
        d.show();
        // The position is not reset: still at the top end.
        QVERIFY(!d.spinYear->step(+1));
        QCOMPARE(d.spinYear->position(), 2100);
        QVERIFY(d.spinYear->step(-1));

        // The other two ranges, reached through the keyboard.
        d.spinMonth->setFocus();
        for (int i = 0; i < 1201; ++i)
            QTest::keyClick(d.spinMonth, Qt::Key_Down);
        QCOMPARE(d.spinMonth->position(), -1200);
        for (int i = 0; i < 3651; ++i)
            d.spinDay->step(+1);
        QCOMPARE(d.spinDay->position(), 3650);
    }

    void okTakesOverAValidDate_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("day");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("m");
        QTest::addColumn<int>("d");
        QTest::newRow("31 April") << " 2001" << "  4" << " 31" << 2001 << 4 << 31;
        QTest::newRow("leading blanks and sign") << "   +1901" << " 12" << "1" << 1901 << 12 << 1;
        QTest::newRow("last year") << "2099" << "2" << "31" << 2099 << 2 << 31;
    }
    void okTakesOverAValidDate()
    {
        QFETCH(QString, year);
        QFETCH(QString, month);
        QFETCH(QString, day);
        TcMainState state;
        TcDate d(state, nullptr);
        d.show();
        type(d, year, month, day);
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
        QVERIFY(messages.isEmpty());
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QTEST(int(state.dispYear), "y");
        QTEST(int(state.dispMonth), "m");
        QTEST(int(state.dispDay), "d");
    }

    void okRefusesAndStaysOpen_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("message");
        QTest::newRow("year 1900") << "1900" << "1" << "1" << kBadRange;
        QTest::newRow("year 2100") << "2100" << "1" << "1" << kBadRange;
        QTest::newRow("month 13") << "2001" << "13" << "1" << kBadRange;
        QTest::newRow("month 0") << "2001" << "0" << "1" << kBadRange;
        QTest::newRow("day 32") << "2001" << "1" << "32" << kBadRange;
        QTest::newRow("day 0") << "2001" << "1" << "0" << kBadRange;
        QTest::newRow("letter") << "200a" << "1" << "1" << kBadText;
        QTest::newRow("trailing blank") << "2001 " << "1" << "1" << kBadText;
        QTest::newRow("empty day") << "2001" << "1" << "" << kBadText;
        QTest::newRow("overflow") << "2001" << "4294967297" << "1" << kBadText;
        QTest::newRow("bad text before range") << "1900" << "x" << "1" << kBadText;
    }
    void okRefusesAndStaysOpen()
    {
        QFETCH(QString, year);
        QFETCH(QString, month);
        QFETCH(QString, day);
        QFETCH(QString, message);
        TcMainState state;
        state.dispYear = 2005;
        state.dispMonth = 6;
        state.dispDay = 15;
        TcDate d(state, nullptr);
        d.show();
        type(d, year, month, day);
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, message);
        QCOMPARE(messages[0].caption, QStringLiteral("Lunvelde"));
        QVERIFY(d.isVisible());
        QCOMPARE(state.dispYear, 2005);
        QCOMPARE(state.dispMonth, 6);
        QCOMPARE(state.dispDay, 15);
        QCOMPARE(fields(d), year + '|' + month + '|' + day);
    }

    void cancelLeavesTheDate()
    {
        TcMainState state;
        state.dispYear = 2005;
        TcDate d(state, nullptr);
        d.show();
        type(d, "2010", "3", "3");
        QTest::mouseClick(d.cmdCancel, Qt::LeftButton);
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(state.dispYear, 2005);
    }

    void enterAndEscapePressNoButton()
    {
        TcMainState state;
        state.dispYear = 2005;
        TcDate d(state, nullptr);
        d.show();
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        type(d, "2010", "3", "3");  // valid: a press of OK would take it over
        for (QWidget* w : QList<QWidget*>{d.editYear, d.editDay, d.spinDay, d.cmdOK, d.cmdCancel}) {
            w->setFocus();
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
                QTest::keyClick(w, key);
            QVERIFY2(d.isVisible(), qPrintable(w->objectName()));
        }
        QCOMPARE(state.dispYear, 2005);
        QVERIFY(messages.isEmpty());
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
    TestDate test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_date.moc"
