// Whether the program can reach a display before the toolkit tries to (it
// would abort the process with a core dump when it cannot).
#pragma once

namespace display {

// False only when the toolkit will use the X11 platform (QT_QPA_PLATFORM unset
// or "xcb", and no Wayland session to try first) and no X server answers on
// DISPLAY (asked again for up to a second, as a server may be resetting).
// Any other platform is left to the toolkit.
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
