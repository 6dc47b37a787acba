// The start-up measurement. With LUNVELDE_QUIT_AFTER_FIRST_PAINT=1 in the
// environment the program measures its own start: after the main window's
// first paint it prints the time since the process started, the time since
// main and its resident memory, then quits. Message boxes are then written
// to standard error instead of being shown, so the measurement never waits
// for a user (tools/measure_startup.sh runs it).
#pragma once

class QApplication;
class QElapsedTimer;

namespace ui {

// Arms the measurement when the environment asks for it; does nothing
// otherwise. Call before the main window is created; sinceMain was started
// at the top of main.
void armStartupProbe(QApplication& app, const QElapsedTimer& sinceMain);

}  // namespace ui
