// The precise almanac of one month as text: the classic month rows, a CSV
// table and the list of principal phases. Used by lunvelde-table.
#pragma once

#include <string>

#include "almanac/almanac.h"

namespace almanac {

// The month table's 55-character rows, each ended by CR LF, from the precise
// engine: times rounded to the nearest minute (an event in the last half
// minute of the day shows 23:59, so it stays on its own date), "--:--" for no
// event, the age at 12:00 local clock time.
std::string preciseMonthText(const Site& site, int year, int month);

// A header line and one line per day, LF line ends; see csvHeader.
std::string csvMonthText(const Site& site, int year, int month);
extern const char* const csvHeader;

// One line per principal phase whose local date falls in the month:
// "YYYY-MM-DDTHH:MM+hh:mm WORD", WORD new, first_quarter, full, last_quarter.
std::string phasesText(const Site& site, int year, int month);

}  // namespace almanac
