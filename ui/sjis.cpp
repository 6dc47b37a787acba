#include "ui/sjis.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace ui {

QString fromUtf8(const std::string& utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

namespace {

// Characters that Shift-JIS tables of the JIS standard give other code
// points than the converter's table: input methods on this system type the
// former (the wave dash above all). Each is given the code point that the
// converter has for the same Shift-JIS character, which would otherwise be
// written as an unassigned code.
QString withConverterCodePoints(QString text)
{
    static const struct {
        char16_t from;
        char16_t to;
    } kVariants[] = {
        {u'\u301C', u'\uFF5E'},  // wave dash
        {u'\u2016', u'\u2225'},  // double vertical line
        {u'\u2212', u'\uFF0D'},  // minus sign
        {u'\u2014', u'\u2015'},  // em dash
        {u'\u00A2', u'\uFFE0'},  // cent sign
        {u'\u00A3', u'\uFFE1'},  // pound sign
        {u'\u00AC', u'\uFFE2'},  // not sign
    };
    for (const auto& v : kVariants)
        text.replace(QChar(v.from), QChar(v.to));
    return text;
}

}  // namespace

namespace detail {

QString decode(QStringDecoder& decoder, const std::string& bytes)
{
    if (decoder.isValid())
        return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    // Without a Shift-JIS table only the ASCII bytes can be read.
    QString text;
    for (const char b : bytes)
        text += static_cast<unsigned char>(b) < 0x80 ? QChar(b) : QChar(QChar::ReplacementCharacter);
    return text;
}

std::string encode(QStringEncoder& encoder, QStringDecoder& decoder, const QString& text)
{
    // Character by character: one that Shift-JIS cannot hold (or that would
    // read back as another character) becomes '?', so the file never holds a
    // substitute code and what is written reads back as it was typed.
    const QString source = withConverterCodePoints(text);
    std::string out;
    for (qsizetype i = 0; i < source.size();) {
        const qsizetype n =
            source.at(i).isHighSurrogate() && i + 1 < source.size() && source.at(i + 1).isLowSurrogate() ? 2 : 1;
        const QString ch = source.mid(i, n);
        i += n;
        std::string bytes;
        if (encoder.isValid()) {
            const QByteArray encoded = encoder.encode(ch);
            bytes.assign(encoded.constData(), static_cast<std::size_t>(encoded.size()));
        } else if (ch.size() == 1 && ch.at(0).unicode() < 0x80) {
            bytes.assign(1, static_cast<char>(ch.at(0).unicode()));
        }
        out += bytes.empty() || decode(decoder, bytes) != ch ? std::string("?") : bytes;
    }
    return out;
}

}  // namespace detail

QString fromSjis(const std::string& bytes)
{
    QStringDecoder decoder("Shift_JIS");
    return detail::decode(decoder, bytes);
}

std::string toSjis(const QString& text)
{
    QStringEncoder encoder("Shift_JIS");
    QStringDecoder decoder("Shift_JIS");
    return detail::encode(encoder, decoder, text);
}

}  // namespace ui
