// The conversions between the pure library's text and screen text: the site
// file's Shift-JIS bytes (everything in the pure library keeps them as they
// are) and the UTF-8 of the text lines the library builds. Windows call
// these functions where those bytes meet a control or a caption.
#pragma once

#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <string>

namespace ui {

// UTF-8 text of the pure library as screen text.
QString fromUtf8(const std::string& utf8);

// Characters Shift-JIS cannot hold are written as '?'.
QString fromSjis(const std::string& bytes);
std::string toSjis(const QString& text);

namespace detail {
// The same with given converters; without a valid one only ASCII passes.
QString decode(QStringDecoder& decoder, const std::string& bytes);
std::string encode(QStringEncoder& encoder, QStringDecoder& decoder, const QString& text);
}  // namespace detail

}  // namespace ui
