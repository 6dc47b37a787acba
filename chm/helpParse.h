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

// One entry of a contents (.hhc) or index (.hhk) file.
struct SitemapEntry {
    QString name;
    QString local;
    int depth = 0;
};

// Reads the <UL>/<LI><OBJECT type="text/sitemap"> tree of a sitemap file.
std::vector<SitemapEntry> parseSitemap(QString text);

}  // namespace helpparse
