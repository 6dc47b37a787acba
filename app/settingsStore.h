// The user's settings: the main window's position and the record number of
// the start-up site, three 32-bit values kept in an INI file
// (~/.config/Qorvex/lunvelde.conf, or under XDG_CONFIG_HOME), read once at
// the first showing of the main window and written when it closes.
#pragma once

#include <QString>
#include <cstdint>

namespace settings {

struct Values {
    int32_t top = 100;
    int32_t left = 100;
    int32_t initData = 0;
};

// The settings file; empty when the user has no place for settings at all
// (neither HOME nor XDG_CONFIG_HOME).
QString path();

// Reads the three values; false (and the defaults) when any one of them is
// missing or not a whole number within 32 bits.
bool read(Values& out);

// Writes the three values and flushes them; false when that failed, and the
// file is then as it was.
bool write(const Values& values);

}  // namespace settings
