// The help window and the compiled help file: finding the reader,
// showing the default topic, a window that answers while a file is read, following links, one window for every request,
// reporting a missing file, and the committed file matching its sources.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QDesktopServices>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QtEndian>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "support.h"
#include "app/helpViewer.h"
#include "chm/helpFile.h"
#include "chm/helpParse.h"

namespace {

const QString kSourceDir = QStringLiteral(LUNVELDE_SOURCE_DIR);
const QString kChm = QStringLiteral("lunvelde.chm");
const QString kCommittedChm = kSourceDir + QStringLiteral("/help/lunvelde.chm");

QString pageTitle(const QByteArray& html)
{
    static const QRegularExpression re(QStringLiteral("<title>(.*?)</title>"),
                                       QRegularExpression::CaseInsensitiveOption |
                                           QRegularExpression::DotMatchesEverythingOption);
    return re.match(QString::fromUtf8(html)).captured(1).trimmed();
}

QTextBrowser* browserOf(QWidget* window)
{
    return window ? window->findChild<QTextBrowser*>(QStringLiteral("helpBrowser")) : nullptr;
}

int helpWindowCount()
{
    const QWidgetList all = QApplication::topLevelWidgets();
    return int(std::count_if(all.begin(), all.end(), [](QWidget* w) { return w->objectName() == "helpWindow"; }));
}

// The records of a "#SYSTEM" object by code, without the compile time
// (code 10), which differs on every compilation.
std::map<int, QByteArray> systemRecords(const QByteArray& s)
{
    std::map<int, QByteArray> records;
    const auto* b = reinterpret_cast<const uchar*>(s.constData());
    for (qsizetype pos = 4; pos + 4 <= s.size();) {
        const int code = qFromLittleEndian<quint16>(b + pos);
        const int len = qFromLittleEndian<quint16>(b + pos + 2);
        if (code != 10)
            records[code] = s.mid(pos + 4, len);
        pos += 4 + len;
    }
    return records;
}

// Compiles a help project in folder with chmcmd; its output goes to output.
bool compile(const QString& folder, const QString& project, QString* output, QStringList options = {})
{
    QProcess p;
    p.setWorkingDirectory(folder);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("chmcmd"), options << project);
    if (!p.waitForFinished(60000))
        return false;
    *output = QString::fromLocal8Bit(p.readAll());
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool writeFile(const QString& name, const QByteArray& text)
{
    QFile f(name);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}

const QByteArray kPageHead = "<html><head><meta charset=\"utf-8\"><title>";

// A contents list of (name, local) entries.
QByteArray sitemap(const std::vector<std::pair<QByteArray, QByteArray>>& entries)
{
    QByteArray text = "<HTML><BODY><UL>";
    for (const auto& [name, local] : entries)
        text += "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"" + name +
                "\"><param name=\"Local\" value=\"" + local + "\"></OBJECT>";
    return text + "</UL></BODY></HTML>";
}

// Compiles t.chm in the working folder from pages (file name -> text) and a
// contents list, with options added to the project; the links of the pages
// are not followed at compile time.
bool craftHelp(const std::map<QString, QByteArray>& pages, const QByteArray& contents, const QByteArray& options = {})
{
    QByteArray project = "[OPTIONS]\nCompiled file=t.chm\nContents file=t.hhc\nLanguage=0x411 Japanese\n" + options +
                         "\n[FILES]\n";
    for (const auto& [name, text] : pages) {
        if (!writeFile(name, text))
            return false;
        project += QFile::encodeName(name) + '\n';
    }
    QString out;
    if (!writeFile(QStringLiteral("t.hhc"), contents) || !writeFile(QStringLiteral("t.hhp"), project) ||
        !compile(QDir::currentPath(), QStringLiteral("t.hhp"), &out, {QStringLiteral("--no-html-scan")})) {
        qWarning("%s", qPrintable(out));
        return false;
    }
    return true;
}

// Records the addresses handed to the desktop instead of opening them.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

// Calls act on every fragment of the browser's page.
void forEachFragment(QTextBrowser* browser, const std::function<void(const QTextFragment&)>& act)
{
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            act(it.fragment());
}

// Clicks the first link of the page whose target is href.
bool clickLink(QTextBrowser* browser, const QString& href)
{
    int at = -1;
    forEachFragment(browser, [&](const QTextFragment& f) {
        if (at < 0 && f.charFormat().anchorHref() == href)
            at = f.position() + 1;
    });
    if (at < 0)
        return false;
    QTextCursor c(browser->document());
    c.setPosition(at);
    browser->setTextCursor(c);
    browser->ensureCursorVisible();
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, browser->cursorRect(c).center());
    return true;
}

}  // namespace

class TstHelp : public QObject {
    Q_OBJECT

    std::unique_ptr<support::TestFolders> folders;
    std::unique_ptr<TcHelp> help;
    std::unique_ptr<UrlCatcher> catcher;

    QString defaultTopic() const
    {
        QByteArray system;
        return help->readObject(kChm, QStringLiteral("/#SYSTEM"), &system) ? TcHelp::defaultTopicOf(system) : QString();
    }
    QByteArray object(const QString& path, const QString& chm = kChm) const
    {
        QByteArray data;
        help->readObject(chm, path, &data);
        return data;
    }
    // Opens help and waits until the file is read; false when it takes long.
    bool shown(const QString& chm = kChm)
    {
        help->show(chm);
        return QTest::qWaitFor([this] { return !help->loading(); }, 15000);
    }
    // Prepares help and opens its window; the window's browser, or null.
    QTextBrowser* showHelp()
    {
        if (!help->funcCreate() || !shown())
            return nullptr;
        return browserOf(help->window());
    }

private slots:
    // Each test runs in its own working folder holding a copy of the help file.
    void init()
    {
        folders = std::make_unique<support::TestFolders>();
        QVERIFY2(QFile::copy(kCommittedChm, kChm), "help/lunvelde.chm is missing from the tree");
        TcHelp::setReaderPath(QString());
        help = std::make_unique<TcHelp>();
        catcher = std::make_unique<UrlCatcher>();
        for (const char* scheme : {"http", "https", "mailto", "file"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), catcher.get(), "open");
    }
    void cleanup()
    {
        help.reset();
        for (const char* scheme : {"http", "https", "mailto", "file"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
        catcher.reset();
        folders.reset();
        TcHelp::setReaderPath(QString());
    }

    // Also a second check after a working one drops the working reader.
    void unusableReaderLeavesHelpUnavailable_data()
    {
        QTest::addColumn<QString>("reader");
        QTest::newRow("missing reader") << QStringLiteral("/nonexistent/lunvelde-no-such-reader");
        QTest::newRow("not executable") << kCommittedChm;
    }
    void unusableReaderLeavesHelpUnavailable()
    {
        QFETCH(QString, reader);
        TcHelp::setReaderPath(reader);
        QVERIFY(!help->funcCreate());
        QVERIFY(!help->available());
        help->show();
        QVERIFY(help->window() == nullptr);
        QCOMPARE(helpWindowCount(), 0);

        TcHelp::setReaderPath(QString());
        QVERIFY(showHelp());
        TcHelp::setReaderPath(reader);
        QVERIFY(!help->funcCreate());
        QVERIFY(!help->available());
        QVERIFY(help->window() == nullptr);
        QVERIFY(object(QStringLiteral("/#SYSTEM")).isEmpty());
    }

    // A reader that takes long: the window keeps answering (the longest gap
    // between turns of the event loop stays short) with a wait cursor, and
    // closing it ends the reading and kills the reader with the programs it
    // started.
    void slowReaderNeitherFreezesNorOutlivesTheWindow()
    {
        const QString script = QDir::current().absoluteFilePath(QStringLiteral("slow-reader"));
        const QString pidFile = QDir::current().absoluteFilePath(QStringLiteral("reader.pid"));
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nsleep 5 &\necho $! > '" + QFile::encodeName(pidFile) + "'\nwait\n");
        f.close();
        QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
        TcHelp::setReaderPath(script);
        QVERIFY(help->funcCreate());

        QElapsedTimer clock;
        qint64 last = 0, longest = 0;
        QTimer tick;
        tick.setInterval(10);
        connect(&tick, &QTimer::timeout, this, [&] {
            longest = std::max(longest, clock.elapsed() - last);
            last = clock.elapsed();
        });
        clock.start();
        help->show();  // the window's creation is not part of the reading
        const qint64 opening = clock.elapsed();
        last = opening;
        tick.start();
        QWidget* w = help->window();
        QVERIFY(w && help->loading());
        QCOMPARE(w->cursor().shape(), Qt::WaitCursor);
        QTRY_VERIFY(QFileInfo(pidFile).size() > 0);  // the reader runs
        QTest::qWait(300);
        QFile pidText(pidFile);
        QVERIFY(pidText.open(QIODevice::ReadOnly));
        const QByteArray pid = pidText.readAll().trimmed();
        // A process that is gone or only waits to be reaped.
        const auto alive = [&pid] {
            QFile stat(QStringLiteral("/proc/") + QString::fromLatin1(pid) + QStringLiteral("/stat"));
            return stat.open(QIODevice::ReadOnly) && !stat.readAll().contains(") Z ");
        };
        QVERIFY(pid.toLong() > 0 && alive());
        w->close();
        QVERIFY(!help->loading());
        QCOMPARE(w->cursor().shape(), Qt::ArrowCursor);
        QTRY_VERIFY_WITH_TIMEOUT(!alive(), 2000);  // the reader and what it started
        tick.stop();
        qInfo("opening the window %lld ms; longest gap between event loop turns while the reader ran: %lld ms",
              opening, longest);
        QVERIFY2(longest < 100, qPrintable(QString::number(longest)));
    }

    // The window has no owner and does not keep the program running; it
    // shows the topic the project names, with its title and stylesheet.
    void showOpensOwnerlessWindowAtDefaultTopic()
    {
        QTextBrowser* browser = showHelp();
        QVERIFY(browser);
        QFile project(kSourceDir + QStringLiteral("/help/lunvelde.hhp"));
        QVERIFY(project.open(QIODevice::ReadOnly));
        const QRegularExpression named(QStringLiteral("^Default topic=(.*)$"), QRegularExpression::MultilineOption);
        const QString topic = defaultTopic();
        QCOMPARE(topic, '/' + named.match(QString::fromLatin1(project.readAll())).captured(1).trimmed());

        QWidget* w = help->window();
        QVERIFY(w->isVisible() && w->isWindow() && !w->parentWidget());
        QVERIFY(!w->testAttribute(Qt::WA_QuitOnClose));
        QCOMPARE(browser->source(), QUrl(QStringLiteral("chm:") + topic));
        QCOMPARE(w->windowTitle(), pageTitle(object(topic)));
        QVERIFY(!w->windowTitle().isEmpty());
        QVERIFY(!browser->toPlainText().contains(QStringLiteral("見つかりません")));
        QVERIFY(browser->document()->begin().charFormat().hasProperty(QTextFormat::ForegroundBrush));
    }

    // Links, the pictures of a page, and going back and forward.
    void linksPicturesBackAndForward()
    {
        QTextBrowser* browser = showHelp();
        QVERIFY(browser);
        QWidget* w = help->window();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        const QUrl start = browser->source();
        const QUrl main(QStringLiteral("chm:/main.html"));

        QVERIFY(clickLink(browser, QStringLiteral("main.html")));
        QTRY_COMPARE(browser->source(), main);
        QCOMPARE(w->windowTitle(), pageTitle(object(QStringLiteral("/main.html"))));
        int pictures = 0;  // the page's pictures come out of the file
        forEachFragment(browser, [&](const QTextFragment& f) {
            if (!f.charFormat().isImageFormat())
                return;
            const QUrl url = main.resolved(QUrl(f.charFormat().toImageFormat().name()));
            const QImage stored = QImage::fromData(object(url.path()));
            QVERIFY2(!stored.isNull(), qPrintable(url.toString()));
            QCOMPARE(browser->document()->resource(QTextDocument::ImageResource, url).value<QImage>(), stored);
            ++pictures;
        });
        QVERIFY(pictures > 0);
        QVERIFY(clickLink(browser, QStringLiteral("date.html")));
        QTRY_COMPARE(browser->source(), QUrl(QStringLiteral("chm:/date.html")));
        QVERIFY(clickLink(browser, QStringLiteral("main.html")));
        QTRY_COMPARE(browser->source(), main);

        QAction* back = nullptr;
        QAction* forward = nullptr;
        for (QAction* a : w->findChildren<QAction*>()) {
            back = a->text() == QStringLiteral("戻る") ? a : back;
            forward = a->text() == QStringLiteral("進む") ? a : forward;
        }
        QVERIFY(back && forward);
        QVERIFY(!forward->isEnabled());
        for (int i = 0; i < 3; ++i)
            back->trigger();
        QCOMPARE(browser->source(), start);
        QVERIFY(!back->isEnabled());
        forward->trigger();
        QCOMPARE(browser->source(), main);
    }

    // Every entry of the contents and of the index opens a page of the file
    // (and its anchor), and the contents lead to every page.
    void contentsAndIndexReachEveryTopic()
    {
        QTextBrowser* browser = showHelp();
        QVERIFY(browser);
        QWidget* w = help->window();
        auto* contents = w->findChild<QTreeWidget*>(QStringLiteral("helpContents"));
        auto* index = w->findChild<QListWidget*>(QStringLiteral("helpIndex"));
        QVERIFY(contents && index && contents->topLevelItemCount() > 0 && index->count() > 0);

        QStringList pagesSeen;
        auto check = [&](const QUrl& url, const QString& label) {
            QVERIFY2(url.isValid(), qPrintable(label));
            QCOMPARE(browser->source(), url);
            QVERIFY2(!browser->toPlainText().contains(QStringLiteral("ページが見つかりません")), qPrintable(label));
            const QByteArray page = object(url.path());
            QCOMPARE(w->windowTitle(), pageTitle(page));
            if (url.hasFragment())
                QVERIFY2(page.contains("name=\"" + url.fragment().toUtf8() + "\""), qPrintable(label));
            pagesSeen << url.path();
        };
        for (QTreeWidgetItemIterator it(contents); *it; ++it) {
            emit contents->itemClicked(*it, 0);
            check((*it)->data(0, Qt::UserRole).toUrl(), (*it)->text(0));
            QCOMPARE(contents->currentItem(), *it);
        }
        for (int i = 0; i < index->count(); ++i) {
            emit index->itemClicked(index->item(i));
            check(index->item(i)->data(Qt::UserRole).toUrl(), index->item(i)->text());
        }
        for (const QString& name : help->objectNames(kChm))
            if (name.endsWith(QLatin1String(".html")))
                QVERIFY2(pagesSeen.contains(name), qPrintable(name));
    }

    // A request raises the one window at the default topic, also after the
    // user closed or minimised it; release closes it for good.
    void oneWindowForEveryRequestUntilRelease()
    {
        QTextBrowser* browser = showHelp();
        QVERIFY(browser);
        QWidget* first = help->window();
        const QUrl home = browser->source();
        browser->setSource(QUrl(QStringLiteral("chm:/table.html")));
        QVERIFY(shown());
        QCOMPARE(help->window(), first);
        QCOMPARE(helpWindowCount(), 1);
        QCOMPARE(browser->source(), home);

        first->close();
        QVERIFY(shown());
        QCOMPARE(help->window(), first);
        QVERIFY(first->isVisible());
        first->showMinimized();
        QVERIFY(shown());
        QVERIFY(!first->isMinimized());
        QCOMPARE(helpWindowCount(), 1);

        help->release();
        QCOMPARE(helpWindowCount(), 0);
        help->show();
        QVERIFY(help->window() == nullptr);
        help->release();  // releasing twice is harmless
    }

    void unreadableFileReportedInWindow_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("present");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("not a help file") << QByteArray("This is only text.\r\n").repeated(50) << true;

        // A real file whose compression settings name a window size of 2
        // bytes: the reader library would crash on the first page.
        QFile real(kCommittedChm);
        QVERIFY(real.open(QIODevice::ReadOnly));
        QByteArray broken = real.readAll();
        const qsizetype lzxc = broken.indexOf("LZXC");
        QVERIFY(lzxc > 0);
        qToLittleEndian<quint32>(3, broken.data() + lzxc + 4);  // version 3: sizes are taken as bytes
        QTest::newRow("unusable compression settings") << broken << true;

        // Fields the reader library divides by, sizes memory with or reads
        // at: each crashed the program. A cut or flipped file it still opens.
        const QByteArray good = real.seek(0) ? real.readAll() : QByteArray();
        const qsizetype table = good.indexOf(QByteArray("\x08\0\0\0\x28\0\0\0", 8)) - 8;
        QVERIFY(table > 0);
        const auto changed = [&good](qsizetype at, quint64 value, int bytes) {
            QByteArray b = good;
            for (int i = 0; i < bytes; ++i)
                b[at + i] = char(value >> (8 * i));
            return b;
        };
        QTest::newRow("window size 0") << changed(lzxc + 12, 0, 4) << true;
        QTest::newRow("reset block length 0") << changed(table + 32, 0, 8) << true;
        QTest::newRow("reset block length 2^62") << changed(table + 32, quint64(1) << 62, 8) << true;
        QTest::newRow("cut short") << good.left(20000) << true;
        const qsizetype content = lzxc + 434;  // early in the compressed first page
        QTest::newRow("flipped byte") << changed(content, quint8(~good[content]), 1) << true;
    }

    // A pipe in the help file's place: reported, never waited on.
    void pipeReportedInWindow()
    {
        QVERIFY(QFile::remove(kChm));
        QVERIFY(::mkfifo(QFile::encodeName(kChm).constData(), 0600) == 0);
        ::alarm(60);  // a hang ends the test as a failure
        QTextBrowser* browser = showHelp();
        ::alarm(0);
        QVERIFY(browser && browser->toPlainText().contains(QStringLiteral("を開けません。")));
    }
    void unreadableFileReportedInWindow()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, present);
        QVERIFY(QFile::remove(kChm));
        if (present) {
            QFile f(kChm);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        QTextBrowser* browser = showHelp();
        QVERIFY(browser && help->window()->isVisible());
        const QString text = browser->toPlainText();
        QVERIFY2(text.contains(QStringLiteral("ヘルプファイル lunvelde.chm を開けません。")), qPrintable(text));
        QVERIFY(text.contains(QDir::current().absoluteFilePath(kChm)));
        QCOMPARE(help->window()->findChild<QTreeWidget*>(QStringLiteral("helpContents"))->topLevelItemCount(), 0);

        // Once the file is in place, the next request shows its default topic.
        QFile::remove(kChm);
        QVERIFY(QFile::copy(kCommittedChm, kChm));
        QVERIFY(shown());
        QCOMPARE(browser->source(), QUrl(QStringLiteral("chm:") + defaultTopic()));
        QVERIFY(!browser->toPlainText().contains(QStringLiteral("開けません")));
    }

    void fileWithoutDefaultTopicOpensFirstContentsPage()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("chmcmd")).isEmpty())
            QSKIP("chmcmd is not installed");
        const auto write = [](const QString& name, const QByteArray& text) {
            QFile f(name);
            return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
        };
        const QByteArray head = "<html><head><meta charset=\"utf-8\"><title>";
        const QByteArray entry = "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"%1\"><param name=\"Local\" "
                                 "value=\"%2\"></OBJECT>";
        QVERIFY(write(QStringLiteral("a.html"), head + "最初</title></head><body>a</body></html>"));
        QVERIFY(write(QStringLiteral("b.html"), head + "目次の先頭</title></head><body>b</body></html>"));
        QVERIFY(write(QStringLiteral("t.hhc"), "<HTML><BODY><UL>" + QByteArray(entry).replace("%1", "B").replace("%2", "b.html") +
                                                  QByteArray(entry).replace("%1", "A").replace("%2", "a.html") +
                                                  "</UL></BODY></HTML>"));
        QVERIFY(write(QStringLiteral("t.hhp"), "[OPTIONS]\nCompiled file=t.chm\nContents file=t.hhc\nLanguage=0x411 "
                                               "Japanese\n\n[FILES]\na.html\nb.html\n"));
        QString out;
        QVERIFY2(compile(QDir::currentPath(), QStringLiteral("t.hhp"), &out), qPrintable(out));

        QVERIFY(help->funcCreate());
        QVERIFY(TcHelp::defaultTopicOf(object(QStringLiteral("/#SYSTEM"), QStringLiteral("t.chm"))).isEmpty());
        QVERIFY(shown(QStringLiteral("t.chm")));
        QCOMPARE(browserOf(help->window())->source(), QUrl(QStringLiteral("chm:/b.html")));
        QCOMPARE(help->window()->windowTitle(), QStringLiteral("目次の先頭"));
    }

    // Pictures and style sheets outside the help file are never read: not
    // at an address, not by a path, not a device or a pipe.
    void pagesReadNothingOutsideTheFile_data()
    {
        QTest::addColumn<QByteArray>("html");  // '@' stands for the working folder
        QTest::newRow("picture at /dev/zero") << QByteArray("<img src=\"file:///dev/zero\">");
        QTest::newRow("picture at a pipe") << QByteArray("<img src=\"file://@/pipe\">");
        QTest::newRow("picture at a pipe by its path") << QByteArray("<img src=\"@/pipe\">");
        QTest::newRow("local picture") << QByteArray("<img src=\"file://@/local.png\">");
        QTest::newRow("local picture by its path") << QByteArray("<img src=\"@/local.png\">");
        QTest::newRow("local style sheet") << QByteArray("<link rel=\"stylesheet\" type=\"text/css\" href=\"file://@/local.css\">");
    }
    void pagesReadNothingOutsideTheFile()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("chmcmd")).isEmpty())
            QSKIP("chmcmd is not installed");
        QFETCH(QByteArray, html);
        const QByteArray here = QFile::encodeName(QDir::currentPath());
        QImage local(37, 23, QImage::Format_RGB32);
        local.fill(Qt::red);
        QVERIFY(local.save(QStringLiteral("local.png")));
        QVERIFY(writeFile(QStringLiteral("local.css"), "p { color: #ff0000 }"));
        QVERIFY(::mkfifo("pipe", 0600) == 0);
        html.replace('@', here);
        QVERIFY(craftHelp({{QStringLiteral("a.html"), kPageHead + "外</title>" + html + "</head><body><p>本文</p>" +
                                                          html + "</body></html>"}},
                          sitemap({{"A", "a.html"}})));
        QVERIFY(help->funcCreate());
        ::alarm(30);  // a read of a device or a pipe ends the test as a failure
        QVERIFY(shown(QStringLiteral("t.chm")));
        QTextBrowser* browser = browserOf(help->window());
        const QImage painted = browser->grab().toImage();  // laid out and painted: pictures are fetched
        ::alarm(0);
        QCOMPARE(browser->source(), QUrl(QStringLiteral("chm:/a.html")));
        QVERIFY(browser->toPlainText().contains(QStringLiteral("本文")));
        int red = 0;  // the local picture, or text in the local style sheet's colour
        for (int y = 0; y < painted.height(); ++y)
            for (int x = 0; x < painted.width(); ++x) {
                const QColor c = painted.pixelColor(x, y);
                red += c.red() > 200 && c.green() < 60 && c.blue() < 60;
            }
        QCOMPARE(red, 0);
    }

    // A web address the file names as its first page is not opened; a click
    // on a link to one hands it to the desktop.
    void outsideAddressOpensOnlyOnClick_data()
    {
        QTest::addColumn<QByteArray>("options");
        QTest::newRow("default topic") << QByteArray("Default topic=http://example.invalid/start.html\n");
        QTest::newRow("first contents entry") << QByteArray();
    }
    void outsideAddressOpensOnlyOnClick()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("chmcmd")).isEmpty())
            QSKIP("chmcmd is not installed");
        QFETCH(QByteArray, options);
        const QUrl link(QStringLiteral("http://example.invalid/link.html"));
        QVERIFY(craftHelp({{QStringLiteral("a.html"), kPageHead + "中</title></head><body><p><a href=\"" +
                                                          link.toEncoded() + "\">外のページ</a></p></body></html>"}},
                          sitemap({{"外", "http://example.invalid/c.html"}, {"A", "a.html"}}), options));
        QVERIFY(help->funcCreate());
        QVERIFY(shown(QStringLiteral("t.chm")));
        QCOMPARE(catcher->urls, QList<QUrl>());
        QTextBrowser* browser = browserOf(help->window());
        QCOMPARE(browser->source(), QUrl(QStringLiteral("chm:/a.html")));
        for (QAction* a : help->window()->findChildren<QAction*>())
            if (a->text() == QStringLiteral("最初のページ"))
                a->trigger();
        QCOMPARE(catcher->urls, QList<QUrl>());
        QVERIFY(QTest::qWaitForWindowExposed(help->window()));
        QVERIFY(clickLink(browser, QString::fromLatin1(link.toEncoded())));
        QCOMPARE(catcher->urls, QList<QUrl>({link}));
        QCOMPARE(browser->source(), QUrl(QStringLiteral("chm:/a.html")));
    }

    // Entities of a contents list, decoded once each.
    void contentsEntities_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("name");
        QTest::newRow("numbers") << "&#65;&#x42;&#X43;&#12354;" << QStringLiteral("ABCあ");
        QTest::newRow("named") << "&lt;b&gt; &quot;q&quot; &apos;" << "<b> \"q\" '";
        QTest::newRow("decoded once") << "&amp;lt; &#38;gt;" << "&lt; &gt;";
        QTest::newRow("out of range") << "x&#0;&#x110000;&#99999999999;y" << "xy";
        QTest::newRow("not entities") << "&unknown; & &#; &#65" << "&unknown; & &#; &#65";
    }
    void contentsEntities()
    {
        QFETCH(QString, value);
        QFETCH(QString, name);
        const auto entries = helpparse::parseSitemap(QString::fromUtf8(sitemap({{value.toUtf8(), "a.html"}})));
        QCOMPARE(entries.size(), std::size_t(1));
        QCOMPARE(entries[0].name, name);
    }

    // A small file whose contents list holds 200,000 entities opens at once.
    void contentsOfManyEntitiesOpenQuickly()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("chmcmd")).isEmpty())
            QSKIP("chmcmd is not installed");
        QVERIFY(craftHelp({{QStringLiteral("a.html"), kPageHead + "a</title></head><body>a</body></html>"}},
                          sitemap({{QByteArray("&#65;").repeated(200000), "a.html"}})));
        QVERIFY(help->funcCreate());
        QElapsedTimer clock;
        clock.start();
        QVERIFY(shown(QStringLiteral("t.chm")));
        auto* contents = help->window()->findChild<QTreeWidget*>(QStringLiteral("helpContents"));
        contents->grab();
        qInfo("200,000 entities in the contents: %lld ms", clock.elapsed());
        QVERIFY(clock.elapsed() < 3000);
        QCOMPARE(contents->topLevelItemCount(), 1);
        QCOMPARE(contents->topLevelItem(0)->text(0), QString(helpparse::kMaxEntryName - 1, QLatin1Char('A')) + QChar(0x2026));
        QCOMPARE(browserOf(help->window())->source(), QUrl(QStringLiteral("chm:/a.html")));
    }

    // A page too large or too deeply nested to lay out quickly is not laid
    // out; the window says why, and other pages still open.
    void costlyPageSaysSo_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("why");
        QTest::newRow("4 MB page") << QByteArray("<p>x</p>").repeated(1 << 19) << QStringLiteral("大きすぎます");
        QTest::newRow("nested lists")
            << QByteArray("<ul><li>").repeated(10000) + QByteArray("</li></ul>").repeated(10000) << QStringLiteral("入れ子が深すぎます");
        QTest::newRow("nested tables") << QByteArray("<table><tr><td>").repeated(30)
                                       << QStringLiteral("入れ子が深すぎます");
    }
    void costlyPageSaysSo()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("chmcmd")).isEmpty())
            QSKIP("chmcmd is not installed");
        QFETCH(QByteArray, body);
        QFETCH(QString, why);
        QVERIFY(craftHelp({{QStringLiteral("a.html"), kPageHead + "重い</title></head><body>" + body + "</body></html>"},
                           {QStringLiteral("b.html"), kPageHead + "軽い</title></head><body>b</body></html>"}},
                          sitemap({{"A", "a.html"}, {"B", "b.html"}})));
        body.clear();
        QVERIFY(help->funcCreate());
        QElapsedTimer clock;
        clock.start();
        ::alarm(60);
        QVERIFY(shown(QStringLiteral("t.chm")));
        QTextBrowser* browser = browserOf(help->window());
        browser->grab();
        ::alarm(0);
        qInfo("%s: %lld ms", QTest::currentDataTag(), clock.elapsed());
        QVERIFY(clock.elapsed() < 5000);
        QVERIFY2(browser->toPlainText().contains(why), qPrintable(browser->toPlainText()));
        QVERIFY(browser->toPlainText().contains(QStringLiteral("/a.html")));
        emit help->window()->findChild<QTreeWidget*>(QStringLiteral("helpContents"))->itemClicked(
            help->window()->findChild<QTreeWidget*>(QStringLiteral("helpContents"))->topLevelItem(1), 0);
        QCOMPARE(browser->source(), QUrl(QStringLiteral("chm:/b.html")));
        QCOMPARE(browser->toPlainText(), QStringLiteral("b"));
    }

    // A help file over the size limit is reported as too large, not as broken.
    void tooLargeFileSaysSo()
    {
        QFile big(kChm);
        QVERIFY(big.resize(qint64(helpfile::kMaxFileBytes) + 1));
        big.close();
        QTextBrowser* browser = showHelp();
        QVERIFY(browser);
        const QString text = browser->toPlainText();
        QVERIFY2(text.contains(QStringLiteral("大きすぎます")) && text.contains(QStringLiteral("64 MB")), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("壊れている")));
    }

    void systemObjectParsing()
    {
        const auto record = [](quint16 code, const QByteArray& value) {
            QByteArray r(4, '\0');
            qToLittleEndian<quint16>(code, r.data());
            qToLittleEndian<quint16>(static_cast<quint16>(value.size()), r.data() + 2);
            return r + value;
        };
        const QByteArray version("\x03\0\0\0", 4);
        const QByteArray start = record(2, QByteArray("start.html\0", 11));
        QCOMPARE(TcHelp::defaultTopicOf(version + record(0, QByteArray("t.hhc\0", 6)) + start),
                 QStringLiteral("/start.html"));
        QCOMPARE(TcHelp::defaultTopicOf(version + record(2, QByteArray("/sub/page.htm\0", 14))),
                 QStringLiteral("/sub/page.htm"));
        QVERIFY(TcHelp::defaultTopicOf(version + record(0, QByteArray("t.hhc\0", 6))).isEmpty());
        QVERIFY(TcHelp::defaultTopicOf(version + record(2, QByteArray("\0", 1))).isEmpty());
        // A record that claims more bytes than the object holds is not read.
        QVERIFY(TcHelp::defaultTopicOf((version + start).chopped(3)).isEmpty());
        QVERIFY(TcHelp::defaultTopicOf(QByteArray()).isEmpty());
    }

    // Every page is UTF-8 with a title, and every link and picture points at
    // an object of the file, and at an anchor of that page when it names one.
    void pagesLinkOnlyToWhatTheFileHolds()
    {
        QVERIFY(help->funcCreate());
        const QStringList names = help->objectNames(kChm);
        static const QRegularExpression ref(QStringLiteral("(?:href|src)\\s*=\\s*\"([^\"]*)\""),
                                            QRegularExpression::CaseInsensitiveOption);
        int links = 0;
        for (const QString& name : names) {
            if (!name.endsWith(QLatin1String(".html")))
                continue;
            const QByteArray page = object(name);
            QVERIFY2(page.contains("<meta charset=\"utf-8\">") && !pageTitle(page).isEmpty(), qPrintable(name));
            for (auto it = ref.globalMatch(QString::fromUtf8(page)); it.hasNext(); ++links) {
                const QUrl target = QUrl(QStringLiteral("chm:") + name).resolved(QUrl(it.next().captured(1)));
                const QString where = name + QStringLiteral(" -> ") + target.toString();
                QVERIFY2(target.scheme() == QLatin1String("chm") && names.contains(target.path()), qPrintable(where));
                if (target.hasFragment())
                    QVERIFY2(object(target.path()).contains("name=\"" + target.fragment().toUtf8() + "\""),
                             qPrintable(where));
            }
        }
        QVERIFY(links > 0);
    }

    void committedFileHoldsCurrentSources()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("chmcmd")).isEmpty())
            QSKIP("chmcmd is not installed");
        const QString source = kSourceDir + QStringLiteral("/help");
        QTemporaryDir build;
        QStringList sourceFiles;
        for (QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString from = it.next();
            const QString rel = QDir(source).relativeFilePath(from);
            if (rel == kChm)
                continue;
            sourceFiles << rel;
            QVERIFY(QDir(build.path()).mkpath(QFileInfo(rel).path()));
            QVERIFY(QFile::copy(from, build.filePath(rel)));
        }
        QString out;
        QVERIFY2(compile(build.path(), QStringLiteral("lunvelde.hhp"), &out), qPrintable(out));
        const QString fresh = build.filePath(kChm);

        QVERIFY(help->funcCreate());
        QStringList committedNames = help->objectNames(kCommittedChm);
        QStringList freshNames = help->objectNames(fresh);
        committedNames.sort();
        freshNames.sort();
        QVERIFY(!freshNames.isEmpty());
        QCOMPARE(committedNames, freshNames);
        // Every page, picture and stylesheet in help/ is compiled in.
        for (const QString& rel : sourceFiles)
            if (!rel.endsWith(QLatin1String(".hhp")))
                QVERIFY2(freshNames.contains('/' + rel), qPrintable(rel + " is not listed in lunvelde.hhp"));
        for (const QString& name : freshNames) {
            const QByteArray a = object(name, kCommittedChm);
            const QByteArray b = object(name, fresh);
            if (name == QLatin1String("/#SYSTEM"))
                QVERIFY(systemRecords(a) == systemRecords(b));
            else
                QVERIFY2(a == b, qPrintable(name + " differs: run \"make help\""));
        }
    }

    // Opening help again and again, from the request until the page is set;
    // its time limit is kept by bench/bench_windows.cpp.
    void openingIsQuick()
    {
        const auto median = [](std::vector<qint64> v) {
            std::sort(v.begin(), v.end());
            return v[v.size() / 2] / 1e6;
        };
        QVERIFY(help->funcCreate());
        const QUrl home(QStringLiteral("chm:") + defaultTopic());
        std::vector<qint64> firstOpen, again;
        for (int i = 0; i < 7; ++i) {
            TcHelp fresh;
            QVERIFY(fresh.funcCreate());
            QElapsedTimer t;
            t.start();
            fresh.show();
            QVERIFY(QTest::qWaitFor([&fresh] { return !fresh.loading(); }, 15000));
            firstOpen.push_back(t.nsecsElapsed());
            QTextBrowser* browser = browserOf(fresh.window());
            QVERIFY(!browser->source().isEmpty());
            browser->setSource(QUrl(QStringLiteral("chm:/figures.html")));
            t.restart();
            fresh.show();
            QVERIFY(QTest::qWaitFor([&fresh] { return !fresh.loading(); }, 15000));
            again.push_back(t.nsecsElapsed());
            QCOMPARE(browser->source(), home);
        }
        qInfo("help opening, median of 7: new window %.2f ms, raising the open window %.2f ms", median(firstOpen),
              median(again));
    }
};

LUNVELDE_GUI_TEST_MAIN(TstHelp)

#include "tst_help.moc"
