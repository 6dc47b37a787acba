// The rows of the month table: one 55-character line per day of a month,
// shared by the table window and the lunvelde-table command.
#pragma once

#include <string>
#include <vector>

#include "engine/prcCalc.h"

// Days in the month (1..12) of year; February has 29 days in every year
// divisible by 4. A month outside 1..12 has no days.
int monthLength(int year, int month);

// One row: "%5d/%3d/%3d  ", four time fields "  %3d:%2d" or "   --:--",
// then "  %5.1lf " of the moon age.
std::string monthRow(int year, int month, int day, const TcDayResult& result);

// The same row from clock times already in hours and minutes (sun rise, sun
// set, moon rise, moon set; a negative hour for an absent event).
std::string monthRow(int year, int month, int day, const int hours[4], const int minutes[4], double moonAge);

// The rows of every day of the month at the engine's current site.
std::vector<std::string> monthRows(const TcCalc& cCalc, int year, int month);

// The rows as the clipboard holds them: each row followed by CR LF.
std::string monthText(const std::vector<std::string>& rows);
