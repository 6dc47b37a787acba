// The two fonts of the program's windows.
#pragma once

#include <QFont>

namespace ui {

// Registers Linux fallbacks for the two Japanese face names (IPA and Noto CJK
// fonts); call once after the application object exists.
void installFontSubstitutes();

// "ＭＳ Ｐゴシック", 12 pixels: the dialog font of every window.
QFont dialogFont();

// "ＭＳ ゴシック", 12 pixels: fixed pitch, double-byte characters two columns wide.
QFont fixedFont();

}  // namespace ui
