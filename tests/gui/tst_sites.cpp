// The site dialog and the registration dialog, driven as a user would.
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <csignal>
#include <cstring>
#include <memory>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/mainState.h"
#include "sites/frmLoc.h"
#include "sites/frmReg.h"
#include "sites/siteFile.h"
#include "support.h"
#include "ui/sjis.h"

namespace {

const QString kNotANumber = QStringLiteral("入力した数字が不正です。");
const QString kOutOfRange = QStringLiteral("入力した数字の範囲が不正です。");
const QString kCannotRead = QStringLiteral("ファイルが読めません");
const QString kOverwriteFailed = QStringLiteral("観測地ファイルにアクセスできません。");
const QString kAppendFailed = QStringLiteral("観測地ファイルにアクセスできません");
const QString kFile = QStringLiteral("obspoint.txt");
const QString kBusy = QStringLiteral("観測地ファイルは他のプログラムが使用中です。登録しませんでした。");
const QString kReplaced = QStringLiteral("観測地ファイルが一覧を表示した後で置き換えられています。登録しませんでした。");
const QString kNotAligned =
    QStringLiteral("観測地ファイルの行が 50 バイトずつにそろっていません。登録しませんでした。");

QByteArray rec(const QString& name, double lat, double lon, double tz, int flag)
{
    return QByteArray::fromStdString(sitefile::makeRecord(ui::toSjis(name), lat, lon, tz, flag));
}

// Three records: 三鷹, 東京 with summer time, and a name of two words.
QByteArray threeRecords()
{
    return rec(QStringLiteral("三鷹"), 35.67, 139.5, 9, 0) + rec(QStringLiteral("東京"), 35.69, 139.69, 9, 1) +
           rec(QStringLiteral("two words"), -35.67, -70.5, -4, 0);
}

QByteArray siteFile()
{
    QFile f(kFile);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

// The current site of the state, as one comparable text.
QString siteOf(const TcMainState& s)
{
    return QStringLiteral("%1|%2|%3|%4|%5|%6")
        .arg(ui::fromSjis(s.siteName), ui::fromSjis(s.siteNameText))
        .arg(s.siteLatitude)
        .arg(s.siteLongitude)
        .arg(s.siteTimeZone)
        .arg(s.siteSummerTime);
}

template <typename T = QWidget>
T* child(QWidget* w, const char* name)
{
    T* c = w->findChild<T*>(QLatin1String(name));
    if (!c)
        qFatal("no control %s", name);
    return c;
}

void click(QWidget* w, const char* name)
{
    QTest::mouseClick(child(w, name), Qt::LeftButton);
}

}  // namespace

class TestSites : public QObject {
    Q_OBJECT

    std::unique_ptr<support::TestFolders> folders;
    std::unique_ptr<support::MessageRecorder> recorder;
    std::unique_ptr<TcMainState> state;
    std::unique_ptr<TcLocate> dlg;
    TcReg* reg = nullptr;
    // How the last registration dialog came up: focus, offset from the site
    // dialog, the start-up box and the answer ("" when it did not come up).
    QString regAtShow;

    QComboBox* cmbName() { return child<QComboBox>(dlg.get(), "cmbName"); }
    QLineEdit* edit(const char* name) { return child<QLineEdit>(dlg.get(), name); }

    void setFields(const QString& lat, const QString& lon, const QString& tz)
    {
        edit("editLati")->setText(lat);
        edit("editLongi")->setText(lon);
        edit("editTz")->setText(tz);
    }
    QString fields()
    {
        return cmbName()->currentText() + '|' + edit("editLati")->text() + '|' + edit("editLongi")->text() + '|' +
               edit("editTz")->text() + '|' + (child<QCheckBox>(dlg.get(), "chkSummer")->isChecked() ? "S" : "-");
    }

    void showDialog()
    {
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
    }

    // Chooses list item n the way a user does: opens the list and clicks it.
    void choose(int n)
    {
        QComboBox* cmb = cmbName();
        cmb->showPopup();
        QAbstractItemView* view = cmb->view();
        QVERIFY(QTest::qWaitForWindowExposed(view->window()));
        const QRect r = view->visualRect(view->model()->index(n, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
        QTRY_VERIFY(!view->isVisible());
    }

    // Presses the register button and answers the registration dialog:
    // optionally ticks the start-up box, then presses regButton (none: the
    // close box).
    void registerWith(const char* regButton, bool tick = false)
    {
        regAtShow.clear();
        support::whileModal(reg, [=] {
            support::activate(reg);
            const QWidget* focus = QApplication::focusWidget();
            const QPoint offset = reg->pos() - dlg->pos();
            regAtShow = QStringLiteral("%1 %2,%3 %4 %5")
                            .arg(focus ? focus->objectName() : QString())
                            .arg(offset.x())
                            .arg(offset.y())
                            .arg(child<QCheckBox>(reg, "checkDefault")->isChecked() ? "ticked" : "unticked")
                            .arg(reg->regResult);
            if (tick)
                click(reg, "checkDefault");
            if (regButton)
                click(reg, regButton);
            else
                reg->close();
        });
        click(dlg.get(), "cmdWrite");
    }

    // Types text as an input method commits it (the way Japanese text
    // arrives), replacing what the field held.
    static void typeText(QLineEdit* field, const QString& text)
    {
        field->selectAll();
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(field, &commit);
    }

private slots:
    void init()
    {
        folders = std::make_unique<support::TestFolders>();
        recorder = std::make_unique<support::MessageRecorder>();
        state = std::make_unique<TcMainState>();
        putDefaultSite(*state);
        dlg = std::make_unique<TcLocate>(*state, nullptr);
        reg = new TcReg(dlg.get());
        dlg->setReg(reg);
    }

    void cleanup()
    {
        dlg.reset();  // deletes reg with it
        reg = nullptr;
        state.reset();
        recorder.reset();
        folders.reset();
    }

    void showListsTheFileAndTheCurrentSite()
    {
        folders->writeWorkFile(kFile, threeRecords() + "no line end");
        setSiteName(*state, ui::toSjis(QStringLiteral("現在地")));
        state->siteLatitude = -33.87;
        state->siteLongitude = 285.99;
        state->siteTimeZone = -5;
        state->siteSummerTime = 1;
        showDialog();
        QCOMPARE(cmbName()->count(), 3);
        // The names as stored, without the padding of the field.
        QCOMPARE(cmbName()->itemText(0), QStringLiteral("三鷹"));
        QCOMPARE(cmbName()->itemText(2), QStringLiteral("two words"));
        QCOMPARE(cmbName()->currentIndex(), -1);
        QCOMPARE(fields(), QStringLiteral("現在地| -33.87| 285.99| -5.00|S"));
        QCOMPARE(dlg->siteCount, 3);

        // Shown again without a file: empty list, siteCount kept, no message.
        dlg->hide();
        QFile::remove(kFile);
        dlg->siteCount = 9;
        state->siteSummerTime = 0;
        showDialog();
        QCOMPARE(cmbName()->count(), 0);
        QCOMPARE(dlg->siteCount, 9);
        QCOMPARE(fields(), QStringLiteral("現在地| -33.87| 285.99| -5.00|-"));
        QVERIFY(recorder->messages.isEmpty());
    }

    // OK takes the numbers over or refuses them with its message, leaving the
    // site, the record numbers and the file alone; the register button checks
    // the same way before it asks anything.
    void okChecksTheFields_data()
    {
        QTest::addColumn<QString>("lat");
        QTest::addColumn<QString>("lon");
        QTest::addColumn<QString>("tz");
        QTest::addColumn<QString>("message");  // empty: accepted
        QTest::newRow("upper bounds") << "90" << "360.1" << "12.1" << "";
        QTest::newRow("lower bounds") << "-90" << "-180.1" << "-12.1" << "";
        QTest::newRow("blanks around") << "  35.5 " << " 1.395e2" << "+9" << "";
        QTest::newRow("latitude 90.01") << "90.01" << "0" << "0" << kOutOfRange;
        QTest::newRow("longitude 360.11") << "0" << "360.11" << "0" << kOutOfRange;
        QTest::newRow("offset -12.11") << "0" << "0" << "-12.11" << kOutOfRange;
        QTest::newRow("empty latitude") << "" << "0" << "0" << kNotANumber;
        QTest::newRow("letters after a range fault") << "100" << "0" << "9x" << kNotANumber;
    }
    void okChecksTheFields()
    {
        QFETCH(QString, lat);
        QFETCH(QString, lon);
        QFETCH(QString, tz);
        QFETCH(QString, message);
        folders->writeWorkFile(kFile, threeRecords());
        state->currentSiteIndex = 1;
        state->defaultSiteIndex = 2;
        const QString before = siteOf(*state);
        showDialog();
        setFields(lat, lon, tz);
        child<QCheckBox>(dlg.get(), "chkSummer")->setChecked(true);
        click(dlg.get(), "cmdOK");
        if (message.isEmpty()) {
            QVERIFY(recorder->messages.isEmpty());
            QVERIFY(!dlg->isVisible());
            QCOMPARE(state->siteLatitude, lat.trimmed().toDouble());
            QCOMPARE(state->siteLongitude, lon.trimmed().toDouble());
            QCOMPARE(state->siteTimeZone, tz.trimmed().toDouble());
            QCOMPARE(state->siteSummerTime, 1);
        } else {
            QCOMPARE(recorder->texts(), QStringList(message));
            QCOMPARE(recorder->messages[0].caption, QStringLiteral("Lunvelde"));
            QVERIFY(dlg->isVisible());
            QCOMPARE(siteOf(*state), before);

            registerWith("cmdNew");
            QVERIFY(regAtShow.isEmpty());
            QCOMPARE(recorder->texts(), QStringList({message, message}));
        }
        QCOMPARE(state->currentSiteIndex, 1);
        QCOMPARE(state->defaultSiteIndex, 2);
        QCOMPARE(siteFile(), threeRecords());
    }

    void okTakesATypedNameOverWithoutWriting()
    {
        folders->writeWorkFile(kFile, threeRecords());
        showDialog();
        // 11 double-byte characters: 22 bytes; the name is taken over as the
        // file would keep it, its first 14 bytes.
        const QString name = QStringLiteral("新しい観測地の名前です");
        typeText(cmbName()->lineEdit(), name);
        click(dlg.get(), "cmdOK");
        QCOMPARE(state->siteNameText, ui::toSjis(name.left(7)));
        QCOMPARE(std::strlen(state->siteName), std::size_t(14));
        QCOMPARE(ui::fromSjis(state->siteName), name.left(7));
        QCOMPARE(siteFile(), threeRecords());
        QCOMPARE(cmbName()->count(), 3);  // typing and OK added no list item
    }

    // The wave dash and the minus sign as input methods type them are stored
    // as those Shift-JIS characters, not as an unassigned code.
    void typedNamesKeepTheirShiftJisCharacters()
    {
        showDialog();
        typeText(cmbName()->lineEdit(), QStringLiteral("1〜2−3—4"));
        click(dlg.get(), "cmdOK");
        QCOMPARE(QByteArray::fromStdString(state->siteNameText), QByteArray("1\x81\x60" "2\x81\x7c" "3\x81\x5c" "4"));

        // A character Shift-JIS cannot hold is written as '?', never as a
        // substitute code that reads back as something else.
        QCOMPARE(QByteArray::fromStdString(ui::toSjis(QStringLiteral("Café€😀¥\\~あ"))),
                 QByteArray("Caf????\\~\x82\xa0"));
        // Without a Shift-JIS table nothing is lost silently either.
        QStringEncoder noEncoder("no-such-encoding");
        QStringDecoder noDecoder("no-such-encoding");
        QCOMPARE(QByteArray::fromStdString(ui::detail::encode(noEncoder, noDecoder, QStringLiteral("Aあ"))),
                 QByteArray("A?"));
        QCOMPARE(ui::detail::decode(noDecoder, "A\x82\xa0"), QStringLiteral("A\uFFFD\uFFFD"));
    }

    // Choosing fills the fields and moves currentSiteIndex at once, even when
    // the dialog is then cancelled; OK takes the first word of the name.
    void choosingARecord()
    {
        folders->writeWorkFile(kFile, threeRecords());
        const QString before = siteOf(*state);
        showDialog();
        choose(2);
        QCOMPARE(fields(), QStringLiteral("two| -35.67| -70.50| -4.00|-"));
        choose(1);
        QCOMPARE(fields(), QStringLiteral("東京|  35.69| 139.69|  9.00|S"));
        click(dlg.get(), "cmdCancel");
        QVERIFY(!dlg->isVisible());
        QCOMPARE(siteOf(*state), before);
        QCOMPARE(state->currentSiteIndex, 1);

        showDialog();
        choose(2);
        click(dlg.get(), "cmdOK");
        QCOMPARE(siteOf(*state), QStringLiteral("two|two|-35.67|-70.5|-4|0"));
        QCOMPARE(state->currentSiteIndex, 2);
        QVERIFY(recorder->messages.isEmpty());
    }

    void anUnreadableChoiceKeepsTheFields()
    {
        folders->writeWorkFile(kFile, threeRecords());
        showDialog();
        typeText(cmbName()->lineEdit(), QStringLiteral("入力中"));
        setFields(QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"));
        const QString shown = fields();
        // The file lost its last record since the list was made...
        folders->writeWorkFile(kFile, threeRecords().left(100));
        choose(2);
        QCOMPARE(recorder->count(kCannotRead), 1);
        QCOMPARE(fields(), shown);
        QCOMPARE(state->currentSiteIndex, 2);
        // ... and then went away.
        QFile::remove(kFile);
        choose(0);
        QCOMPARE(recorder->count(kCannotRead), 2);
        QCOMPARE(fields(), shown);
        QCOMPARE(state->currentSiteIndex, 0);
    }

    // With k names listed, two new records in one showing are k and k + 1,
    // the second (with the start-up box) becoming the default; a record that
    // someone else appended since makes the next one's real number count.
    // Registering changes neither the current site nor the list, and the
    // dialog stays open as it was.
    void newRecords()
    {
        const QByteArray three = threeRecords();
        folders->writeWorkFile(kFile, three);
        state->defaultSiteIndex = 1;
        const QString before = siteOf(*state);
        const auto numbers = [this] {
            return QList<int>({state->currentSiteIndex, dlg->siteCount, state->defaultSiteIndex});
        };
        showDialog();
        cmbName()->setEditText(QStringLiteral("新規"));
        setFields(QStringLiteral("-33.87"), QStringLiteral("151.21"), QStringLiteral("10"));
        child<QCheckBox>(dlg.get(), "chkSummer")->setChecked(true);
        const QByteArray added = rec(QStringLiteral("新規"), -33.87, 151.21, 10, 1);
        registerWith("cmdNew");
        QCOMPARE(regAtShow, QStringLiteral("cmdNew 30,50 unticked 5"));
        QCOMPARE(siteFile(), three + added);
        QCOMPARE(numbers(), QList<int>({3, 4, 1}));
        registerWith("cmdNew", true);
        QCOMPARE(siteFile(), three + added + added);
        QCOMPARE(numbers(), QList<int>({4, 5, 4}));

        folders->writeWorkFile(kFile, siteFile() + rec(QStringLiteral("x"), 1, 2, 3, 0));
        registerWith("cmdNew");
        QCOMPARE(numbers(), QList<int>({6, 7, 4}));

        QCOMPARE(siteOf(*state), before);
        QVERIFY(dlg->isVisible());
        QCOMPARE(fields(), QStringLiteral("新規|-33.87|151.21|10|S"));
        QCOMPARE(cmbName()->count(), 3);
        QVERIFY(recorder->messages.isEmpty());
    }

    void overwriteWithTheStartUpBoxReplacesTheChosenRecord()
    {
        const QByteArray three = threeRecords();
        folders->writeWorkFile(kFile, three);
        showDialog();
        choose(1);
        cmbName()->setEditText(QStringLiteral("東京駅"));
        registerWith("cmdOver", true);
        QByteArray expected = three;
        expected.replace(50, 50, rec(QStringLiteral("東京駅"), 35.69, 139.69, 9, 1));
        QCOMPARE(siteFile(), expected);
        QCOMPARE(state->currentSiteIndex, 1);
        QCOMPARE(state->defaultSiteIndex, 1);
        QCOMPARE(dlg->siteCount, 3);

        // Overwrite without the box: the start-up record stays.
        choose(2);
        registerWith("cmdOver");
        QCOMPARE(state->defaultSiteIndex, 1);
        QCOMPARE(siteFile().mid(100, 50), rec(QStringLiteral("two"), -35.67, -70.5, -4, 0));
    }

    // A name longer than the field: the registration dialog says what will
    // be kept before anything is written, and that is what the file gets;
    // a name that fits brings no note.
    void aNameTooLongIsCutAsTheRegistrationSays()
    {
        folders->writeWorkFile(kFile, threeRecords());
        setSiteName(*state, ui::toSjis(QStringLiteral("三鷹") + QString(12, ' ')));  // as loaded from the file
        showDialog();
        QCOMPARE(cmbName()->currentText(), QStringLiteral("三鷹"));
        QString note;
        for (const QString& name : {QStringLiteral("ロングイヤービーン"), QStringLiteral("三鷹  ")}) {
            cmbName()->setEditText(name);
            note = QStringLiteral("(none)");
            support::whileModal(reg, [&] {
                const QLabel* cut = child<QLabel>(reg, "lblCut");
                note = cut->isVisibleTo(reg) ? cut->text() : QString();
                click(reg, "cmdNew");
            });
            click(dlg.get(), "cmdWrite");
            if (name.size() > 7)
                QVERIFY2(note.contains(QStringLiteral("「ロングイヤービ」")), qPrintable(note));
            else
                QCOMPARE(note, QString());
        }
        QCOMPARE(siteFile().mid(150, 16), QByteArray::fromStdString(ui::toSjis(QStringLiteral("ロングイヤービ  "))));
        QCOMPARE(siteFile().mid(200, 16), QByteArray::fromStdString(ui::toSjis(QStringLiteral("三鷹") + QString(12, ' '))));
    }

    // Cancel and the close box answer cancel even with the box ticked, and
    // the next showing starts unticked.
    void cancelAndTheCloseBoxWriteNothing()
    {
        const QByteArray three = threeRecords();
        folders->writeWorkFile(kFile, three);
        state->defaultSiteIndex = 2;
        showDialog();
        registerWith("cmdCancel", true);
        QCOMPARE(reg->regResult, 5);
        registerWith(nullptr, true);
        QCOMPARE(reg->regResult, 5);
        QCOMPARE(siteFile(), three);
        QCOMPARE(state->defaultSiteIndex, 2);
        QCOMPARE(state->currentSiteIndex, 0);
        QCOMPARE(dlg->siteCount, 3);

        registerWith("cmdNew");
        QCOMPARE(regAtShow, QStringLiteral("cmdNew 30,50 unticked 5"));
        QCOMPARE(reg->regResult, 0);
        QCOMPARE(state->defaultSiteIndex, 2);
    }

    void writeFailuresShowTheirMessageAndChangeNothing()
    {
        // Append: the file's place is taken by a directory.
        QDir().mkdir(kFile);
        state->currentSiteIndex = 1;
        state->defaultSiteIndex = 1;
        dlg->siteCount = 2;
        showDialog();
        registerWith("cmdNew", true);
        QCOMPARE(recorder->texts(), QStringList(kAppendFailed));
        QCOMPARE(state->currentSiteIndex, 1);
        QCOMPARE(state->defaultSiteIndex, 1);
        QCOMPARE(dlg->siteCount, 2);

        // Overwrite: no file at all, then a record past the end of the file.
        QDir().rmdir(kFile);
        registerWith("cmdOver", true);
        QCOMPARE(recorder->count(kOverwriteFailed), 1);
        QVERIFY(!QFile::exists(kFile));

        const QByteArray one = rec(QStringLiteral("a"), 1, 2, 3, 0);
        folders->writeWorkFile(kFile, one);
        registerWith("cmdOver", true);
        QCOMPARE(recorder->count(kOverwriteFailed), 2);
        QCOMPARE(siteFile(), one);
        QCOMPARE(state->currentSiteIndex, 1);
        QCOMPARE(state->defaultSiteIndex, 1);
        QVERIFY(dlg->isVisible());

        // A pipe or a device in the file's place: listed as nothing, and
        // every registration refused, without waiting on it.
        QVERIFY(::mkfifo("pipe", 0600) == 0);
        ::alarm(60);  // a hang ends the test as a failure
        for (const char* target : {"pipe", "/dev/null", "/dev/zero"}) {
            QFile::remove(kFile);
            QVERIFY(QFile::link(QString::fromLatin1(target), kFile));
            dlg->funcShow();
            registerWith("cmdNew", true);
            registerWith("cmdOver", true);
        }
        ::alarm(0);
        QCOMPARE(recorder->count(kAppendFailed), 4);
        QCOMPARE(recorder->count(kOverwriteFailed), 5);
        QCOMPARE(state->currentSiteIndex, 1);
        QCOMPARE(state->defaultSiteIndex, 1);
    }

    // A lock another program holds for 30 s stops the window about a second
    // per write, which then writes nothing; a file swapped for a link since
    // the listing and a file out of step are refused with their own message.
    void heldLockedSwappedOrMisalignedFilesWriteNothingAndSaySo()
    {
        const QByteArray three = threeRecords();
        folders->writeWorkFile(kFile, three);
        showDialog();
        QProcess holder;
        holder.start(QStringLiteral("setsid"), {QStringLiteral("flock"), QStringLiteral("-x"), kFile,
                                                 QStringLiteral("sleep"), QStringLiteral("30")});
        QVERIFY(holder.waitForStarted());
        const int probe = ::open("obspoint.txt", O_RDONLY);
        QVERIFY(QTest::qWaitFor([probe] {
            return ::flock(probe, LOCK_EX | LOCK_NB) != 0 || ::flock(probe, LOCK_UN) != 0;
        }));
        ::close(probe);
        QElapsedTimer gap;
        qint64 longest = 0;
        QTimer tick;
        connect(&tick, &QTimer::timeout, [&] { longest = std::max(longest, gap.restart()); });
        gap.start();
        tick.start(10);
        registerWith("cmdNew", true);
        registerWith("cmdOver", true);
        tick.stop();
        ::kill(-static_cast<pid_t>(holder.processId()), SIGKILL);
        holder.waitForFinished();
        qInfo("longest stop of the window while the lock was held: %lld ms", longest);
        QVERIFY(longest >= sitefile::kLockWaitMs * 9 / 10 && longest < 2000);
        QCOMPARE(recorder->count(kBusy), 2);
        QCOMPARE(siteFile(), three);

        folders->writeWorkFile(QStringLiteral("other.txt"), three);
        QFile::remove(kFile);
        QVERIFY(QFile::link(QStringLiteral("other.txt"), kFile));
        registerWith("cmdNew", true);
        registerWith("cmdOver", true);
        QCOMPARE(recorder->count(kReplaced), 2);
        QCOMPARE(siteFile(), three);

        QFile::remove(kFile);
        folders->writeWorkFile(kFile, three + "abc\n");
        dlg->funcShow();
        registerWith("cmdNew", true);
        QCOMPARE(recorder->count(kNotAligned), 1);
        QCOMPARE(siteFile(), three + "abc\n");
        QCOMPARE(state->defaultSiteIndex, 0);

        // Beyond the listing's bound: the first lines are listed, and that
        // is said.
        folders->writeWorkFile(kFile, QByteArray(int(sitefile::kMaxListedLines) + 1, '\n'));
        dlg->funcShow();
        QCOMPARE(cmbName()->count(), int(sitefile::kMaxListedLines));
        QCOMPARE(recorder->texts().filter(QStringLiteral("大きすぎます")).size(), 1);
    }

    // Tab order, and neither Enter nor Escape presses a button, in both dialogs.
    void keyboard()
    {
        folders->writeWorkFile(kFile, threeRecords());
        showDialog();
        QCOMPARE(support::tabChain(cmbName(), 8), QStringList({"cmbName", "editLati", "editLongi", "editTz", "chkSummer",
                                                               "cmdOK", "cmdCancel", "cmdWrite", "cmbName"}));
        const QString before = siteOf(*state);
        setFields(QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"));
        support::pressEnterAndEscape({cmbName()->lineEdit(), edit("editLati"), child(dlg.get(), "cmdOK"),
                                      child(dlg.get(), "cmdCancel")});
        QVERIFY(dlg->isVisible());
        QCOMPARE(siteOf(*state), before);
        QCOMPARE(cmbName()->count(), 3);

        QStringList regOrder;
        bool stillOpen = false;
        support::whileModal(reg, [&] {
            regOrder = support::tabChain(child(reg, "cmdNew"), 4);
            support::pressEnterAndEscape({child(reg, "cmdNew"), child(reg, "cmdOver"), child(reg, "cmdCancel"),
                                          child(reg, "checkDefault")});
            stillOpen = reg->isVisible() && reg->regResult == 5;
            reg->reject();
        });
        click(dlg.get(), "cmdWrite");
        QCOMPARE(regOrder, QStringList({"cmdNew", "cmdOver", "cmdCancel", "checkDefault", "cmdNew"}));
        QVERIFY(stillOpen);
        QCOMPARE(siteFile(), threeRecords());
    }

    // After start-up the box shows the stored 16-byte name, the text of a
    // list item, here of two records (1 and 3). Enter in the box and leaving
    // it choose nothing: the fields keep record 3, which an overwrite replaces.
    // Nor does the wheel over the box while another field has the focus; it
    // steps the list only once the box has the focus.
    void leavingTheNameBoxChoosesNothing()
    {
        const auto wheelDown = [this] {
            const QPointF at(10, 10);
            QWheelEvent wheel(at, cmbName()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(cmbName(), &wheel);
        };
        folders->writeWorkFile(kFile, threeRecords() + rec(QStringLiteral("東京"), 1.5, 2.5, 3.5, 0));
        state->defaultSiteIndex = 3;
        QCOMPARE(TcLocate::loadSite(*state), 0);
        showDialog();
        QVERIFY(support::activate(dlg.get()));
        QCOMPARE(QApplication::focusWidget(), cmbName());
        QTest::keyClick(cmbName()->lineEdit(), Qt::Key_Return);
        QTest::keyClick(cmbName()->lineEdit(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), edit("editLati"));
        wheelDown();
        QCOMPARE(QApplication::focusWidget(), edit("editLati"));
        QCOMPARE(fields(), cmbName()->itemText(3) + QStringLiteral("|   1.50|   2.50|  3.50|-"));
        QCOMPARE(state->currentSiteIndex, 3);
        QVERIFY(recorder->messages.isEmpty());

        cmbName()->setFocus();
        cmbName()->setCurrentIndex(1);
        wheelDown();
        QCOMPARE(state->currentSiteIndex, 2);
        QCOMPARE(fields(), QStringLiteral("two| -35.67| -70.50| -4.00|-"));
    }

    // A file without a whole record counts as present: the default site,
    // and no message.
    void startUpLoadOfAFileWithoutARecord()
    {
        folders->writeWorkFile(kFile, "abc");
        state->defaultSiteIndex = 2;
        QCOMPARE(TcLocate::loadSite(*state), 0);
        QCOMPARE(state->defaultSiteIndex, 0);
        QCOMPARE(ui::fromSjis(state->siteName), QStringLiteral("三鷹"));
        QVERIFY(recorder->messages.isEmpty());
    }
};

LUNVELDE_GUI_TEST_MAIN(TestSites)

#include "tst_sites.moc"
