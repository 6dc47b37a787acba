// The user's settings: the main window's position and the record number of
// the start-up site, three 32-bit values kept in an INI file
// (~/.config/Qorvex/lunvelde.conf, or under an absolute XDG_CONFIG_HOME),
// read once at the first showing of the main window and written when it
// closes.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace settings {

struct Values {
    int32_t top = 100;
    int32_t left = 100;
    int32_t initData = 0;
};

// The settings file; empty when the user has no place for settings at all
// (neither HOME nor an absolute XDG_CONFIG_HOME: a relative one is ignored,
// as the XDG rules say).
QString path();

// What a read found.
enum class Found {
    Values,      // the three values
    Defaults,    // no file, or a file without the three valid values
    Unreadable,  // a file is there but could not be read (not a regular
                 // file, no permission, too large, a read error)
};

// Reads the three values from the file's own bytes (nothing is written
// anywhere); out holds the defaults unless Values is returned.
Found read(Values& out);

// The three values in an INI text as the toolkit's INI reader takes them:
// keys WindowTop, WindowLeft and initData outside any section or in
// [General], each a whole number within 32 bits; false when any one is
// missing or invalid, or when the text is not well-formed INI.
bool parseText(const QByteArray& text, Values& out);

// Writes the three values (keeping the file's other keys) through a copy
// beside the file, checked and flushed to the disk before it takes the
// file's place; a settings file that is a link is written through to the
// file it names, whose permissions are kept. False when anything failed, and
// the file is then as it was.
bool write(const Values& values);

}  // namespace settings
