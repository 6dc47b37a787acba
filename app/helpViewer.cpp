#include "app/helpViewer.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QImage>
#include <QListWidget>
#include <QMainWindow>
#include <QPointer>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "chm/helpFile.h"
#include "ui/fonts.h"
#include "ui/framePos.h"
#include "chm/helpParse.h"
#include "platform/process.h"
#include "ui/fonts.h"

using namespace helpparse;

namespace {

QString& readerOverride()
{
    static QString path;
    return path;
}

const QString kViewerTitle = QStringLiteral("Lunvelde ヘルプ");

// The objects of an open help file, all read when it was opened.
class HelpArchive {
public:
    helpfile::Objects objects;

    bool read(const QString& objectPath, QByteArray* data) const
    {
        const auto it = objects.find(objectPath.toStdString());
        if (it == objects.end())
            return false;
        *data = QByteArray(it->second.data(), static_cast<qsizetype>(it->second.size()));
        return true;
    }
    QStringList names() const
    {
        QStringList list;
        for (const auto& entry : objects)
            list << QString::fromStdString(entry.first);
        return list;
    }
};

// A help file read and parsed off the window's thread: its objects, what its
// "#SYSTEM" object says, its contents and index, and whether every page,
// style sheet and sitemap reads as text.
struct Prepared {
    helpfile::Result result = helpfile::Result::Unreadable;
    std::shared_ptr<HelpArchive> file;
    SystemInfo system;
    std::vector<SitemapEntry> contents, index;
    bool intact = false;
};

// The page view: every page, style sheet and picture comes out of the help
// file; the toolkit itself opens nothing (see HelpWindow::load).
class HelpBrowser : public QTextBrowser {
public:
    using Loader = std::function<QVariant(int, const QUrl&)>;
    explicit HelpBrowser(Loader loader, QWidget* parent) : QTextBrowser(parent), loader_(std::move(loader)) {}

    QVariant loadResource(int type, const QUrl& name) override { return loader_(type, name); }

private:
    Loader loader_;
};

// The help window: contents and index beside the page, back, forward and home
// above. It has no owner and does not keep the program running on its own.
class HelpWindow : public QMainWindow {
public:
    explicit HelpWindow(const std::string& reader) : reader_(reader)
    {
        setObjectName(QStringLiteral("helpWindow"));
        setAttribute(Qt::WA_QuitOnClose, false);
        setWindowTitle(kViewerTitle);
        setFont(ui::dialogFont());
        resize(ui::sizeOnScreen(this, QSize(820, 580)));

        browser_ = new HelpBrowser([this](int type, const QUrl& url) { return load(type, url); }, this);
        browser_->setObjectName(QStringLiteral("helpBrowser"));
        browser_->setOpenLinks(false);
        QFont pageFont = ui::dialogFont();
        pageFont.setPixelSize(14);
        browser_->setFont(pageFont);

        contents_ = new QTreeWidget(this);
        contents_->setObjectName(QStringLiteral("helpContents"));
        contents_->setHeaderHidden(true);
        index_ = new QListWidget(this);
        index_->setObjectName(QStringLiteral("helpIndex"));

        auto* tabs = new QTabWidget(this);
        tabs->addTab(contents_, QStringLiteral("目次"));
        tabs->addTab(index_, QStringLiteral("索引"));

        auto* split = new QSplitter(Qt::Horizontal, this);
        split->addWidget(tabs);
        split->addWidget(browser_);
        split->setStretchFactor(1, 1);
        split->setSizes({230, 590});
        setCentralWidget(split);

        QToolBar* bar = addToolBar(QStringLiteral("help"));
        bar->setMovable(false);
        bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        back_ = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("戻る"),
                               browser_, &QTextBrowser::backward);
        forward_ = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("進む"),
                                  browser_, &QTextBrowser::forward);
        homeAction_ = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("最初のページ"),
                                     [this] { go(home_); });
        back_->setEnabled(false);
        forward_->setEnabled(false);

        QObject::connect(browser_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
        QObject::connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);
        QObject::connect(browser_, &QTextBrowser::anchorClicked, browser_, [this](const QUrl& url) { follow(url); });
        QObject::connect(browser_, &QTextBrowser::sourceChanged, browser_, [this](const QUrl& url) {
            updateTitle();
            markContents(url);
        });
        auto open = [this](QTreeWidgetItem* item) {
            if (item) follow(item->data(0, Qt::UserRole).toUrl());
        };
        QObject::connect(contents_, &QTreeWidget::itemClicked, contents_, open);
        QObject::connect(contents_, &QTreeWidget::itemActivated, contents_, open);
        auto openKeyword = [this](QListWidgetItem* item) {
            if (item) follow(item->data(Qt::UserRole).toUrl());
        };
        QObject::connect(index_, &QListWidget::itemClicked, index_, openKeyword);
        QObject::connect(index_, &QListWidget::itemActivated, index_, openKeyword);
    }

    ~HelpWindow() override { cancelLoad(); }

    // Opens the help file afresh: the reader reads it on a worker thread
    // while the window stays responsive and says so; then the window shows
    // the file's default topic, or a page that says why the file cannot be
    // read. A load still running is given up.
    void openFile(const QString& path)
    {
        cancelLoad();
        file_.reset();
        contents_->clear();
        index_->clear();
        lcid_ = 0;
        home_ = QUrl();
        homeAction_->setEnabled(false);
        browser_->setHtml(QStringLiteral("<html><head><title>%1</title></head><body><p>%2</p></body></html>")
                              .arg(kViewerTitle, QStringLiteral("ヘルプファイルを読み込んでいます…")));
        browser_->clearHistory();
        updateTitle();
        setCursor(Qt::WaitCursor);

        using Loaded = std::shared_ptr<Prepared>;
        auto cancel = std::make_shared<std::atomic<bool>>(false);
        cancel_ = cancel;
        auto* watcher = new QFutureWatcher<Loaded>(this);
        QObject::connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, cancel, path] {
            watcher->deleteLater();
            if (cancel_ != cancel) return;  // given up meanwhile
            cancel_.reset();
            unsetCursor();
            showFile(watcher->result(), path);
        });
        const std::string reader = reader_;
        const std::string file = QFile::encodeName(path).toStdString();
        watcher->setFuture(QtConcurrent::run([reader, file, cancel]() -> Loaded {
            auto prepared = std::make_shared<Prepared>();
            auto archive = std::make_shared<HelpArchive>();
            prepared->result = helpfile::load(reader, file, archive->objects, cancel.get());
            if (prepared->result == helpfile::Result::Ok) prepare(std::move(archive), *prepared);
            return prepared;
        }));
    }

    bool loading() const { return cancel_ != nullptr; }

protected:
    // Closing the window gives up a load still running (its reader is killed).
    void closeEvent(QCloseEvent* event) override
    {
        if (loading()) {
            cancelLoad();
            unsetCursor();
        }
        QMainWindow::closeEvent(event);
    }

private:
    void cancelLoad()
    {
        if (cancel_) *cancel_ = true;
        cancel_.reset();
    }

    // Off the window's thread: everything about the file that takes time in
    // proportion to its size.
    static void prepare(std::shared_ptr<HelpArchive> file, Prepared& p)
    {
        QByteArray bytes;
        if (file->read(QStringLiteral("/#SYSTEM"), &bytes)) p.system = parseSystem(bytes);
        const QString contentsPath = p.system.contentsFile.isEmpty() ? findObject(*file, QStringLiteral(".hhc"))
                                                         : p.system.contentsFile;
        const QString indexPath = p.system.indexFile.isEmpty() ? findObject(*file, QStringLiteral(".hhk"))
                                                               : p.system.indexFile;
        p.contents = readSitemap(*file, contentsPath, p.system.lcid);
        p.index = readSitemap(*file, indexPath, p.system.lcid);
        p.intact = textIntact(*file, p.system.lcid);
        p.file = std::move(file);
    }

    void showFile(const std::shared_ptr<Prepared>& prepared, const QString& path)
    {
        if (!prepared || prepared->result != helpfile::Result::Ok) {
            showError(path, prepared ? prepared->result : helpfile::Result::Unreadable);
            return;
        }
        file_ = prepared->file;
        const SystemInfo& system = prepared->system;
        lcid_ = system.lcid;
        const QUrl firstTopic = fillContents(prepared->contents);
        fillIndex(prepared->index);

        // The first page is one of the file's own: an outside address named
        // as the default topic or first in the contents is never opened.
        const QUrl named = topicUrl(system.defaultTopic);
        if (named.scheme() == kScheme) home_ = named;
        else if (firstTopic.isValid()) home_ = firstTopic;
        else home_ = topicUrl(QStringLiteral("/index.html"));

        // A damaged file may still open, with its pages cut short or garbled:
        // the first page must be there, and every page, style sheet and
        // contents list must read as text.
        QByteArray first;
        if (!file_->read(objectPathOf(home_.path()), &first) || first.isEmpty() || !prepared->intact) {
            file_.reset();
            contents_->clear();
            index_->clear();
            showError(path, helpfile::Result::Unreadable);
            return;
        }

        homeAction_->setEnabled(true);
        go(home_);
        browser_->clearHistory();
    }

    static bool textIntact(const HelpArchive& file, quint32 lcid)
    {
        static const char* const kTextEndings[] = {".html", ".htm", ".css", ".hhc", ".hhk"};
        for (const auto& [name, bytes] : file.objects) {
            const QString path = QString::fromStdString(name).toLower();
            const bool text = std::any_of(std::begin(kTextEndings), std::end(kTextEndings),
                                          [&path](const char* e) { return path.endsWith(QLatin1String(e)); });
            // a page too large to be shown is not decoded either
            const bool page = path.endsWith(QLatin1String(".html")) || path.endsWith(QLatin1String(".htm"));
            if (page && qsizetype(bytes.size()) > kMaxPageBytes) continue;
            const QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
            // decoded as they are shown: style sheets without the file's language
            const quint32 textLcid = path.endsWith(QLatin1String(".css")) ? 0 : lcid;
            if (text && (data.contains('\0') || decodeText(data, textLcid).contains(QChar::ReplacementCharacter)))
                return false;
        }
        return true;
    }

    // Everything a page asks for: an object of the help file, or nothing.
    // "Nothing" is an empty answer that is not null, and a picture is always
    // a picture: on a null answer, or on bytes that are no picture, the
    // toolkit would read the address itself as a local file (a device, a
    // pipe, a user's file).
    QVariant load(int type, const QUrl& url)
    {
        static const QVariant kNothing = QVariant(QByteArray(""));
        const QString scheme = url.scheme().toLower();
        const bool inFile = scheme == kScheme || scheme.isEmpty() || scheme == QLatin1String("ms-its") ||
                            scheme == QLatin1String("mk") || scheme == QLatin1String("its");
        const QString path = inFile ? objectPathOf(url.path()) : QString();
        QByteArray data;
        const bool found = file_ && !path.isEmpty() && file_->read(path, &data);
        switch (type) {
        case QTextDocument::HtmlResource:
            if (!found) return missingPage(inFile ? path : url.toString());
            return data.size() > kMaxPageBytes ? costlyPage(path, false) : pageText(path, decodeText(data, lcid_));
        case QTextDocument::StyleSheetResource:
            return found && data.size() <= kMaxPageBytes ? QVariant(decodeText(data, 0)) : kNothing;
        case QTextDocument::ImageResource: {
            const QImage image = found ? QImage::fromData(data) : QImage();
            if (!image.isNull()) return image;
            static const QImage kNoPicture = [] {
                QImage none(1, 1, QImage::Format_ARGB32);
                none.fill(Qt::transparent);
                return none;
            }();
            return kNoPicture;
        }
        default:
            return found ? QVariant(data) : kNothing;
        }
    }

    // A link the user follows (a link of a page, an entry of the contents or
    // the index): pages of the file open here; web and mail addresses go to
    // the desktop's own programs. Only a user's click reaches here.
    void follow(const QUrl& url)
    {
        const QString scheme = url.scheme().toLower();
        if (scheme == kScheme) {
            go(url);
        } else if (scheme == QLatin1String("ms-its") || scheme == QLatin1String("mk") ||
                   scheme == QLatin1String("its")) {
            go(topicUrl(url.path() + (url.hasFragment() ? QLatin1Char('#') + url.fragment() : QString())));
        } else if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
                   scheme == QLatin1String("mailto")) {
            QDesktopServices::openUrl(url);
        }
    }

    // Shows a page of the file; any other address is ignored.
    void go(const QUrl& url)
    {
        if (!url.isValid() || url.scheme() != kScheme) return;
        // The same page again: a reload would drop the anchor and show the
        // top of the page, so an anchor is only scrolled to.
        if (browser_->source() == url && url.hasFragment()) browser_->scrollToAnchor(url.fragment());
        else if (browser_->source() == url) browser_->reload();
        else browser_->setSource(url, QTextDocument::HtmlResource);
    }

    static QString findObject(const HelpArchive& file, const QString& suffix)
    {
        for (const auto& entry : file.objects) {
            const QString name = QString::fromStdString(entry.first);
            if (name.endsWith(suffix, Qt::CaseInsensitive)) return name;
        }
        return {};
    }

    static std::vector<SitemapEntry> readSitemap(const HelpArchive& file, const QString& path, quint32 lcid)
    {
        QByteArray bytes;
        if (path.isEmpty() || !file.read(path, &bytes)) return {};
        return parseSitemap(decodeText(bytes, lcid));
    }

    // Fills the contents tree; returns the first page of the file it names.
    QUrl fillContents(const std::vector<SitemapEntry>& entries)
    {
        QUrl first;
        std::vector<QTreeWidgetItem*> parents;
        for (const SitemapEntry& e : entries) {
            const std::size_t depth = std::min<std::size_t>(static_cast<std::size_t>(e.depth), parents.size());
            parents.resize(depth);
            auto* item = depth == 0 ? new QTreeWidgetItem(contents_) : new QTreeWidgetItem(parents.back());
            const QUrl url = topicUrl(e.local);
            item->setText(0, e.name);
            item->setData(0, Qt::UserRole, url);
            if (!first.isValid() && url.scheme() == kScheme) first = url;
            parents.push_back(item);
        }
        contents_->expandToDepth(0);
        return first;
    }

    void fillIndex(const std::vector<SitemapEntry>& entries)
    {
        for (const SitemapEntry& e : entries) {
            auto* item = new QListWidgetItem(QString(e.depth * 2, QLatin1Char(' ')) + e.name, index_);
            item->setData(Qt::UserRole, topicUrl(e.local));
        }
    }

    void markContents(const QUrl& url)
    {
        QTreeWidgetItem* pageItem = nullptr;
        QTreeWidgetItem* exactItem = nullptr;
        const QUrl page = url.adjusted(QUrl::RemoveFragment);
        for (QTreeWidgetItemIterator it(contents_); *it && !exactItem; ++it) {
            const QUrl itemUrl = (*it)->data(0, Qt::UserRole).toUrl();
            if (itemUrl == url) exactItem = *it;
            else if (!pageItem && itemUrl == page) pageItem = *it;
        }
        QTreeWidgetItem* item = exactItem ? exactItem : pageItem;
        const QSignalBlocker block(contents_);
        if (item) contents_->setCurrentItem(item);
        else contents_->clearSelection();
    }

    void updateTitle()
    {
        const QString title = browser_->documentTitle().trimmed();
        setWindowTitle(title.isEmpty() ? kViewerTitle : title);
    }

    void showError(const QString& path, helpfile::Result result)
    {
        const QFileInfo info(path);
        const QString reason =
            result == helpfile::Result::TooLarge
                ? QStringLiteral("ファイルが大きすぎます（%1 MB。読めるのは %2 MB までです）。")
                      .arg(QString::number(info.size() / 1048576.0, 'f', 1))
                      .arg(helpfile::kMaxFileBytes >> 20)
            : info.exists()
                ? QStringLiteral("ファイルはありますが、ヘルプファイルとして読めません。壊れているか、別の形式のファイルです。")
                : QStringLiteral("ファイルが見つかりません。");
        const QString html =
            QStringLiteral("<html><head><title>%1</title></head><body>"
                           "<h2>ヘルプファイル %2 を開けません。</h2>"
                           "<p>場所：%3</p><p>%4</p>"
                           "<p>ヘルプファイルを作業フォルダに置いてから、もう一度ヘルプを開いてください。</p>"
                           "</body></html>")
                .arg(kViewerTitle, info.fileName().toHtmlEscaped(), info.absoluteFilePath().toHtmlEscaped(),
                     reason);
        home_ = QUrl();
        homeAction_->setEnabled(false);
        browser_->setHtml(html);
        browser_->clearHistory();
        updateTitle();
    }

    static QString pageText(const QString& path, const QString& text)
    {
        return nestsTooDeep(text) ? costlyPage(path, true) : text;
    }

    // A page the window does not lay out: too large, or nested too deeply.
    static QString costlyPage(const QString& path, bool deep)
    {
        const QString why =
            deep ? QStringLiteral("要素の入れ子が深すぎます（読めるのは %1 段、表の中の表は %2 段までです）。")
                       .arg(kMaxNesting)
                       .arg(kMaxTableNesting)
                 : QStringLiteral("ページが大きすぎます（読めるのは %1 KB までです）。").arg(kMaxPageBytes >> 10);
        return QStringLiteral("<html><head><title>%1</title></head><body>"
                              "<h2>このページは表示できません。</h2>"
                              "<p>ページ %2 は、%3</p></body></html>")
            .arg(kViewerTitle, path.toHtmlEscaped(), why);
    }

    static QString missingPage(const QString& path)
    {
        return QStringLiteral("<html><head><title>%1</title></head><body>"
                              "<h2>ページが見つかりません。</h2>"
                              "<p>ページ %2 はヘルプファイルの中にありません。</p></body></html>")
            .arg(kViewerTitle, path.toHtmlEscaped());
    }

    std::string reader_;
    std::shared_ptr<std::atomic<bool>> cancel_;  // set while a load runs
    std::shared_ptr<HelpArchive> file_;
    quint32 lcid_ = 0;
    QUrl home_;
    HelpBrowser* browser_ = nullptr;
    QTreeWidget* contents_ = nullptr;
    QListWidget* index_ = nullptr;
    QAction* back_ = nullptr;
    QAction* forward_ = nullptr;
    QAction* homeAction_ = nullptr;
};

}  // namespace

struct TcHelp::Impl {
    std::string reader;  // the reader executable, once funcCreate found it
    QPointer<HelpWindow> window;
};

TcHelp::TcHelp() : d(new Impl) {}

TcHelp::~TcHelp()
{
    release();
    delete d;
}

bool TcHelp::funcCreate()
{
    release();
    helpAvailable = 0;
    const std::string reader =
        readerOverride().isEmpty() ? helpfile::readerPath() : QFile::encodeName(readerOverride()).toStdString();
    if (reader.empty() || !proc::isExecutable(reader)) return false;
    d->reader = reader;
    helpAvailable = 1;
    return true;
}

void TcHelp::show(const QString& chmPath)
{
    if (d->reader.empty()) return;
    if (!d->window) d->window = new HelpWindow(d->reader);
    HelpWindow* w = d->window;
    w->openFile(chmPath);
    if (w->isMinimized()) w->showNormal();
    else w->show();
    w->raise();
    w->activateWindow();
}

void TcHelp::release()
{
    delete d->window.data();  // gives up a load still running
    d->window = nullptr;
    d->reader.clear();
}

void TcHelp::setReaderPath(const QString& path)
{
    readerOverride() = path;
}

QWidget* TcHelp::window() const
{
    return d->window.data();
}

bool TcHelp::loading() const
{
    return d->window && d->window->loading();
}

QStringList TcHelp::objectNames(const QString& chmPath) const
{
    HelpArchive file;
    if (d->reader.empty() ||
        helpfile::load(d->reader, QFile::encodeName(chmPath).toStdString(), file.objects) != helpfile::Result::Ok)
        return {};
    return file.names();
}

bool TcHelp::readObject(const QString& chmPath, const QString& objectPath, QByteArray* data) const
{
    HelpArchive file;
    return !d->reader.empty() &&
           helpfile::load(d->reader, QFile::encodeName(chmPath).toStdString(), file.objects) == helpfile::Result::Ok &&
           file.read(objectPath, data);
}

QString TcHelp::defaultTopicOf(const QByteArray& systemObject)
{
    const QString topic = parseSystem(systemObject).defaultTopic;
    return topic.isEmpty() ? QString() : objectPathOf(topic);
}
