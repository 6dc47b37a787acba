// Whether the program can reach a display before the toolkit tries to (it
// would abort the process with a core dump when it cannot).
#pragma once

namespace display {

// False when none of the platforms the toolkit will try can be reached: the
// ones QT_QPA_PLATFORM lists, or else Wayland (when WAYLAND_DISPLAY is set or
// XDG_SESSION_TYPE is "wayland") and then X11. X11 counts when an X server
// answers on DISPLAY (asked again for up to a second, as a server may be
// resetting) and has the screen DISPLAY names; Wayland when its socket
// accepts a connection. Any other platform (offscreen, vnc, ...) is left to
// the toolkit.
//
// The connection made to ask the X server stays open until release(): a
// server that resets when its last client leaves (Xvfb without -noreset, as
// xvfb-run starts it) would otherwise be resetting just when the toolkit
// connects, and the toolkit would abort after all.
bool usable();

// Closes the connection usable() kept; call it once the toolkit has its own.
void release();

// The one line the program prints when there is no display.
const char* noDisplayLine();

}  // namespace display
