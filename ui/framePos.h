// Where top-level windows go: by their frame's top-left corner, the position
// QWidget::pos() reports and the one the settings keep.
#pragma once

#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>

class QWidget;

namespace ui {

// Where a window's frame goes so that it can be seen. frame: the frame (title
// bar and border included) as asked for; areas: the screens' available areas.
// A frame that lies wholly within one area is returned unchanged. Any other
// is moved, and where it is larger than the area also shrunk, into the area
// that holds most of it (the nearest one when none holds any part; the first
// one when even the distances tie). The arithmetic is done in 64 bits, so
// positions at the ends of the int range are moved, never wrapped. Without
// areas the frame is returned as it is.
QRect fitFrame(QRect frame, const QList<QRect>& areas);
// The same for a frame whose corner may lie anywhere in the int range.
QRect fitFrame(QPoint topLeft, QSize size, const QList<QRect>& areas);

// Where a second window (frame size size) goes beside owner's frame: right of
// it, else left, else below, else above, each 9 pixels apart and fitted into
// areas; of these the first that covers none of owner, else the one that
// covers the least of it.
QRect besideFrame(QRect owner, QSize size, const QList<QRect>& areas);

// The available areas of all screens.
QList<QRect> screenAreas();

// The largest size up to wanted (a client size) whose frame fits into the
// available area of window's screen.
QSize sizeOnScreen(QWidget* window, QSize wanted);

// Puts window's frame (title bar and border included) with its top-left
// corner at topLeft; where that frame would not fit on a screen, at the
// place fitFrame gives (a resizable window is also shrunk). Under X11 the toolkit places a window that has not been
// shown yet by its client area, since the window manager's frame is not known
// before the window is mapped; the position is then corrected once, as soon as
// the frame is known. Without a window manager frame and client coincide and
// nothing is corrected.
void moveFrame(QWidget* window, QPoint topLeft);

// Places window beside owner (besideFrame).
void placeBeside(QWidget* window, const QWidget* owner);

// Places window 30 pixels right of and 50 pixels below owner's top-left corner.
void placeBelow(QWidget* window, const QWidget* owner);

}  // namespace ui
