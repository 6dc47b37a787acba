#include "chm/helpParse.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>
#include <QtEndian>

#include <algorithm>

#include "ui/sjis.h"

namespace helpparse {

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

static QString systemString(const QByteArray& value)
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

static bool isShiftJisName(const QString& name)
{
    static const QStringList names = {
        QStringLiteral("shift_jis"), QStringLiteral("shift-jis"), QStringLiteral("sjis"),
        QStringLiteral("x-sjis"),    QStringLiteral("ms_kanji"),  QStringLiteral("csshiftjis"),
        QStringLiteral("windows-31j"), QStringLiteral("cp932")};
    return names.contains(name);
}

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

static QString unescapeHtml(QString s)
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

}  // namespace helpparse
