// The texts of the almanac details window, as UTF-8: the precise figures of
// one day (rise, transit, set, twilights, noon age, phases of the month) set
// beside the main window's figures for the same day.
//
// Times are local clock time rounded to the nearest minute, "HH:MM". A
// crossing that falls on the neighbouring date shows as "なし"; a body that
// stays above or below the crossing altitude all day shows a word instead.
#pragma once

#include <string>
#include <vector>

#include "almanac/almanac.h"
#include "app/mainState.h"
#include "engine/prcCalc.h"

// What a crossing is, for the words of a day without one.
enum class CrossingKind { sun, moon, twilight };

// One row of the rise/transit/set part: what, when, where, and the main
// window's time for the same event ("" where it has none).
struct AlmanacRow {
    std::string label, time, angle, classic;
};

// One twilight: its name, when it begins (dawn) and when it ends (dusk).
struct AlmanacTwilight {
    std::string label, begin, end;
};

struct AlmanacSheet {
    std::string date;   // the main window's date line, weekday included
    std::string place;  // "北緯 35.67°  東経139.50°  UT+9:00"
    std::vector<AlmanacRow> events;         // sun rise, transit, set; moon rise, transit, set; noon age
    std::vector<AlmanacTwilight> twilights; // civil, nautical, astronomical
    std::vector<std::string> phases;        // "新月    6日 03:14", in time order
    std::vector<std::string> notes;         // what the figures are not, or the day's odd clock
};

// The site of the main window's state, for the precise engine.
almanac::Site almanacSite(const TcMainState& cMain);

// "HH:MM", hours rounded to the nearest minute (a crossing in the last half
// minute of the day stays at 23:59); "--:--" for a value that is no time.
std::string clockHM(double hours);

// The time cell of a crossing: "HH:MM", "なし", or the word for a body that
// stays above or below all day.
std::string crossingTime(const almanac::Crossing& c, CrossingKind kind);

// What the main window's sun line, which shows --:-- alike for both, cannot
// say: "白夜 …" when the sun stays above the horizon all day, "極夜 …" when it
// stays below; empty on a day with a sunrise or a sunset.
std::string sunAllDayNote(const almanac::Day& day);

// Every text of the window for one day. classic is the main window's day
// result for the same date and site. For a date that does not exist the
// heading is the real date whose figures are shown, and a note says so; a
// time read on the clock gone back (the last hour of a 25-hour day) is
// marked 標準時, and a second event of the kind in that hour follows the
// first in the same cell.
AlmanacSheet almanacSheet(const almanac::Site& site, const almanac::Day& day,
                          const std::vector<almanac::PhaseEvent>& phases, const TcDayResult& classic, double twoPi);
