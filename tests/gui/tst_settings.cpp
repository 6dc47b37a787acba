// The settings file against hostile disks and environments: how its values
// are read, and that a close never loses them (temporary folder unusable,
// disk full, file size limit, a file unreadable at start, a link, a relative
// XDG_CONFIG_HOME).
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <csignal>
#include <memory>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/frmMain.h"
#include "app/settingsStore.h"
#include "app/today.h"
#include "platform/regularFile.h"
#include "support.h"

namespace {

QByteArray record(const QByteArray& name, double lat, double lon)
{
    return name.leftJustified(16, ' ') + QString::asprintf("%7.2f,%7.2f,%6.2f, 0000,%2d,\r\n", lat, lon, 9.0, 0).toLatin1();
}

const QByteArray kSites = record("Tokyo", 35.69, 139.69) + record("Kyoto", 35.01, 135.77) +
                          record("Sapporo", 43.06, 141.35);

QByteArray settingsText(int top, int left, int initData)
{
    return QString::asprintf("[General]\nWindowTop=%d\nWindowLeft=%d\ninitData=%d\n", top, left, initData).toLatin1();
}

struct Program {
    TcMainState state;
    TcCalc calc {state};
    std::unique_ptr<TcMain> main;

    void open()
    {
        main = std::make_unique<TcMain>(state, calc);
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    }
};

}  // namespace

class TestSettings : public QObject {
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

    // The values are read from the file's bytes as the toolkit's INI reader
    // takes them (the toolkit itself reads a copy here, as the reference).
    void settingsAreReadAsTheToolkitReadsThem()
    {
        const QByteArray good = settingsText(230, 310, 2);
        const QList<QByteArray> texts {
            good, "WindowLeft=310\ninitData=2\nWindowTop=230\n", "\xEF\xBB\xBF" + good,
            QByteArray(good).replace("\n", "\r\n"), QByteArray(good).replace("[General]", "[general]"),
            QByteArray(good).replace("[General]", "[Other]"), QByteArray(good).replace("[General]\n", ""),
            good + "[Other]\nWindowTop=5\n", good + "WindowTop=5\n", "[Other]\nWindowTop=1\n" + good,
            QByteArray(good).replace("=230", " = 230 "), QByteArray(good).replace("=230", "=\"230\""),
            QByteArray(good).replace("=230", "=+230"), QByteArray(good).replace("=230", "=0230"),
            QByteArray(good).replace("=230", "=230,1"), QByteArray(good).replace("=230", "=@Variant(230)"),
            QByteArray(good).replace("=230", "=0x10"), QByteArray(good).replace("WindowTop", "windowtop"),
            QByteArray(good).replace("[General]", "[General"), ";c\n" + good, "#c\n" + good,
            good + "[Other\n", "junk\n" + good, good + "[Other]\njunk\n", good + "\n\n",QByteArray(good).replace("=230", "=-2147483648"),
        };
        QTemporaryDir dir;
        QStringList differ;
        for (const QByteArray& text : texts) {
            // A file of its own for each text: the toolkit keeps what it read
            // of a file until the file's time or size changes.
            const QString file = dir.filePath(QString::number(differ.size() + qHash(text)) + QStringLiteral(".conf"));
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) == text.size());
            f.close();
            const QSettings reference(file, QSettings::IniFormat);
            QList<qlonglong> want;
            for (const char* key : {"WindowTop", "WindowLeft", "initData"}) {
                bool ok = false;
                const qlonglong n = reference.value(QLatin1String(key)).toString().toLongLong(&ok);
                if (ok && n == qint32(n) && reference.status() == QSettings::NoError)
                    want << n;
            }
            ::settings::Values v;
            const bool read = ::settings::parseText(text, v);
            if (read != (want.size() == 3) || (read && QList<qlonglong> {v.top, v.left, v.initData} != want))
                differ << QString::fromUtf8(text.toPercentEncoding());
        }
        QVERIFY2(differ.isEmpty(), qPrintable(differ.join(QLatin1Char('\n'))));
    }

    // Settings are never lost to the disk or the temporary folder: read
    // without the temporary folder; a full disk or a file size limit keeps
    // the file as it was and asks; a file unreadable at start is not
    // replaced at close; a link is written through, keeping its target's
    // mode; a relative XDG_CONFIG_HOME is ignored.
    void settingsSurviveTheDiskAndTheEnvironment()
    {
        const QString file = folders->configDir() + QStringLiteral("/Qorvex/lunvelde.conf");
        const QByteArray good = "[General]\nWindowLeft=310\nWindowTop=230\ninitData=2\n";  // as a close writes it
        const QByteArray tmp = qgetenv("TMPDIR");
        folders->writeSettingsText(good);
        folders->writeWorkFile(QStringLiteral("obspoint.txt"), kSites);
        qputenv("TMPDIR", QFile::encodeName(file));  // a file: no temporary file can be made there
        {
            Program p;
            p.open();
            QCOMPARE(p.main->pos(), QPoint(310, 230));
            QCOMPARE(p.state.defaultSiteIndex, 2);
            QVERIFY(p.main->close());
        }
        qputenv("TMPDIR", tmp);
        QCOMPARE(folders->settingsText(), good);
        QCOMPARE(QDir(folders->configDir() + QStringLiteral("/Qorvex")).entryList(QDir::Files | QDir::Hidden).size(), 1);

        // A write that fails at any byte (a file size limit of 0, 20 or 45
        // bytes: the text is 50) keeps the file and asks.
        fileio::failWritesPastSizeLimit();
        for (rlim_t limit : {rlim_t(0), rlim_t(20), rlim_t(45)}) {
            Program p;
            p.open();
            p.main->move(140, 160);
            rlimit old {};
            ::getrlimit(RLIMIT_FSIZE, &old);
            rlimit small = old;
            small.rlim_cur = limit;
            ::setrlimit(RLIMIT_FSIZE, &small);
            const bool closed = p.main->close();
            ui::setHookedAnswer(true);  // the second close ends without the settings
            const bool closedAfterAsking = p.main->close();
            ui::setHookedAnswer(false);
            ::setrlimit(RLIMIT_FSIZE, &old);
            QVERIFY2(!closed && closedAfterAsking, QByteArray::number(qulonglong(limit)).constData());
            QCOMPARE(folders->settingsText(), good);
        }
        ::signal(SIGXFSZ, SIG_DFL);
        QCOMPARE(folders->settingsText(), good);

        // The same on a full disk (a tiny file system; needs the right to
        // mount): with no page free, and with one page, where the copy fits
        // but the toolkit's write of it does not.
        const QString disk = folders->configDir() + QStringLiteral("/Qorvex");
        for (int freePages : {0, 1}) {
            if (::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=16k") != 0) {
                qWarning("cannot mount a tmpfs: the full-disk case is not checked");
                break;
            }
            auto unmount = qScopeGuard([&disk] { ::umount(QFile::encodeName(disk).constData()); });
            folders->writeSettingsText(good);
            QFile filler(disk + QStringLiteral("/filler"));
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            while (filler.write(QByteArray(512, 'x')) == 512) {
            }
            QVERIFY(filler.resize(filler.size() - 4096 * freePages));
            filler.close();
            {
                Program p;
                p.open();
                p.main->move(140, 160);
                QVERIFY2(!p.main->close(), QByteArray::number(freePages).constData());
                QCOMPARE(folders->settingsText(), good);
                ui::setHookedAnswer(true);
                QVERIFY(p.main->close());
                ui::setHookedAnswer(false);
            }
            QCOMPARE(folders->settingsText(), good);
            QCOMPARE(QDir(disk).entryList(QDir::Files | QDir::Hidden).size(), 2);
        }

        // Not readable at start (a pipe), a good file by the close: kept.
        QFile::remove(file);
        QVERIFY(::mkfifo(QFile::encodeName(file).constData(), 0600) == 0);
        {
            Program p;
            p.open();
            QFile::remove(file);
            folders->writeSettingsText(good);
            QVERIFY(!p.main->close());
            ui::setHookedAnswer(true);
            QVERIFY(p.main->close());
            ui::setHookedAnswer(false);
        }
        QCOMPARE(folders->settingsText(), good);

        // A link: its target takes the values and keeps its mode.
        const QString target = folders->configDir() + QStringLiteral("/elsewhere.conf");
        QFile::remove(file);
        QFile t(target);
        QVERIFY(t.open(QIODevice::WriteOnly) && t.write(good) == good.size());
        t.close();
        QVERIFY(::chmod(QFile::encodeName(target).constData(), 0640) == 0);
        QVERIFY(QFile::link(target, file));
        {
            Program p;
            p.open();
            QCOMPARE(p.main->pos(), QPoint(310, 230));
            p.main->move(140, 160);
            QVERIFY(p.main->close());
        }
        QVERIFY(QFileInfo(file).isSymLink());
        QCOMPARE(support::storedSettings(), (QList<int> {160, 140, 2}));
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(target).constData(), &st) == 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0640));

        // A relative XDG_CONFIG_HOME: the settings go under HOME.
        const QByteArray config = qgetenv("XDG_CONFIG_HOME");
        const QByteArray home = qgetenv("HOME");
        qputenv("XDG_CONFIG_HOME", "relative");
        qputenv("HOME", QFile::encodeName(folders->configDir() + QStringLiteral("/home")));
        const QString expected = folders->configDir() + QStringLiteral("/home/.config/Qorvex/lunvelde.conf");
        const bool pathIgnoresIt = ::settings::path() == expected;
        {
            Program p;
            p.open();
            QVERIFY(p.main->close());
        }
        qputenv("XDG_CONFIG_HOME", config);
        qputenv("HOME", home);
        QVERIFY(pathIgnoresIt);
        QVERIFY(!QFileInfo::exists(QStringLiteral("relative")));
        QVERIFY(QFileInfo::exists(expected));
    }
};

LUNVELDE_GUI_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
