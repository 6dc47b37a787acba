#include "ui/sjis.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace ui {

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

QString fromSjis(const std::string& bytes)
{
    QStringDecoder decoder("Shift_JIS");
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string toSjis(const QString& text)
{
    QStringEncoder encoder("Shift_JIS");
    const QByteArray bytes = encoder.encode(withConverterCodePoints(text));
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace ui
