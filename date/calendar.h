// The civil (Gregorian) calendar: the one rule for month lengths and day
// numbers that the precise almanac, the graphs, the Japanese calendar and
// today's date share. The classic
// windows keep their own small tables (day stepping, the date dialog and the
// month table each have theirs, with the leap-year rule of their own).
#pragma once

namespace civil {

// True for a Gregorian leap year: divisible by 4, except centuries not
// divisible by 400.
bool isLeapYear(int year);

// Days in month (1..12) of year; 0 for a month outside 1..12.
int daysInMonth(int year, int month);

// True when year-month-day names a day of the calendar (31 February does not).
bool exists(int year, int month, int day);

// Day numbers (proleptic Gregorian, by ERFA's eraCal2jd and eraJd2cal, which
// hold from -4799 January 1 on): the Julian day number of a date is the
// Julian day at its noon (2000-01-01 is 2451545).
long julianDayNumber(int year, int month, int day);
void civilDate(long jdn, int& year, int& month, int& day);
int weekday(long jdn);  // 0 = Sunday .. 6 = Saturday

}  // namespace civil
