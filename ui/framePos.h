// Where top-level windows go: by their frame's top-left corner, the position
// QWidget::pos() reports and the one the settings keep.
#pragma once

#include <QPoint>

class QWidget;

namespace ui {

// Puts window's frame (title bar and border included) with its top-left
// corner at topLeft. Under X11 the toolkit places a window that has not been
// shown yet by its client area, since the window manager's frame is not known
// before the window is mapped; the position is then corrected once, as soon as
// the frame is known. Without a window manager frame and client coincide and
// nothing is corrected.
void moveFrame(QWidget* window, QPoint topLeft);

// Places window 30 pixels right of and 50 pixels below owner's top-left corner.
void placeBelow(QWidget* window, const QWidget* owner);

}  // namespace ui
