// The four text lines of the main window for one day, as UTF-8 text:
//   date  " 2000年  5月 12日  (金)    "
//   sun   "日出   4:27  日没  18:43"
//   moon  "月出   5: 3  月没   17:20"
//   age   "月齢   7.4"
// Times are clock angles (0 = 0:00, twoPi = 24:00) shown as hours and
// minutes, both truncated; a negative time is an absent event and shows as
// " --:--" in its place.
#pragma once

#include <string>

#include "engine/prcCalc.h"

struct DispLines {
    std::string date;
    std::string sun;
    std::string moon;
    std::string age;
};

// All four lines for the date and its day result.
DispLines dispLines(int year, int month, int day, const TcDayResult& result, double twoPi);

// "%5d年%3d月%3d日  (  )    " with the weekday character (日 for 0 ...
// 土 for 6, the integer part of weekday) between the parentheses. A weekday
// outside 0..6 leaves the parentheses empty.
std::string dateLine(int year, int month, int day, double weekday);

// "日出 hhh:mm  日没 hhh:mm".
std::string sunLine(double rise, double set, double twoPi);

// "月出 hhh:mm  月没  hhh:mm" (one more blank before the set time).
std::string moonLine(double rise, double set, double twoPi);

// "月齢 %5.1f".
std::string ageLine(double age);

// One time as "%3d:%2d" (hours and minutes, blank-padded), or " --:--" for
// an absent event. Hours are t / twoPi * 24 plus a ten-millionth of an hour,
// so a time a hair below a whole minute still shows that minute.
std::string timeField(double t, double twoPi);
