#include "chm/helpParse.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringView>
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

namespace {

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool isNameStart(QChar c)
{
    return isAsciiLetter(c) || c == QLatin1Char('_') || c == QLatin1Char(':');
}

bool isNameChar(QChar c)
{
    return isNameStart(c) || c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('.');
}

bool isHexDigit(QChar c)
{
    return c.isDigit() || (c >= QLatin1Char('a') && c <= QLatin1Char('f')) || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

// The character references of an attribute value, each decoded once, in one
// pass; a number outside Unicode or zero stands for nothing.
QString unescapeHtml(QStringView s)
{
    static const struct {
        QLatin1String name;
        QChar ch;
    } kNamed[] = {{QLatin1String("lt;"), QLatin1Char('<')},    {QLatin1String("gt;"), QLatin1Char('>')},
                  {QLatin1String("quot;"), QLatin1Char('"')},  {QLatin1String("apos;"), QLatin1Char('\'')},
                  {QLatin1String("amp;"), QLatin1Char('&')}};
    QString out;
    out.reserve(s.size());
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype amp = s.indexOf(QLatin1Char('&'), i);
        if (amp < 0) {
            out += s.mid(i);
            break;
        }
        out += s.mid(i, amp - i);
        i = amp + 1;
        if (i < n && s[i] == QLatin1Char('#')) {
            qsizetype j = i + 1;
            const bool hex = j < n && (s[j] == QLatin1Char('x') || s[j] == QLatin1Char('X'));
            const qsizetype digits = hex ? ++j : j;
            while (j < n && isHexDigit(s[j]))
                ++j;
            if (j > digits && j < n && s[j] == QLatin1Char(';')) {
                bool ok = false;
                const char32_t code = s.mid(digits, j - digits).toUInt(&ok, hex ? 16 : 10);
                if (ok && code > 0 && code <= 0x10FFFF)
                    out += QString::fromUcs4(&code, 1);
                i = j + 1;
                continue;
            }
        } else {
            const QStringView rest = s.mid(i);
            const auto named = std::find_if(std::begin(kNamed), std::end(kNamed),
                                            [&rest](const auto& e) { return rest.startsWith(e.name); });
            if (named != std::end(kNamed)) {
                out += named->ch;
                i += named->name.size();
                continue;
            }
        }
        out += QLatin1Char('&');
    }
    return out;
}

struct Tag {
    bool closing = false;
    QStringView name;
    QStringView attributes;  // what follows the name up to '>'
};

// Calls act on each tag of an HTML text in order, comments left out, until
// act returns false. One pass: the next '>' is looked for once for all the
// '<' before it.
template <class Act>
void forEachTag(const QString& text, Act act)
{
    const QStringView t(text);
    const qsizetype n = t.size();
    qsizetype pos = 0, gt = -1;
    while (pos < n) {
        const qsizetype lt = t.indexOf(QLatin1Char('<'), pos);
        if (lt < 0)
            return;
        if (t.mid(lt).startsWith(QLatin1String("<!--"))) {
            const qsizetype end = t.indexOf(QLatin1String("-->"), lt + 4);
            if (end < 0)
                return;
            pos = end + 3;
            continue;
        }
        if (gt <= lt && (gt = t.indexOf(QLatin1Char('>'), lt + 1)) < 0)
            return;
        qsizetype i = lt + 1;
        while (i < gt && t[i].isSpace())
            ++i;
        Tag tag;
        tag.closing = i < gt && t[i] == QLatin1Char('/');
        if (tag.closing)
            ++i;
        while (i < gt && t[i].isSpace())
            ++i;
        const qsizetype name = i;
        while (i < gt && isAsciiLetter(t[i]))
            ++i;
        if (i == name) {
            pos = lt + 1;
            continue;
        }
        tag.name = t.mid(name, i - name);
        tag.attributes = t.mid(i, gt - i);
        if (!act(tag))
            return;
        pos = gt + 1;
    }
}

// Calls act(name, value) on each name=value pair of a tag, the value bare or
// in single or double quotes; a quote left open ends the tag's attributes.
template <class Act>
void forEachAttribute(QStringView s, Act act)
{
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        if (!isNameStart(s[i])) {
            ++i;
            continue;
        }
        const qsizetype name = i;
        while (i < n && isNameChar(s[i]))
            ++i;
        const QStringView key = s.mid(name, i - name);
        qsizetype j = i;
        while (j < n && s[j].isSpace())
            ++j;
        if (j >= n || s[j] != QLatin1Char('='))
            continue;
        ++j;
        while (j < n && s[j].isSpace())
            ++j;
        if (j >= n)
            return;
        if (s[j] == QLatin1Char('"') || s[j] == QLatin1Char('\'')) {
            const qsizetype close = s.indexOf(s[j], j + 1);
            if (close < 0)
                return;
            act(key, s.mid(j + 1, close - j - 1));
            i = close + 1;
        } else {
            const qsizetype value = j;
            while (j < n && !s[j].isSpace() && s[j] != QLatin1Char('"') && s[j] != QLatin1Char('\'') &&
                   s[j] != QLatin1Char('>'))
                ++j;
            act(key, s.mid(value, j - value));
            i = j;
        }
    }
}

bool namedIn(const char* list, const QString& name)
{
    const QLatin1String names(list);
    for (qsizetype at = 0; at <= names.size();) {
        qsizetype end = names.indexOf(QLatin1Char(' '), at);
        if (end < 0) end = names.size();
        if (QStringView(name) == names.mid(at, end - at)) return true;
        at = end + 1;
    }
    return false;
}

}  // namespace

bool nestsTooDeep(const QString& html)
{
    static const char* const kEmpty =
        "area base basefont br col embed frame hr img input isindex keygen link meta param source track wbr";
    // An element that a sibling of its own kind closes: the siblings, and
    // the elements whose inside the search stays in.
    static const struct {
        const char* element;
        const char* siblings;
        const char* scope;
    } kImplied[] = {{"li", "li", "ul ol"},          {"dt", "dt dd", "dl"},          {"dd", "dt dd", "dl"},
                    {"tr", "tr", "table"},          {"td", "td th", "tr table"},    {"th", "td th", "tr table"},
                    {"option", "option", "select"}, {"p", "p", "div table ul ol dl blockquote li td th"}};
    std::vector<QString> open;
    int tables = 0;
    const auto closeFrom = [&](std::size_t k) {
        tables -= int(std::count(open.begin() + qsizetype(k), open.end(), QStringLiteral("table")));
        open.resize(k);
    };
    bool deep = false;
    forEachTag(html, [&](const Tag& tag) {
        const QString name = tag.name.toString().toLower();
        if (namedIn(kEmpty, name) || tag.attributes.endsWith(QLatin1Char('/')))
            return true;
        if (tag.closing) {
            for (std::size_t k = open.size(); k-- > 0;)
                if (open[k] == name) {
                    closeFrom(k);
                    break;
                }
            return true;
        }
        for (const auto& rule : kImplied) {
            if (name != QLatin1String(rule.element))
                continue;
            for (std::size_t k = open.size(); k-- > 0 && !namedIn(rule.scope, open[k]);)
                if (namedIn(rule.siblings, open[k])) {
                    closeFrom(k);
                    break;
                }
        }
        open.push_back(name);
        tables += name == QLatin1String("table");
        deep = open.size() > std::size_t(kMaxNesting) || tables > kMaxTableNesting;
        return !deep;
    });
    return deep;
}

std::vector<SitemapEntry> parseSitemap(QString text)
{
    std::vector<SitemapEntry> entries;
    int depth = 0;
    bool inObject = false;
    bool isTopic = false;
    SitemapEntry current;
    forEachTag(text, [&](const Tag& tag) {
        const QString element = tag.name.toString().toLower();
        if (element == QLatin1String("ul")) {
            depth = std::max(0, depth + (tag.closing ? -1 : 1));
            return true;
        }
        QString name;
        QString value;
        QString type;
        forEachAttribute(tag.attributes, [&](QStringView key, QStringView raw) {
            if (key.compare(QLatin1String("name"), Qt::CaseInsensitive) == 0) name = unescapeHtml(raw);
            else if (key.compare(QLatin1String("value"), Qt::CaseInsensitive) == 0) value = unescapeHtml(raw);
            else if (key.compare(QLatin1String("type"), Qt::CaseInsensitive) == 0) type = unescapeHtml(raw);
        });
        if (element == QLatin1String("object")) {
            if (!tag.closing) {
                inObject = true;
                isTopic = type.compare(QLatin1String("text/sitemap"), Qt::CaseInsensitive) == 0;
                current = SitemapEntry{};
                current.depth = std::max(0, depth - 1);
            } else {
                if (inObject && isTopic && !current.name.isEmpty()) {
                    if (current.name.size() > kMaxEntryName)
                        current.name = current.name.left(kMaxEntryName - 1) + QChar(0x2026);
                    entries.push_back(current);
                }
                inObject = false;
            }
        } else if (element == QLatin1String("param") && inObject) {
            const QString key = name.toLower();
            if (key == QLatin1String("name") && current.name.isEmpty()) current.name = value;
            else if (key == QLatin1String("local") && current.local.isEmpty()) current.local = value;
        }
        return entries.size() < kMaxSitemapEntries;
    });
    return entries;
}

}  // namespace helpparse
