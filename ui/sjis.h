// The one conversion between the site file's Shift-JIS bytes and screen
// text. Everything in the pure library keeps Shift-JIS bytes; windows call
// these two functions where those bytes meet a control or a caption.
#pragma once

#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <string>

namespace ui {

// Characters Shift-JIS cannot hold are written as '?'.
QString fromSjis(const std::string& bytes);
std::string toSjis(const QString& text);

namespace detail {
// The same with given converters; without a valid one only ASCII passes.
QString decode(QStringDecoder& decoder, const std::string& bytes);
std::string encode(QStringEncoder& encoder, QStringDecoder& decoder, const QString& text);
}  // namespace detail

}  // namespace ui
