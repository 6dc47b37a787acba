// The site list file "obspoint.txt": fixed 50-byte records of Shift-JIS text
// (48 characters and CR LF), record n at byte 50 * n. Every operation opens
// the file, does its work and closes it. No Qt here: names are Shift-JIS
// bytes; windows convert them for the screen.
#pragma once

#include <string>
#include <vector>

#include "app/mainState.h"

namespace sitefile {

// The file name, opened in the working directory.
inline constexpr const char* kFileName = "obspoint.txt";

// Start-up load: lowers cMain.defaultSiteIndex to the last record when it is
// larger, loads that record into the site members and sets currentSiteIndex.
// Returns 0 when a record was loaded, 2 when the file cannot be opened (the
// default site is then put in place). Shows nothing: the caller reports.
int loadSite(TcMainState& cMain, const std::string& path = kFileName);

}  // namespace sitefile
