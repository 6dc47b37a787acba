#include "ui/helpViewer.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLibrary>
#include <QListWidget>
#include <QMainWindow>
#include <QPointer>
#include <QRegularExpression>
#include <QSplitter>
#include <QStringDecoder>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QUrl>
#include <QtEndian>

#include <chm_lib.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "ui/fonts.h"
#include "ui/sjis.h"

namespace {

QString& libraryName()
{
    static QString name = QStringLiteral("libchm.so.1");
    return name;
}

// Pages inside the open help file are addressed as "chm:/<object path>", so
// that relative links and pictures resolve against the page that holds them.
const QString kScheme = QStringLiteral("chm");
const QString kViewerTitle = QStringLiteral("Lunvelde ヘルプ");
constexpr LONGUINT64 kMaxObjectBytes = LONGUINT64(64) << 20;
constexpr quint32 kLcidJapanese = 0x411;

// The chmlib functions, resolved from the loaded library.
struct ChmApi {
    chmFile* (*open)(const char*) = nullptr;
    void (*close)(chmFile*) = nullptr;
    int (*resolve)(chmFile*, const char*, chmUnitInfo*) = nullptr;
    LONGINT64 (*retrieve)(chmFile*, chmUnitInfo*, unsigned char*, LONGUINT64, LONGINT64) = nullptr;
    int (*enumerate)(chmFile*, int, CHM_ENUMERATOR, void*) = nullptr;  // only for listing

    bool complete() const { return open && close && resolve && retrieve; }
};

// The reader library trusts the compression settings of a file: a window
// size it cannot decode with, or a reset block count of 0, makes it crash on
// the first compressed object instead of failing. This repeats its own test
// of the settings and refuses the settings it would accept but cannot use.
bool compressionSettingsUsable(const QByteArray& control)
{
    if (control.size() < 24) return true;  // the library then reads nothing compressed
    const auto* b = reinterpret_cast<const uchar*>(control.constData());
    if (control.mid(4, 4) != "LZXC") return true;
    const quint32 version = qFromLittleEndian<quint32>(b + 8);
    quint32 resetInterval = qFromLittleEndian<quint32>(b + 12);
    quint32 windowSize = qFromLittleEndian<quint32>(b + 16);
    const quint32 windowsPerReset = qFromLittleEndian<quint32>(b + 20);
    if (version == 2) {
        resetInterval *= 0x8000u;
        windowSize *= 0x8000u;
    }
    if (windowSize == 0 || resetInterval == 0 || windowSize == 1) return true;
    if (resetInterval % (windowSize / 2) != 0) return true;
    // From here on the library decompresses with these settings.
    const bool powerOfTwo = (windowSize & (windowSize - 1)) == 0;
    if (!powerOfTwo || windowSize < (1u << 15) || windowSize > (1u << 21)) return false;
    const quint64 blocksPerReset = quint64(resetInterval / (windowSize / 2)) * windowsPerReset;
    return blocksPerReset != 0 && blocksPerReset <= 0xFFFFFFFFu;
}

// One open help file, closed when the object goes.
class ChmFile {
public:
    ChmFile(const ChmApi& api, const QString& path) : api_(api)
    {
        if (!api_.complete()) return;
        handle_ = api_.open(QFile::encodeName(path).constData());
        QByteArray control;
        if (handle_ && read(QStringLiteral("::DataSpace/Storage/MSCompressed/ControlData"), &control) &&
            !compressionSettingsUsable(control)) {
            api_.close(handle_);
            handle_ = nullptr;
        }
    }
    ~ChmFile()
    {
        if (handle_) api_.close(handle_);
    }
    ChmFile(const ChmFile&) = delete;
    ChmFile& operator=(const ChmFile&) = delete;

    bool isOpen() const { return handle_ != nullptr; }

    bool read(const QString& objectPath, QByteArray* data) const
    {
        if (!handle_) return false;
        chmUnitInfo info{};
        const QByteArray name = objectPath.toUtf8();
        if (api_.resolve(handle_, name.constData(), &info) != CHM_RESOLVE_SUCCESS) return false;
        if (info.length > kMaxObjectBytes) return false;
        QByteArray out(static_cast<qsizetype>(info.length), Qt::Uninitialized);
        LONGUINT64 done = 0;
        while (done < info.length) {
            auto* at = reinterpret_cast<unsigned char*>(out.data()) + done;
            const LONGINT64 got =
                api_.retrieve(handle_, &info, at, done, static_cast<LONGINT64>(info.length - done));
            if (got <= 0) return false;
            done += static_cast<LONGUINT64>(got);
        }
        *data = out;
        return true;
    }

    QStringList names() const
    {
        QStringList list;
        if (handle_ && api_.enumerate) api_.enumerate(handle_, CHM_ENUMERATE_ALL, &ChmFile::collect, &list);
        return list;
    }

private:
    static int collect(chmFile*, chmUnitInfo* info, void* context)
    {
        static_cast<QStringList*>(context)->append(QString::fromUtf8(info->path));
        return CHM_ENUMERATOR_CONTINUE;
    }

    ChmApi api_;
    chmFile* handle_ = nullptr;
};

// "index.html", "/index.html" or "ms-its:x.chm::/index.html" -> "/index.html".
QString objectPathOf(QString path)
{
    path = path.trimmed();
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const qsizetype archive = path.indexOf(QLatin1String("::"));
    if (archive >= 0) path = path.mid(archive + 2);
    if (path.isEmpty()) return {};
    if (!path.startsWith(QLatin1Char('/'))) path.prepend(QLatin1Char('/'));
    return QDir::cleanPath(path);
}

// The viewer's address of a topic named inside the file ("main.html#lines").
QUrl topicUrl(const QString& local)
{
    if (local.trimmed().isEmpty()) return {};
    if (local.contains(QLatin1String("://")) && !local.contains(QLatin1String("::"))) return QUrl(local);
    QString path = local;
    QString fragment;
    const qsizetype hash = path.indexOf(QLatin1Char('#'));
    if (hash >= 0) {
        fragment = path.mid(hash + 1);
        path.truncate(hash);
    }
    QUrl url;
    url.setScheme(kScheme);
    url.setPath(objectPathOf(path));
    if (!fragment.isEmpty()) url.setFragment(fragment);
    return url;
}

// What the "#SYSTEM" object says: records of a 16-bit code, a 16-bit length
// and that many bytes, after a 32-bit version.
struct SystemInfo {
    QString defaultTopic;  // code 2
    QString contentsFile;  // code 0
    QString indexFile;     // code 1
    quint32 lcid = 0;      // code 4, first field
};

QString systemString(const QByteArray& value)
{
    const qsizetype end = value.indexOf('\0');
    return QString::fromUtf8(end < 0 ? value : value.left(end));
}

SystemInfo parseSystem(const QByteArray& s)
{
    SystemInfo info;
    const auto* bytes = reinterpret_cast<const uchar*>(s.constData());
    qsizetype pos = 4;
    while (pos + 4 <= s.size()) {
        const quint16 code = qFromLittleEndian<quint16>(bytes + pos);
        const quint16 length = qFromLittleEndian<quint16>(bytes + pos + 2);
        pos += 4;
        if (pos + length > s.size()) break;
        const QByteArray value = s.mid(pos, length);
        pos += length;
        switch (code) {
        case 0: info.contentsFile = objectPathOf(systemString(value)); break;
        case 1: info.indexFile = objectPathOf(systemString(value)); break;
        case 2: info.defaultTopic = systemString(value).trimmed(); break;
        case 4:
            if (length >= 4) info.lcid = qFromLittleEndian<quint32>(bytes + pos - length);
            break;
        default: break;
        }
    }
    return info;
}

bool isShiftJisName(const QString& name)
{
    static const QStringList names = {
        QStringLiteral("shift_jis"), QStringLiteral("shift-jis"), QStringLiteral("sjis"),
        QStringLiteral("x-sjis"),    QStringLiteral("ms_kanji"),  QStringLiteral("csshiftjis"),
        QStringLiteral("windows-31j"), QStringLiteral("cp932")};
    return names.contains(name);
}

// Text of a page or a sitemap: the charset its <meta> tag names; without
// one, the code page of the file's language (Shift-JIS for Japanese), else
// UTF-8.
QString decodeText(const QByteArray& bytes, quint32 lcid)
{
    static const QRegularExpression charsetRe(QStringLiteral(R"(charset\s*=\s*["']?\s*([A-Za-z0-9_.:\-]+))"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = charsetRe.match(QString::fromLatin1(bytes.left(2048)));
    QString name = m.hasMatch() ? m.captured(1).toLower() : QString();
    if (name.isEmpty() && lcid == kLcidJapanese) name = QStringLiteral("shift_jis");
    if (isShiftJisName(name)) return ui::fromSjis(bytes.toStdString());
    if (!name.isEmpty() && name != QLatin1String("utf-8") && name != QLatin1String("utf8")) {
        QStringDecoder decoder(name.toLatin1().constData());
        if (decoder.isValid()) return decoder.decode(bytes);
    }
    if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.mid(3));
    return QString::fromUtf8(bytes);
}

QString unescapeHtml(QString s)
{
    static const QRegularExpression numeric(QStringLiteral("&#([xX]?)([0-9A-Fa-f]+);"));
    QRegularExpressionMatch m;
    qsizetype from = 0;
    while ((m = numeric.match(s, from)).hasMatch()) {
        bool ok = false;
        const uint code = m.captured(2).toUInt(&ok, m.captured(1).isEmpty() ? 10 : 16);
        const QString ch = ok && code > 0 && code <= 0x10FFFF ? QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1)
                                                              : QString();
        s.replace(m.capturedStart(), m.capturedLength(), ch);
        from = m.capturedStart() + ch.size();
    }
    s.replace(QLatin1String("&lt;"), QLatin1String("<"));
    s.replace(QLatin1String("&gt;"), QLatin1String(">"));
    s.replace(QLatin1String("&quot;"), QLatin1String("\""));
    s.replace(QLatin1String("&apos;"), QLatin1String("'"));
    s.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return s;
}

// One entry of a contents (.hhc) or index (.hhk) file.
struct SitemapEntry {
    QString name;
    QString local;
    int depth = 0;
};

// Reads the <UL>/<LI><OBJECT type="text/sitemap"> tree of a sitemap file.
std::vector<SitemapEntry> parseSitemap(QString text)
{
    static const QRegularExpression comment(QStringLiteral("<!--.*?-->"),
                                            QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression tag(QStringLiteral(R"(<\s*(/?)\s*([A-Za-z]+)([^>]*)>)"));
    static const QRegularExpression attr(
        QStringLiteral(R"re(([A-Za-z_:][-A-Za-z0-9_:.]*)\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s"'>]+)))re"));
    text.remove(comment);

    std::vector<SitemapEntry> entries;
    int depth = 0;
    bool inObject = false;
    bool isTopic = false;
    SitemapEntry current;
    auto it = tag.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const bool closing = !m.captured(1).isEmpty();
        const QString element = m.captured(2).toLower();
        if (element == QLatin1String("ul")) {
            depth = std::max(0, depth + (closing ? -1 : 1));
            continue;
        }
        QString name;
        QString value;
        QString type;
        auto attrs = attr.globalMatch(m.captured(3));
        while (attrs.hasNext()) {
            const QRegularExpressionMatch a = attrs.next();
            const QString key = a.captured(1).toLower();
            const QString v = unescapeHtml(a.captured(2) + a.captured(3) + a.captured(4));
            if (key == QLatin1String("name")) name = v;
            else if (key == QLatin1String("value")) value = v;
            else if (key == QLatin1String("type")) type = v;
        }
        if (element == QLatin1String("object")) {
            if (!closing) {
                inObject = true;
                isTopic = type.compare(QLatin1String("text/sitemap"), Qt::CaseInsensitive) == 0;
                current = SitemapEntry{};
                current.depth = std::max(0, depth - 1);
            } else {
                if (inObject && isTopic && !current.name.isEmpty()) entries.push_back(current);
                inObject = false;
            }
        } else if (element == QLatin1String("param") && inObject) {
            const QString key = name.toLower();
            if (key == QLatin1String("name") && current.name.isEmpty()) current.name = value;
            else if (key == QLatin1String("local") && current.local.isEmpty()) current.local = value;
        }
    }
    return entries;
}

// The page view: every page, stylesheet and picture comes out of the help file.
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
    explicit HelpWindow(const ChmApi& api) : api_(api)
    {
        setObjectName(QStringLiteral("helpWindow"));
        setAttribute(Qt::WA_QuitOnClose, false);
        setWindowTitle(kViewerTitle);
        setFont(ui::dialogFont());
        resize(820, 580);

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
            if (item) go(item->data(0, Qt::UserRole).toUrl());
        };
        QObject::connect(contents_, &QTreeWidget::itemClicked, contents_, open);
        QObject::connect(contents_, &QTreeWidget::itemActivated, contents_, open);
        auto openKeyword = [this](QListWidgetItem* item) {
            if (item) go(item->data(Qt::UserRole).toUrl());
        };
        QObject::connect(index_, &QListWidget::itemClicked, index_, openKeyword);
        QObject::connect(index_, &QListWidget::itemActivated, index_, openKeyword);
    }

    // Opens the help file afresh and shows its default topic, or a page that
    // says why the file cannot be read.
    void openFile(const QString& path)
    {
        file_.reset();
        contents_->clear();
        index_->clear();
        lcid_ = 0;
        auto file = std::make_unique<ChmFile>(api_, path);
        if (!file->isOpen()) {
            showError(path);
            return;
        }
        file_ = std::move(file);

        QByteArray bytes;
        SystemInfo system;
        if (file_->read(QStringLiteral("/#SYSTEM"), &bytes)) system = parseSystem(bytes);
        lcid_ = system.lcid;

        const QString contentsPath = system.contentsFile.isEmpty() ? findObject(QStringLiteral(".hhc"))
                                                                   : system.contentsFile;
        const QString indexPath = system.indexFile.isEmpty() ? findObject(QStringLiteral(".hhk"))
                                                             : system.indexFile;
        const QUrl firstTopic = fillContents(contentsPath);
        fillIndex(indexPath);

        if (!system.defaultTopic.isEmpty()) home_ = topicUrl(system.defaultTopic);
        else if (firstTopic.isValid()) home_ = firstTopic;
        else home_ = topicUrl(QStringLiteral("/index.html"));

        homeAction_->setEnabled(true);
        go(home_);
        browser_->clearHistory();
    }

private:
    QVariant load(int type, const QUrl& url)
    {
        const QString scheme = url.scheme().toLower();
        const bool inFile = scheme == kScheme || scheme.isEmpty() || scheme == QLatin1String("ms-its") ||
                            scheme == QLatin1String("mk") || scheme == QLatin1String("its");
        if (!inFile) return {};
        const QString path = objectPathOf(url.path());
        QByteArray data;
        const bool found = file_ && !path.isEmpty() && file_->read(path, &data);
        switch (type) {
        case QTextDocument::HtmlResource:
            return found ? decodeText(data, lcid_) : missingPage(path);
        case QTextDocument::StyleSheetResource:
            return found ? QVariant(decodeText(data, 0)) : QVariant();
        case QTextDocument::ImageResource: {
            if (!found) return {};
            const QImage image = QImage::fromData(data);
            return image.isNull() ? QVariant() : QVariant(image);
        }
        default:
            return found ? QVariant(data) : QVariant();
        }
    }

    // A link inside a page: pages of the file open here; web and mail
    // addresses go to the desktop's own programs.
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

    void go(const QUrl& url)
    {
        if (!url.isValid()) return;
        if (url.scheme() != kScheme) {
            follow(url);
            return;
        }
        // The same page again: a reload would drop the anchor and show the
        // top of the page, so an anchor is only scrolled to.
        if (browser_->source() == url && url.hasFragment()) browser_->scrollToAnchor(url.fragment());
        else if (browser_->source() == url) browser_->reload();
        else browser_->setSource(url, QTextDocument::HtmlResource);
    }

    QString findObject(const QString& suffix) const
    {
        if (!file_) return {};
        const QStringList names = file_->names();
        for (const QString& name : names)
            if (name.endsWith(suffix, Qt::CaseInsensitive)) return name;
        return {};
    }

    std::vector<SitemapEntry> readSitemap(const QString& path) const
    {
        QByteArray bytes;
        if (path.isEmpty() || !file_ || !file_->read(path, &bytes)) return {};
        return parseSitemap(decodeText(bytes, lcid_));
    }

    // Fills the contents tree; returns the first page it names.
    QUrl fillContents(const QString& path)
    {
        QUrl first;
        std::vector<QTreeWidgetItem*> parents;
        for (const SitemapEntry& e : readSitemap(path)) {
            const std::size_t depth = std::min<std::size_t>(static_cast<std::size_t>(e.depth), parents.size());
            parents.resize(depth);
            auto* item = depth == 0 ? new QTreeWidgetItem(contents_) : new QTreeWidgetItem(parents.back());
            const QUrl url = topicUrl(e.local);
            item->setText(0, e.name);
            item->setData(0, Qt::UserRole, url);
            if (!first.isValid() && url.isValid()) first = url;
            parents.push_back(item);
        }
        contents_->expandToDepth(0);
        return first;
    }

    void fillIndex(const QString& path)
    {
        for (const SitemapEntry& e : readSitemap(path)) {
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

    void showError(const QString& path)
    {
        const QFileInfo info(path);
        const QString reason = info.exists()
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

    static QString missingPage(const QString& path)
    {
        return QStringLiteral("<html><head><title>%1</title></head><body>"
                              "<h2>ページが見つかりません。</h2>"
                              "<p>ページ %2 はヘルプファイルの中にありません。</p></body></html>")
            .arg(kViewerTitle, path.toHtmlEscaped());
    }

    ChmApi api_;
    std::unique_ptr<ChmFile> file_;
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
    QLibrary library;
    ChmApi api;
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
    d->library.setFileName(libraryName());
    if (!d->library.load()) return false;
    ChmApi api;
    api.open = reinterpret_cast<decltype(api.open)>(d->library.resolve("chm_open"));
    api.close = reinterpret_cast<decltype(api.close)>(d->library.resolve("chm_close"));
    api.resolve = reinterpret_cast<decltype(api.resolve)>(d->library.resolve("chm_resolve_object"));
    api.retrieve = reinterpret_cast<decltype(api.retrieve)>(d->library.resolve("chm_retrieve_object"));
    api.enumerate = reinterpret_cast<decltype(api.enumerate)>(d->library.resolve("chm_enumerate"));
    if (!api.complete()) {
        d->library.unload();
        return false;
    }
    d->api = api;
    helpAvailable = 1;
    return true;
}

void TcHelp::show(const QString& chmPath)
{
    if (!d->api.complete()) return;
    if (!d->window) d->window = new HelpWindow(d->api);
    HelpWindow* w = d->window;
    w->openFile(chmPath);
    if (w->isMinimized()) w->showNormal();
    else w->show();
    w->raise();
    w->activateWindow();
}

void TcHelp::release()
{
    // The window reads through the library's functions: it goes first.
    delete d->window.data();
    d->window = nullptr;
    d->api = ChmApi{};
    if (d->library.isLoaded()) d->library.unload();
}

void TcHelp::setLibraryName(const QString& name)
{
    libraryName() = name;
}

QWidget* TcHelp::window() const
{
    return d->window.data();
}

QStringList TcHelp::objectNames(const QString& chmPath) const
{
    if (!d->api.complete()) return {};
    return ChmFile(d->api, chmPath).names();
}

bool TcHelp::readObject(const QString& chmPath, const QString& objectPath, QByteArray* data) const
{
    if (!d->api.complete()) return false;
    return ChmFile(d->api, chmPath).read(objectPath, data);
}

QString TcHelp::defaultTopicOf(const QByteArray& systemObject)
{
    const QString topic = parseSystem(systemObject).defaultTopic;
    return topic.isEmpty() ? QString() : objectPathOf(topic);
}
