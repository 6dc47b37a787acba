// The one conversion between the site file's Shift-JIS bytes and screen
// text. Everything in the pure library keeps Shift-JIS bytes; windows call
// these two functions where those bytes meet a control or a caption.
#pragma once

#include <QString>
#include <string>

namespace ui {

QString fromSjis(const std::string& bytes);
std::string toSjis(const QString& text);

}  // namespace ui
