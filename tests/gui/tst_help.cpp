// The help window and the compiled help file: loading the reader library,
// showing the default topic, following links, one window for every request,
// reporting a missing file, and the committed file matching its sources.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QtEndian>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "ui/fonts.h"
#include "ui/helpViewer.h"

namespace {

const QString kSourceDir = QStringLiteral(LUNVELDE_SOURCE_DIR);
const QString kChm = QStringLiteral("lunvelde.chm");

QString committedChm()
{
    return kSourceDir + QStringLiteral("/help/lunvelde.chm");
}

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
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("helpWindow")) ++n;
    return n;
}

// The records of a "#SYSTEM" object by code, without the compile time
// (code 10), which differs on every compilation.
std::map<int, QByteArray> systemRecords(const QByteArray& s)
{
    std::map<int, QByteArray> records;
    const auto* b = reinterpret_cast<const uchar*>(s.constData());
    qsizetype pos = 4;
    while (pos + 4 <= s.size()) {
        const int code = qFromLittleEndian<quint16>(b + pos);
        const int len = qFromLittleEndian<quint16>(b + pos + 2);
        pos += 4;
        if (code != 10) records[code] = s.mid(pos, len);
        pos += len;
    }
    return records;
}

bool runChmcmd(const QString& folder, const QString& project, QString* output)
{
    QProcess p;
    p.setWorkingDirectory(folder);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("chmcmd"), {project});
    if (!p.waitForFinished(60000)) return false;
    *output = QString::fromLocal8Bit(p.readAll());
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// Clicks the first link of the page whose target is href.
bool clickLink(QTextBrowser* browser, const QString& href)
{
    QTextDocument* doc = browser->document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.charFormat().anchorHref() != href) continue;
            QTextCursor c(doc);
            c.setPosition(f.position() + 1);
            browser->setTextCursor(c);
            browser->ensureCursorVisible();
            const QPoint at = browser->cursorRect(c).center();
            QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, at);
            return true;
        }
    }
    return false;
}

}  // namespace

class TstHelp : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> work;
    QString startDir;

    QString defaultTopic(const TcHelp& help) const
    {
        QByteArray system;
        if (!help.readObject(kChm, QStringLiteral("/#SYSTEM"), &system)) return {};
        return TcHelp::defaultTopicOf(system);
    }

    QByteArray object(const TcHelp& help, const QString& path) const
    {
        QByteArray data;
        help.readObject(kChm, path, &data);
        return data;
    }

private slots:
    void initTestCase()
    {
        startDir = QDir::currentPath();
        QVERIFY2(QFile::exists(committedChm()), "help/lunvelde.chm is missing from the tree");
    }

    // Each test runs in its own working folder holding a copy of the help file.
    void init()
    {
        work = std::make_unique<QTemporaryDir>();
        QVERIFY(work->isValid());
        QVERIFY(QDir::setCurrent(work->path()));
        QVERIFY(QFile::copy(committedChm(), kChm));
        TcHelp::setLibraryName(QStringLiteral("libchm.so.1"));
    }

    void cleanup()
    {
        QDir::setCurrent(startDir);
        work.reset();
        TcHelp::setLibraryName(QStringLiteral("libchm.so.1"));
    }

    void unusableLibraryLeavesHelpUnavailable_data()
    {
        QTest::addColumn<QString>("library");
        QTest::newRow("missing library") << QStringLiteral("liblunvelde-no-such-reader.so.1");
        QTest::newRow("no chm_open in it") << QStringLiteral("libm.so.6");
    }

    void unusableLibraryLeavesHelpUnavailable()
    {
        QFETCH(QString, library);
        TcHelp help;
        TcHelp::setLibraryName(library);
        QVERIFY(!help.funcCreate());
        QVERIFY(!help.available());
        help.show();
        QVERIFY(help.window() == nullptr);
        QCOMPARE(helpWindowCount(), 0);

        // A second check after a working one drops the working library too.
        TcHelp again;
        TcHelp::setLibraryName(QStringLiteral("libchm.so.1"));
        QVERIFY(again.funcCreate());
        again.show();
        QVERIFY(again.window() != nullptr);
        TcHelp::setLibraryName(library);
        QVERIFY(!again.funcCreate());
        QVERIFY(!again.available());
        QVERIFY(again.window() == nullptr);
        QByteArray unread;
        QVERIFY(!again.readObject(kChm, QStringLiteral("/#SYSTEM"), &unread));
    }

    void showOpensOwnerlessWindowAtDefaultTopic()
    {
        TcHelp help;
        QVERIFY(help.funcCreate());
        QVERIFY(help.available());

        // The default topic is the one the project names, read back from the file.
        QFile project(kSourceDir + QStringLiteral("/help/lunvelde.hhp"));
        QVERIFY(project.open(QIODevice::ReadOnly));
        const QRegularExpression named(QStringLiteral("^Default topic=(.*)$"), QRegularExpression::MultilineOption);
        const QString projectTopic = named.match(QString::fromLatin1(project.readAll())).captured(1).trimmed();
        const QString topic = defaultTopic(help);
        QCOMPARE(topic, QLatin1Char('/') + projectTopic);
        const QByteArray page = object(help, topic);
        const QString title = pageTitle(page);
        QVERIFY(!title.isEmpty());

        help.show();
        QWidget* w = help.window();
        QVERIFY(w != nullptr);
        QVERIFY(w->isVisible());
        QVERIFY(w->isWindow());
        QVERIFY(w->parentWidget() == nullptr);
        QVERIFY(!w->testAttribute(Qt::WA_QuitOnClose));
        QTextBrowser* browser = browserOf(w);
        QVERIFY(browser != nullptr);
        QCOMPARE(browser->source(), QUrl(QStringLiteral("chm:") + topic));
        QCOMPARE(w->windowTitle(), title);
        QVERIFY(!browser->toPlainText().contains(QStringLiteral("見つかりません")));

        // The stylesheet from the file colours the heading.
        const QTextCharFormat heading = browser->document()->begin().charFormat();
        QCOMPARE(heading.foreground().color(), QColor(0x1c, 0x3a, 0x5e));
    }

    void picturesComeOutOfTheFile()
    {
        TcHelp help;
        QVERIFY(help.funcCreate());
        help.show();
        QTextBrowser* browser = browserOf(help.window());
        QVERIFY(browser);
        browser->setSource(QUrl(QStringLiteral("chm:/main.html")));
        QVERIFY(QTest::qWaitForWindowExposed(help.window()));
        int pictures = 0;
        QTextDocument* doc = browser->document();
        for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat f = it.fragment().charFormat();
                if (!f.isImageFormat()) continue;
                const QUrl url = browser->source().resolved(QUrl(f.toImageFormat().name()));
                const QImage shown = doc->resource(QTextDocument::ImageResource, url).value<QImage>();
                const QImage stored = QImage::fromData(object(help, url.path()));
                QVERIFY2(!stored.isNull(), qPrintable(url.toString()));
                QCOMPARE(shown, stored);
                ++pictures;
            }
        }
        QVERIFY(pictures > 0);
    }

    void linksBackAndForward()
    {
        TcHelp help;
        QVERIFY(help.funcCreate());
        help.show();
        QWidget* w = help.window();
        QTextBrowser* browser = browserOf(w);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        const QUrl start = browser->source();

        QVERIFY(clickLink(browser, QStringLiteral("main.html")));
        QTRY_COMPARE(browser->source(), QUrl(QStringLiteral("chm:/main.html")));
        QCOMPARE(w->windowTitle(), pageTitle(object(help, QStringLiteral("/main.html"))));

        // A link to a part of another page.
        QVERIFY(clickLink(browser, QStringLiteral("date.html")));
        QTRY_COMPARE(browser->source(), QUrl(QStringLiteral("chm:/date.html")));
        QVERIFY(clickLink(browser, QStringLiteral("main.html")));
        QTRY_COMPARE(browser->source(), QUrl(QStringLiteral("chm:/main.html")));

        QAction* back = nullptr;
        QAction* forward = nullptr;
        for (QAction* a : w->findChildren<QAction*>()) {
            if (a->text() == QStringLiteral("戻る")) back = a;
            if (a->text() == QStringLiteral("進む")) forward = a;
        }
        QVERIFY(back && forward);
        QVERIFY(!forward->isEnabled());
        back->trigger();
        back->trigger();
        back->trigger();
        QCOMPARE(browser->source(), start);
        QVERIFY(!back->isEnabled());
        forward->trigger();
        QCOMPARE(browser->source(), QUrl(QStringLiteral("chm:/main.html")));
    }

    // Every entry of the contents and of the index opens a page of the file.
    void contentsAndIndexReachEveryTopic()
    {
        TcHelp help;
        QVERIFY(help.funcCreate());
        help.show();
        QWidget* w = help.window();
        QTextBrowser* browser = browserOf(w);
        auto* contents = w->findChild<QTreeWidget*>(QStringLiteral("helpContents"));
        auto* index = w->findChild<QListWidget*>(QStringLiteral("helpIndex"));
        QVERIFY(contents && index);
        QVERIFY(contents->topLevelItemCount() >= 7);
        QVERIFY(index->count() >= 20);

        QStringList pagesSeen;
        auto check = [&](const QUrl& url, const QString& label) {
            QVERIFY2(url.isValid(), qPrintable(label));
            QCOMPARE(browser->source(), url);
            QVERIFY2(!browser->toPlainText().contains(QStringLiteral("ページが見つかりません")), qPrintable(label));
            const QByteArray page = object(help, url.path());
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
        // The contents lead to every page of the file.
        for (const QString& name : help.objectNames(kChm))
            if (name.endsWith(QLatin1String(".html"))) QVERIFY2(pagesSeen.contains(name), qPrintable(name));
    }

    void repeatedRequestsRaiseOneWindow()
    {
        TcHelp help;
        QVERIFY(help.funcCreate());
        help.show();
        QWidget* first = help.window();
        QTextBrowser* browser = browserOf(first);
        const QUrl home = browser->source();
        browser->setSource(QUrl(QStringLiteral("chm:/table.html")));

        help.show();
        QCOMPARE(help.window(), first);
        QCOMPARE(helpWindowCount(), 1);
        QCOMPARE(browser->source(), home);

        // Closed by the user, the next request shows it again.
        first->close();
        QVERIFY(!first->isVisible());
        help.show();
        QCOMPARE(help.window(), first);
        QVERIFY(first->isVisible());
        QCOMPARE(helpWindowCount(), 1);

        // Minimised, it comes back.
        first->showMinimized();
        help.show();
        QVERIFY(!first->isMinimized());
    }

    void releaseClosesWindowAndStopsHelp()
    {
        TcHelp help;
        QVERIFY(help.funcCreate());
        help.show();
        QVERIFY(help.window());
        help.release();
        QVERIFY(help.window() == nullptr);
        QCOMPARE(helpWindowCount(), 0);
        help.show();
        QVERIFY(help.window() == nullptr);
        help.release();  // releasing twice is harmless
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
        QFile real(committedChm());
        QVERIFY(real.open(QIODevice::ReadOnly));
        QByteArray broken = real.readAll();
        const qsizetype lzxc = broken.indexOf("LZXC");
        QVERIFY(lzxc > 0);
        qToLittleEndian<quint32>(3, broken.data() + lzxc + 4);  // version 3: sizes are taken as bytes
        QTest::newRow("unusable compression settings") << broken << true;
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
        TcHelp help;
        QVERIFY(help.funcCreate());
        help.show();
        QWidget* w = help.window();
        QVERIFY(w && w->isVisible());
        const QString text = browserOf(w)->toPlainText();
        QVERIFY2(text.contains(QStringLiteral("ヘルプファイル lunvelde.chm を開けません。")), qPrintable(text));
        QVERIFY(text.contains(QDir::current().absoluteFilePath(kChm)));
        QCOMPARE(w->findChild<QTreeWidget*>(QStringLiteral("helpContents"))->topLevelItemCount(), 0);

        // Once the file is in place, the next request shows its default topic.
        QFile::remove(kChm);
        QVERIFY(QFile::copy(committedChm(), kChm));
        help.show();
        QCOMPARE(help.window(), w);
        QCOMPARE(browserOf(w)->source(), QUrl(QStringLiteral("chm:") + defaultTopic(help)));
        QVERIFY(!browserOf(w)->toPlainText().contains(QStringLiteral("開けません")));
    }

    void fileWithoutDefaultTopicOpensFirstContentsPage()
    {
        const QString chmcmd = QStandardPaths::findExecutable(QStringLiteral("chmcmd"));
        if (chmcmd.isEmpty()) QSKIP("chmcmd is not installed");
        QDir here;
        auto write = [](const QString& name, const QByteArray& text) {
            QFile f(name);
            return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
        };
        QVERIFY(write(QStringLiteral("a.html"), "<html><head><meta charset=\"utf-8\"><title>最初</title></head><body>a</body></html>"));
        QVERIFY(write(QStringLiteral("b.html"), "<html><head><meta charset=\"utf-8\"><title>目次の先頭</title></head><body>b</body></html>"));
        QVERIFY(write(QStringLiteral("t.hhc"),
                      "<HTML><HEAD><meta charset=\"utf-8\"></HEAD><BODY><UL>"
                      "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"B\"><param name=\"Local\" value=\"b.html\"></OBJECT>"
                      "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A\"><param name=\"Local\" value=\"a.html\"></OBJECT>"
                      "</UL></BODY></HTML>"));
        QVERIFY(write(QStringLiteral("t.hhp"),
                      "[OPTIONS]\nCompiled file=t.chm\nContents file=t.hhc\nLanguage=0x411 Japanese\n\n[FILES]\na.html\nb.html\n"));
        QString out;
        QVERIFY2(runChmcmd(here.absolutePath(), QStringLiteral("t.hhp"), &out), qPrintable(out));

        TcHelp help;
        QVERIFY(help.funcCreate());
        QByteArray system;
        QVERIFY(help.readObject(QStringLiteral("t.chm"), QStringLiteral("/#SYSTEM"), &system));
        QVERIFY(TcHelp::defaultTopicOf(system).isEmpty());
        help.show(QStringLiteral("t.chm"));
        QCOMPARE(browserOf(help.window())->source(), QUrl(QStringLiteral("chm:/b.html")));
        QCOMPARE(help.window()->windowTitle(), QStringLiteral("目次の先頭"));
    }

    void systemObjectParsing()
    {
        auto record = [](quint16 code, const QByteArray& value) {
            QByteArray r(4, '\0');
            qToLittleEndian<quint16>(code, r.data());
            qToLittleEndian<quint16>(static_cast<quint16>(value.size()), r.data() + 2);
            return r + value;
        };
        const QByteArray version("\x03\0\0\0", 4);
        QCOMPARE(TcHelp::defaultTopicOf(version + record(0, QByteArray("t.hhc\0", 6)) +
                                        record(2, QByteArray("start.html\0", 11))),
                 QStringLiteral("/start.html"));
        QCOMPARE(TcHelp::defaultTopicOf(version + record(2, QByteArray("/sub/page.htm\0", 14))),
                 QStringLiteral("/sub/page.htm"));
        QVERIFY(TcHelp::defaultTopicOf(version + record(0, QByteArray("t.hhc\0", 6))).isEmpty());
        QVERIFY(TcHelp::defaultTopicOf(version + record(2, QByteArray("\0", 1))).isEmpty());
        // A record that claims more bytes than the object holds is not read.
        QByteArray cut = version + record(2, QByteArray("start.html\0", 11));
        cut.chop(3);
        QVERIFY(TcHelp::defaultTopicOf(cut).isEmpty());
        QVERIFY(TcHelp::defaultTopicOf(QByteArray()).isEmpty());
    }

    // Every link and picture of every page points at an object of the file,
    // and at an anchor of that page when it names one.
    void pagesLinkOnlyToWhatTheFileHolds()
    {
        TcHelp help;
        QVERIFY(help.funcCreate());
        const QStringList names = help.objectNames(kChm);
        QVERIFY(names.contains(QStringLiteral("/index.html")));
        static const QRegularExpression ref(QStringLiteral("(?:href|src)\\s*=\\s*\"([^\"]*)\""),
                                            QRegularExpression::CaseInsensitiveOption);
        int links = 0;
        for (const QString& name : names) {
            if (!name.endsWith(QLatin1String(".html"))) continue;
            const QByteArray page = object(help, name);
            QVERIFY2(page.contains("<meta charset=\"utf-8\">"), qPrintable(name));
            QVERIFY2(!pageTitle(page).isEmpty(), qPrintable(name));
            auto it = ref.globalMatch(QString::fromUtf8(page));
            while (it.hasNext()) {
                const QUrl target = QUrl(QStringLiteral("chm:") + name).resolved(QUrl(it.next().captured(1)));
                const QString where = name + QStringLiteral(" -> ") + target.toString();
                QCOMPARE(target.scheme(), QStringLiteral("chm"));
                QVERIFY2(names.contains(target.path()), qPrintable(where));
                if (target.hasFragment()) {
                    const QByteArray other = object(help, target.path());
                    QVERIFY2(other.contains("name=\"" + target.fragment().toUtf8() + "\""), qPrintable(where));
                }
                ++links;
            }
        }
        QVERIFY(links > 40);
    }

    void committedFileHoldsCurrentSources()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("chmcmd")).isEmpty()) QSKIP("chmcmd is not installed");
        const QString source = kSourceDir + QStringLiteral("/help");
        QTemporaryDir build;
        QVERIFY(build.isValid());
        QStringList sourceFiles;
        QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString from = it.next();
            const QString rel = QDir(source).relativeFilePath(from);
            if (rel == kChm) continue;
            sourceFiles << rel;
            QVERIFY(QDir(build.path()).mkpath(QFileInfo(rel).path()));
            QVERIFY(QFile::copy(from, build.filePath(rel)));
        }
        QString out;
        QVERIFY2(runChmcmd(build.path(), QStringLiteral("lunvelde.hhp"), &out), qPrintable(out));
        const QString fresh = build.filePath(kChm);
        QVERIFY(QFile::exists(fresh));

        TcHelp help;
        QVERIFY(help.funcCreate());
        QStringList committedNames = help.objectNames(committedChm());
        QStringList freshNames = help.objectNames(fresh);
        committedNames.sort();
        freshNames.sort();
        QVERIFY(!freshNames.isEmpty());
        QCOMPARE(committedNames, freshNames);

        // Every page, picture and stylesheet in help/ is compiled in.
        for (const QString& rel : sourceFiles)
            if (!rel.endsWith(QLatin1String(".hhp")))
                QVERIFY2(freshNames.contains(QLatin1Char('/') + rel), qPrintable(rel + " is not listed in lunvelde.hhp"));

        for (const QString& name : freshNames) {
            QByteArray a;
            QByteArray b;
            const bool readA = help.readObject(committedChm(), name, &a);
            const bool readB = help.readObject(fresh, name, &b);
            QCOMPARE(readA, readB);
            if (name == QLatin1String("/#SYSTEM")) {
                QVERIFY(systemRecords(a) == systemRecords(b));
                continue;
            }
            QVERIFY2(a == b, qPrintable(name + " differs: run \"make help\""));
        }
    }

    // Opening help, from the request until the page is set.
    void openingIsQuick()
    {
        auto median = [](std::vector<qint64> v) {
            std::sort(v.begin(), v.end());
            return v[v.size() / 2];
        };
        std::vector<qint64> firstOpen;
        std::vector<qint64> again;
        for (int i = 0; i < 7; ++i) {
            TcHelp help;
            QVERIFY(help.funcCreate());
            QElapsedTimer t;
            t.start();
            help.show();
            firstOpen.push_back(t.nsecsElapsed());
            QVERIFY(!browserOf(help.window())->source().isEmpty());
            browserOf(help.window())->setSource(QUrl(QStringLiteral("chm:/figures.html")));
            t.restart();
            help.show();
            again.push_back(t.nsecsElapsed());
            QCOMPARE(browserOf(help.window())->source().path(), defaultTopic(help));
        }
        const double firstMs = median(firstOpen) / 1e6;
        const double againMs = median(again) / 1e6;
        qInfo("help opening, median of 7: new window %.2f ms, raising the open window %.2f ms", firstMs, againMs);
        QVERIFY(firstMs < 200.0);
        QVERIFY(againMs < 200.0);
    }
};

int main(int argc, char** argv)
{
    // Nothing of the user's is touched: settings go to a throw-away folder.
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::installFontSubstitutes();
    TstHelp test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_help.moc"
