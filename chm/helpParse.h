// The objects of a help file as the viewer reads them: addresses of pages,
// the "#SYSTEM" object, page text in its character set, and the contents and
// index files. Plain functions of the bytes, without a window.
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <vector>

namespace helpparse {

// Pages inside the open help file are addressed as "chm:/<object path>", so
// that relative links and pictures resolve against the page that holds them.
inline const QString kScheme = QStringLiteral("chm");
inline constexpr quint32 kLcidJapanese = 0x411;

// "index.html", "/index.html" or "ms-its:x.chm::/index.html" -> "/index.html".
QString objectPathOf(QString path);

// The viewer's address of a topic named inside the file ("main.html#lines").
QUrl topicUrl(const QString& local);

// What the "#SYSTEM" object says: records of a 16-bit code, a 16-bit length
// and that many bytes, after a 32-bit version.
struct SystemInfo {
    QString defaultTopic;  // code 2
    QString contentsFile;  // code 0
    QString indexFile;     // code 1
    quint32 lcid = 0;      // code 4, first field
};
SystemInfo parseSystem(const QByteArray& systemObject);

// Text of a page or a sitemap: the charset its <meta> tag names; without
// one, the code page of the file's language (Shift-JIS for Japanese), else
// UTF-8.
QString decodeText(const QByteArray& bytes, quint32 lcid);

// What one page may cost the window that lays it out. The toolkit's layout
// grows with the page's length and with the square of its nesting, and
// doubles with each table inside a table (measured: 5,000 nested lists 6.4 s,
// 16 nested tables 2.7 s, a flat page of 480 KB 1.2 s): a page beyond these
// is not laid out. The pages of the program's own help are below 10 KB and
// nest fewer than 10 deep.
inline constexpr qsizetype kMaxPageBytes = qsizetype(256) << 10;
inline constexpr int kMaxNesting = 256;
inline constexpr int kMaxTableNesting = 8;

// True when the elements of an HTML text nest deeper than kMaxNesting, or
// its tables deeper than kMaxTableNesting. Elements left open count as open
// until an enclosing element closes, except those a sibling of their own
// kind closes (<li>, <p>, <td>, ...). Time linear in the text's length.
bool nestsTooDeep(const QString& html);

// The most entries read from a contents or index file, and the longest name
// kept (a longer one is cut short, ending in "…").
inline constexpr std::size_t kMaxSitemapEntries = 20000;
inline constexpr qsizetype kMaxEntryName = 1000;

// One entry of a contents (.hhc) or index (.hhk) file.
struct SitemapEntry {
    QString name;
    QString local;
    int depth = 0;
};

// Reads the <UL>/<LI><OBJECT type="text/sitemap"> tree of a sitemap file:
// at most kMaxSitemapEntries entries, in time linear in the text's length.
// Character references (&#65; &#x41; &lt; &gt; &quot; &apos; &amp;) in the
// values are decoded once.
std::vector<SitemapEntry> parseSitemap(QString text);

}  // namespace helpparse
