// The two fonts of the program's windows and where a window opened from
// another one is placed.
#pragma once

#include <QFont>

class QWidget;

namespace ui {

// Registers Linux fallbacks for the two Japanese face names (IPA and Noto CJK
// fonts); call once after the application object exists.
void installFontSubstitutes();

// "ＭＳ Ｐゴシック", 12 pixels: the dialog font of every window.
QFont dialogFont();

// "ＭＳ ゴシック", 12 pixels: fixed pitch, double-byte characters two columns wide.
QFont fixedFont();

// Places window 30 pixels right of and 50 pixels below owner's top-left corner.
void placeBelow(QWidget* window, const QWidget* owner);

}  // namespace ui
