// The state that the main window owns and every other part reads or writes:
// the displayed date, the current site record and the record numbers of the
// start-up and current sites. One instance exists for the whole run; the
// engine and the dialogs hold references to it, never copies.
#pragma once

#include <cstdint>
#include <string>

struct TcMainState {
    // Displayed date.
    int32_t dispYear = 2000;
    int32_t dispMonth = 1;
    int32_t dispDay = 1;

    // Current site. siteName holds Shift-JIS bytes, always NUL-terminated
    // within its 18 bytes; siteNameText holds the same bytes as a string.
    char siteName[18] = {};
    std::string siteNameText;
    double siteLatitude = 0.0;   // degrees, north positive
    double siteLongitude = 0.0;  // degrees, east positive
    double siteTimeZone = 0.0;   // hours that local standard time is ahead of UT
    int32_t siteSummerTime = 0;  // 1 = the site keeps summer time

    int32_t defaultSiteIndex = 0;  // record loaded at start-up ("initData")
    int32_t currentSiteIndex = 0;  // record an overwrite replaces
    int32_t siteFileMissing = 0;   // 1 when the site file could not be read at start-up

    double pi = 0.0;     // set by the main window at its first showing
    double twoPi = 0.0;
};

// The built-in site used when "obspoint.txt" cannot be read: 三鷹,
// 35.67 N, 139.5 E, nine hours ahead of UT, no summer time. Sets the name,
// the coordinates and currentSiteIndex = 0; the caller decides about the
// other indexes and flags.
void putDefaultSite(TcMainState& cMain);

// Sets siteName and siteNameText from Shift-JIS bytes. siteNameText keeps all
// the bytes; siteName keeps at most its first 17 bytes, dropping a double-byte
// character whole rather than cutting it in two.
void setSiteName(TcMainState& cMain, const std::string& sjisBytes);

// The Shift-JIS bytes of siteName up to its terminator.
std::string siteNameBytes(const TcMainState& cMain);

// The name as a window shows it or offers it for editing: siteName without
// the blanks that pad the site file's name field (a blank is never the
// second byte of a Shift-JIS character).
std::string siteNameShown(const TcMainState& cMain);
std::string withoutTrailingBlanks(const std::string& sjisBytes);

// Cuts Shift-JIS bytes to at most maxBytes without splitting a double-byte
// character (a lead byte whose trail byte would fall past the cut is dropped).
std::string sjisCut(const std::string& sjisBytes, std::size_t maxBytes);
