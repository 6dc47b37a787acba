// The precise almanac of one month as text: the classic month rows, a CSV
// table and the list of principal phases. Used by lunvelde-table.
#pragma once

#include <string>

#include "almanac/almanac.h"

namespace almanac {

// Whole units of a clock time (hours in [0, 24)) rounded to the nearest of
// perDay units (1440 for minutes, 86400 for seconds); the last half unit of
// the day stays on the day, so an event never moves to the next date.
long roundedClock(double hours, long perDay);

// A clock time (hours in [0, 24)) rounded by roundedClock: "HH:MM" for
// perDay 1440, "HH:MM:SS" for 86400.
std::string clockText(double hours, long perDay);

// A value rounded to a tenth, never -0.0; with a wrap (360 for an azimuth) a
// value that rounds up to the wrap becomes 0.
double roundedTenths(double value, double wrap = 0);

// The month table's 55-character rows, each ended by CR LF, from the precise
// engine: times rounded to the nearest minute (an event in the last half
// minute of the day shows 23:59, so it stays on its own date), "--:--" for no
// event, the age at 12:00 local clock time. A second event of a kind in the
// hour a 25-hour day repeats (Day::repeated) has no place in these rows.
std::string preciseMonthText(const Site& site, int year, int month);

// A header line and one line per day, LF line ends; see csvHeader. Times
// HH:MM:SS rounded to the second (the last half second of a day shows
// 23:59:59), "above" or "below" when the body stays on one side of that
// altitude all day, an empty cell when the event falls on another date;
// azimuth and altitude in degrees to 0.1, age to 0.01 day, illuminated
// fraction to 0.001. Times are on the clock in force at the event: on the
// last day of summer time the clock goes back from 24:00 to 23:00, and a time
// from 23:00 on may be on either clock. A second event of a kind in that
// repeated hour (Day::repeated) takes a second line with the same date,
// holding only those events (age and illuminated fraction empty).
std::string csvMonthText(const Site& site, int year, int month);
extern const char* const csvHeader;

// One line per principal phase whose local date falls in the month:
// "YYYY-MM-DDTHH:MM+hh:mm WORD", WORD new, first_quarter, full, last_quarter.
std::string phasesText(const Site& site, int year, int month);

}  // namespace almanac
