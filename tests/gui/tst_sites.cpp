// The site dialog and the registration dialog, driven as a user would.
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstring>
#include <functional>
#include <memory>

#include "app/mainState.h"
#include "sites/frmLoc.h"
#include "sites/frmReg.h"
#include "sites/siteFile.h"
#include "support.h"
#include "ui/fonts.h"
#include "ui/sjis.h"

namespace {

const QString kNotANumber = QStringLiteral("入力した数字が不正です。");
const QString kOutOfRange = QStringLiteral("入力した数字の範囲が不正です。");
const QString kCannotRead = QStringLiteral("ファイルが読めません");
const QString kOverwriteFailed = QStringLiteral("観測地ファイルにアクセスできません。");
const QString kAppendFailed = QStringLiteral("観測地ファイルにアクセスできません");
const QString kNoFile = QStringLiteral("観測地ファイルがありません。");

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
    QFile f(QString::fromLatin1(sitefile::kFileName));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

// The site members a test compares before and after.
struct Site {
    std::string name;
    std::string text;
    double lat, lon, tz;
    int summer;
    bool operator==(const Site& o) const
    {
        return name == o.name && text == o.text && lat == o.lat && lon == o.lon && tz == o.tz && summer == o.summer;
    }
};

Site siteOf(const TcMainState& s)
{
    return {std::string(s.siteName), s.siteNameText, s.siteLatitude, s.siteLongitude, s.siteTimeZone,
            s.siteSummerTime};
}

}  // namespace

class TestSites : public QObject {
    Q_OBJECT

    std::unique_ptr<support::TestFolders> folders;
    std::unique_ptr<support::MessageRecorder> recorder;
    std::unique_ptr<TcMainState> state;
    std::unique_ptr<TcLocate> dlg;
    TcReg* reg = nullptr;

    // What the last answered registration dialog looked like when it came up.
    bool regSeen = false;
    int answerGeneration = 0;  // a poller of an earlier test stops
    bool regTickedAtShow = true;
    int regResultAtShow = -1;

    template <typename T>
    T* child(QWidget* w, const char* name)
    {
        T* c = w->findChild<T*>(QLatin1String(name));
        if (!c)
            qFatal("no control %s", name);
        return c;
    }
    QComboBox* cmbName() { return child<QComboBox>(dlg.get(), "cmbName"); }
    QLineEdit* edit(const char* name) { return child<QLineEdit>(dlg.get(), name); }
    QCheckBox* chkSummer() { return child<QCheckBox>(dlg.get(), "chkSummer"); }
    QPushButton* button(const char* name) { return child<QPushButton>(dlg.get(), name); }

    void setFields(const QString& lat, const QString& lon, const QString& tz)
    {
        edit("editLati")->setText(lat);
        edit("editLongi")->setText(lon);
        edit("editTz")->setText(tz);
    }

    QString fields()
    {
        return cmbName()->currentText() + '|' + edit("editLati")->text() + '|' + edit("editLongi")->text() + '|' +
               edit("editTz")->text() + '|' + (chkSummer()->isChecked() ? "S" : "-");
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

    // Answers the registration dialog that the register button is about to
    // open: optionally ticks the start-up box, then acts.
    void answerReg(std::function<void(TcReg*)> act, bool tick = false, int attempts = 200)
    {
        answerRegLater(answerGeneration, std::move(act), tick, attempts);
    }
    void answerRegLater(int generation, std::function<void(TcReg*)> act, bool tick, int attempts)
    {
        QTimer::singleShot(5, this, [this, generation, act, tick, attempts] {
            if (generation != answerGeneration)
                return;
            auto* r = qobject_cast<TcReg*>(QApplication::activeModalWidget());
            if (!r || !r->isVisible()) {
                if (attempts > 0)
                    answerRegLater(generation, act, tick, attempts - 1);
                return;
            }
            regSeen = true;
            regTickedAtShow = child<QCheckBox>(r, "checkDefault")->isChecked();
            regResultAtShow = r->regResult;
            if (tick)
                QTest::mouseClick(child<QCheckBox>(r, "checkDefault"), Qt::LeftButton);
            act(r);
        });
    }
    void regPress(const char* buttonName, bool tick = false)
    {
        const QString name = QLatin1String(buttonName);
        answerReg([this, name](TcReg* r) { QTest::mouseClick(child<QPushButton>(r, qPrintable(name)), Qt::LeftButton); },
                  tick);
    }
    // Presses the register button and lets the registration dialog answer.
    void registerWith(const char* regButton, bool tick = false)
    {
        regSeen = false;
        regPress(regButton, tick);
        QTest::mouseClick(button("cmdWrite"), Qt::LeftButton);
        QVERIFY(regSeen);
    }

    // Types text into a field as an input method commits it (the way
    // Japanese text arrives), replacing what the field held.
    static void typeText(QLineEdit* field, const QString& text)
    {
        field->selectAll();
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(field, &commit);
    }

    void showDialog()
    {
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
    }

private slots:
    void initTestCase()
    {
        ui::installFontSubstitutes();
        QApplication::setFont(ui::dialogFont());
    }

    void init()
    {
        folders = std::make_unique<support::TestFolders>();
        recorder = std::make_unique<support::MessageRecorder>();
        state = std::make_unique<TcMainState>();
        putDefaultSite(*state);
        dlg = std::make_unique<TcLocate>(*state, nullptr);
        reg = new TcReg(dlg.get());
        dlg->setReg(reg);
        regSeen = false;
    }

    void cleanup()
    {
        ++answerGeneration;
        dlg.reset();  // deletes reg with it
        reg = nullptr;
        state.reset();
        recorder.reset();
        folders.reset();
    }

    // -----------------------------------------------------------------------
    void tabOrderAndPlacement()
    {
        QCOMPARE(cmbName()->maxVisibleItems(), 7);
        // Tab order, followed with the Tab key; every control is found by its
        // form name.
        showDialog();
        QApplication::setActiveWindow(dlg.get());
        cmbName()->setFocus();
        QStringList order;
        for (int i = 0; i < 8; ++i) {
            QWidget* f = QApplication::focusWidget();
            QVERIFY(f);
            if (f == cmbName()->lineEdit())
                f = cmbName();
            order << f->objectName();
            QTest::keyClick(f, Qt::Key_Tab);
        }
        QCOMPARE(order, QStringList({"cmbName", "editLati", "editLongi", "editTz", "chkSummer", "cmdOK", "cmdCancel",
                                     "cmdWrite"}));

        QStringList regOrder;
        answerReg([&regOrder, this](TcReg* r) {
            for (int i = 0; i < 4; ++i) {
                QWidget* f = QApplication::focusWidget();
                regOrder << (f ? f->objectName() : QString());
                if (f)
                    QTest::keyClick(f, Qt::Key_Tab);
            }
            QTest::mouseClick(child<QPushButton>(r, "cmdCancel"), Qt::LeftButton);
        });
        QTest::mouseClick(button("cmdWrite"), Qt::LeftButton);
        QCOMPARE(regOrder, QStringList({"cmdNew", "cmdOver", "cmdCancel", "checkDefault"}));
        QVERIFY(child<QLabel>(reg, "LabelCaption"));
        for (const char* name : {"lblLati", "cmbLongi", "cmbTz"})
            QVERIFY(child<QLabel>(dlg.get(), name));
        // Placed 30 right of and 50 below the site dialog.
        QCOMPARE(reg->pos(), dlg->pos() + QPoint(30, 50));
    }

    // -----------------------------------------------------------------------
    void showListsTheFileAndTheCurrentSite()
    {
        folders->writeWorkFile(QStringLiteral("obspoint.txt"), threeRecords() + "no line end");
        setSiteName(*state, ui::toSjis(QStringLiteral("現在地")));
        state->siteLatitude = -33.87;
        state->siteLongitude = 285.99;
        state->siteTimeZone = -5;
        state->siteSummerTime = 1;
        showDialog();
        QCOMPARE(cmbName()->count(), 3);
        QCOMPARE(cmbName()->itemText(0), QStringLiteral("三鷹") + QString(12, ' '));
        QCOMPARE(cmbName()->itemText(2), QStringLiteral("two words       "));
        QCOMPARE(cmbName()->currentIndex(), -1);
        QCOMPARE(fields(), QStringLiteral("現在地| -33.87| 285.99| -5.00|S"));
        QCOMPARE(dlg->siteCount, 3);

        // Shown again without a file: empty list, siteCount kept, no message.
        dlg->hide();
        QFile::remove(QStringLiteral("obspoint.txt"));
        dlg->siteCount = 9;
        state->siteSummerTime = 0;
        showDialog();
        QCOMPARE(cmbName()->count(), 0);
        QCOMPARE(dlg->siteCount, 9);
        QCOMPARE(fields(), QStringLiteral("現在地| -33.87| 285.99| -5.00|-"));
        QVERIFY(recorder->messages.isEmpty());
    }

    // -----------------------------------------------------------------------
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
        QTest::newRow("latitude -90.01") << "-90.01" << "0" << "0" << kOutOfRange;
        QTest::newRow("longitude 360.11") << "0" << "360.11" << "0" << kOutOfRange;
        QTest::newRow("longitude -180.11") << "0" << "-180.11" << "0" << kOutOfRange;
        QTest::newRow("offset 12.11") << "0" << "0" << "12.11" << kOutOfRange;
        QTest::newRow("offset -12.11") << "0" << "0" << "-12.11" << kOutOfRange;
        QTest::newRow("empty latitude") << "" << "0" << "0" << kNotANumber;
        QTest::newRow("letters") << "abc" << "0" << "0" << kNotANumber;
        QTest::newRow("letters after a range fault") << "100" << "0" << "9x" << kNotANumber;
        QTest::newRow("comma") << "35,5" << "0" << "0" << kNotANumber;
    }
    void okChecksTheFields()
    {
        QFETCH(QString, lat);
        QFETCH(QString, lon);
        QFETCH(QString, tz);
        QFETCH(QString, message);
        folders->writeWorkFile(QStringLiteral("obspoint.txt"), threeRecords());
        const QByteArray fileBefore = siteFile();
        state->currentSiteIndex = 1;
        state->defaultSiteIndex = 2;
        const Site before = siteOf(*state);
        showDialog();
        setFields(lat, lon, tz);
        chkSummer()->setChecked(true);
        QTest::mouseClick(button("cmdOK"), Qt::LeftButton);
        if (message.isEmpty()) {
            QVERIFY(recorder->messages.isEmpty());
            QVERIFY(!dlg->isVisible());
            QCOMPARE(state->siteLatitude, lat.trimmed().toDouble());
            QCOMPARE(state->siteLongitude, lon.trimmed().toDouble());
            QCOMPARE(state->siteTimeZone, tz.trimmed().toDouble());
            QCOMPARE(state->siteSummerTime, 1);
        } else {
            QCOMPARE(recorder->messages.size(), 1);
            QCOMPARE(recorder->messages[0].text, message);
            QCOMPARE(recorder->messages[0].caption, QStringLiteral("Lunvelde"));
            QVERIFY(dlg->isVisible());
            QVERIFY(siteOf(*state) == before);
        }
        QCOMPARE(state->currentSiteIndex, 1);
        QCOMPARE(state->defaultSiteIndex, 2);
        QCOMPARE(siteFile(), fileBefore);

        // The register button checks the same way, before asking anything.
        if (!message.isEmpty()) {
            recorder->messages.clear();
            regSeen = false;
            regPress("cmdNew");
            QTest::mouseClick(button("cmdWrite"), Qt::LeftButton);
            QTest::qWait(30);
            QVERIFY(!regSeen);
            QCOMPARE(recorder->messages.size(), 1);
            QCOMPARE(recorder->messages[0].text, message);
            QCOMPARE(siteFile(), fileBefore);
        }
    }

    // -----------------------------------------------------------------------
    void okTakesATypedNameOverWithoutWriting()
    {
        folders->writeWorkFile(QStringLiteral("obspoint.txt"), threeRecords());
        showDialog();
        // 11 double-byte characters: 22 bytes, siteName keeps the first 16.
        const QString name = QStringLiteral("新しい観測地の名前です");
        typeText(cmbName()->lineEdit(), name);
        QTest::mouseClick(button("cmdOK"), Qt::LeftButton);
        QCOMPARE(state->siteNameText, ui::toSjis(name));
        QCOMPARE(std::strlen(state->siteName), std::size_t(16));
        QCOMPARE(ui::fromSjis(state->siteName), name.left(8));
        QCOMPARE(siteFile(), threeRecords());
        QCOMPARE(cmbName()->count(), 3);  // typing and OK added no list item
    }

    // -----------------------------------------------------------------------
    void selectThenCancelMovesOnlyTheCurrentRecord()
    {
        folders->writeWorkFile(QStringLiteral("obspoint.txt"), threeRecords());
        const Site before = siteOf(*state);
        showDialog();
        choose(2);
        QCOMPARE(fields(), QStringLiteral("two| -35.67| -70.50| -4.00|-"));
        QCOMPARE(state->currentSiteIndex, 2);
        choose(1);
        QCOMPARE(fields(), QStringLiteral("東京|  35.69| 139.69|  9.00|S"));
        QTest::mouseClick(button("cmdCancel"), Qt::LeftButton);
        QVERIFY(!dlg->isVisible());
        QVERIFY(siteOf(*state) == before);
        QCOMPARE(state->currentSiteIndex, 1);
        QVERIFY(recorder->messages.isEmpty());
    }

    void selectThenOkTakesTheWordOfTheName()
    {
        folders->writeWorkFile(QStringLiteral("obspoint.txt"), threeRecords());
        showDialog();
        choose(2);
        QTest::mouseClick(button("cmdOK"), Qt::LeftButton);
        QCOMPARE(state->siteNameText, std::string("two"));
        QCOMPARE(state->siteLatitude, -35.67);
        QCOMPARE(state->siteLongitude, -70.5);
        QCOMPARE(state->siteTimeZone, -4.0);
        QCOMPARE(state->currentSiteIndex, 2);
    }

    void anUnreadableChoiceKeepsTheFields()
    {
        folders->writeWorkFile(QStringLiteral("obspoint.txt"), threeRecords());
        showDialog();
        typeText(cmbName()->lineEdit(), QStringLiteral("入力中"));
        setFields(QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"));
        const QString shown = fields();
        // The file lost its last record since the list was made...
        folders->writeWorkFile(QStringLiteral("obspoint.txt"), threeRecords().left(100));
        choose(2);
        QCOMPARE(recorder->count(kCannotRead), 1);
        QCOMPARE(fields(), shown);
        QCOMPARE(state->currentSiteIndex, 2);
        // ... and then went away.
        QFile::remove(QStringLiteral("obspoint.txt"));
        choose(0);
        QCOMPARE(recorder->count(kCannotRead), 2);
        QCOMPARE(fields(), shown);
        QCOMPARE(state->currentSiteIndex, 0);
    }

    // -----------------------------------------------------------------------
    void twoNewRecordsInOneShowingAreKAndKPlusOne()
    {
        const QByteArray three = threeRecords();
        folders->writeWorkFile(QStringLiteral("obspoint.txt"), three);
        state->defaultSiteIndex = 1;
        const Site before = siteOf(*state);
        showDialog();
        cmbName()->setEditText(QStringLiteral("新規"));
        setFields(QStringLiteral("-33.87"), QStringLiteral("151.21"), QStringLiteral("10"));
        chkSummer()->setChecked(true);
        registerWith("cmdNew");
        QCOMPARE(regResultAtShow, 5);
        QCOMPARE(state->currentSiteIndex, 3);
        QCOMPARE(dlg->siteCount, 4);
        const QByteArray added = rec(QStringLiteral("新規"), -33.87, 151.21, 10, 1);
        QCOMPARE(siteFile(), three + added);

        registerWith("cmdNew");
        QCOMPARE(state->currentSiteIndex, 4);
        QCOMPARE(dlg->siteCount, 5);
        QCOMPARE(siteFile(), three + added + added);

        // Registering changes neither the current site nor the start-up record,
        // and the dialog stays open with its fields and list as they were.
        QVERIFY(siteOf(*state) == before);
        QCOMPARE(state->defaultSiteIndex, 1);
        QVERIFY(dlg->isVisible());
        QCOMPARE(fields(), QStringLiteral("新規|-33.87|151.21|10|S"));
        QCOMPARE(cmbName()->count(), 3);
        QVERIFY(recorder->messages.isEmpty());
    }

    void newRecordIntoAMissingFileCreatesIt()
    {
        showDialog();
        QCOMPARE(cmbName()->count(), 0);
        registerWith("cmdNew", true);
        QCOMPARE(siteFile(), rec(QStringLiteral("三鷹"), 35.67, 139.5, 9, 0));
        QCOMPARE(state->currentSiteIndex, 0);
        QCOMPARE(state->defaultSiteIndex, 0);
        QCOMPARE(dlg->siteCount, 1);
    }

    void newWithTheStartUpBoxMakesItTheDefault()
    {
        folders->writeWorkFile(QStringLiteral("obspoint.txt"), threeRecords());
        showDialog();
        registerWith("cmdNew", true);
        QCOMPARE(state->currentSiteIndex, 3);
        QCOMPARE(state->defaultSiteIndex, 3);

        // The next start loads it.
        TcMainState next;
        next.defaultSiteIndex = state->defaultSiteIndex;
        QCOMPARE(TcLocate::loadSite(next), 0);
        QCOMPARE(next.siteNameText, ui::toSjis(QStringLiteral("三鷹")) + std::string(12, ' '));
        QCOMPARE(next.currentSiteIndex, 3);
    }

    void overwriteWithTheStartUpBoxReplacesTheChosenRecord()
    {
        const QByteArray three = threeRecords();
        folders->writeWorkFile(QStringLiteral("obspoint.txt"), three);
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

    void cancelAndTheCloseBoxWriteNothing()
    {
        const QByteArray three = threeRecords();
        folders->writeWorkFile(QStringLiteral("obspoint.txt"), three);
        state->defaultSiteIndex = 2;
        showDialog();
        registerWith("cmdCancel", true);
        QCOMPARE(reg->regResult, 5);

        regSeen = false;
        answerReg([](TcReg* r) { r->close(); }, true);
        QTest::mouseClick(button("cmdWrite"), Qt::LeftButton);
        QVERIFY(regSeen);
        QCOMPARE(reg->regResult, 5);

        QCOMPARE(siteFile(), three);
        QCOMPARE(state->defaultSiteIndex, 2);
        QCOMPARE(state->currentSiteIndex, 0);
        QCOMPARE(dlg->siteCount, 3);
    }

    void theStartUpBoxIsUntickedAtEveryShowing()
    {
        folders->writeWorkFile(QStringLiteral("obspoint.txt"), threeRecords());
        showDialog();
        registerWith("cmdCancel", true);
        QVERIFY(!regTickedAtShow);
        registerWith("cmdNew");
        QVERIFY(!regTickedAtShow);
        QCOMPARE(regResultAtShow, 5);
        QCOMPARE(reg->regResult, 0);
        QCOMPARE(state->defaultSiteIndex, 0);
    }

    // -----------------------------------------------------------------------
    void writeFailuresShowTheirMessageAndChangeNothing()
    {
        // Append: the file's place is taken by a directory.
        QDir().mkdir(QStringLiteral("obspoint.txt"));
        state->currentSiteIndex = 1;
        state->defaultSiteIndex = 1;
        dlg->siteCount = 2;
        showDialog();
        registerWith("cmdNew", true);
        QCOMPARE(recorder->messages.size(), 1);
        QCOMPARE(recorder->messages[0].text, kAppendFailed);
        QCOMPARE(state->currentSiteIndex, 1);
        QCOMPARE(state->defaultSiteIndex, 1);
        QCOMPARE(dlg->siteCount, 2);

        // Overwrite: no file at all, then a record past the end of the file.
        QDir().rmdir(QStringLiteral("obspoint.txt"));
        recorder->messages.clear();
        registerWith("cmdOver", true);
        QCOMPARE(recorder->messages.size(), 1);
        QCOMPARE(recorder->messages[0].text, kOverwriteFailed);
        QVERIFY(!QFile::exists(QStringLiteral("obspoint.txt")));

        const QByteArray one = rec(QStringLiteral("a"), 1, 2, 3, 0);
        folders->writeWorkFile(QStringLiteral("obspoint.txt"), one);
        registerWith("cmdOver", true);
        QCOMPARE(recorder->count(kOverwriteFailed), 2);
        QCOMPARE(siteFile(), one);
        QCOMPARE(state->currentSiteIndex, 1);
        QCOMPARE(state->defaultSiteIndex, 1);
        QVERIFY(dlg->isVisible());
    }

    // -----------------------------------------------------------------------
    void enterAndEscapePressNoButton()
    {
        folders->writeWorkFile(QStringLiteral("obspoint.txt"), threeRecords());
        showDialog();
        QApplication::setActiveWindow(dlg.get());
        const Site before = siteOf(*state);
        setFields(QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"));
        for (QWidget* w : {static_cast<QWidget*>(cmbName()->lineEdit()), static_cast<QWidget*>(edit("editLati")),
                           static_cast<QWidget*>(button("cmdOK")), static_cast<QWidget*>(button("cmdCancel"))}) {
            w->setFocus();
            QTest::keyClick(w, Qt::Key_Return);
            QTest::keyClick(w, Qt::Key_Enter);
            QTest::keyClick(w, Qt::Key_Escape);
            QVERIFY2(dlg->isVisible(), qPrintable(w->objectName()));
        }
        QVERIFY(siteOf(*state) == before);
        QCOMPARE(cmbName()->count(), 3);

        bool stillOpen = false;
        regSeen = false;
        answerReg([&stillOpen, this](TcReg* r) {
            for (const char* name : {"cmdNew", "cmdOver", "cmdCancel", "checkDefault"}) {
                QWidget* w = child<QWidget>(r, name);
                w->setFocus();
                QTest::keyClick(w, Qt::Key_Return);
                QTest::keyClick(w, Qt::Key_Escape);
            }
            stillOpen = r->isVisible() && r->regResult == 5;
            QTest::mouseClick(child<QPushButton>(r, "cmdCancel"), Qt::LeftButton);
        });
        QTest::mouseClick(button("cmdWrite"), Qt::LeftButton);
        QVERIFY(regSeen);
        QVERIFY(stillOpen);
        QCOMPARE(siteFile(), threeRecords());
    }

    // -----------------------------------------------------------------------
    void startUpLoadReportsOnlyAMissingFile()
    {
        TcMainState s;
        s.defaultSiteIndex = 4;
        QCOMPARE(TcLocate::loadSite(s), 2);
        QCOMPARE(recorder->messages.size(), 1);
        QCOMPARE(recorder->messages[0].text, kNoFile);
        QCOMPARE(ui::fromSjis(s.siteName), QStringLiteral("三鷹"));

        recorder->messages.clear();
        folders->writeWorkFile(QStringLiteral("obspoint.txt"), threeRecords());
        s.defaultSiteIndex = 7;
        QCOMPARE(TcLocate::loadSite(s), 0);
        QCOMPARE(s.defaultSiteIndex, 2);
        QCOMPARE(s.siteLatitude, -35.67);

        // A file without a whole record: the default site, no message, and
        // the dialog can still add the first record.
        folders->writeWorkFile(QStringLiteral("obspoint.txt"), "abc");
        QCOMPARE(TcLocate::loadSite(s), 0);
        QCOMPARE(s.defaultSiteIndex, 0);
        QCOMPARE(ui::fromSjis(s.siteName), QStringLiteral("三鷹"));
        QVERIFY(recorder->messages.isEmpty());
    }
};

LUNVELDE_GUI_TEST_MAIN(TestSites)

#include "tst_sites.moc"
