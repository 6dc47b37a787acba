// The arithmetic behind the date dialog, kept free of windowing code: reading
// a whole number from a field, stepping the three fields with carries across
// month and year ends, and checking a date before it is taken over.
#pragma once

#include <cstdint>
#include <string>

// The three field texts of the date dialog, as shown: year "%5d", month
// "%3d", day "%3d".
struct TcDateFields {
    std::string year;
    std::string month;
    std::string day;
};

enum class TcSpinField { Year, Month, Day };

// A valid whole number is optional leading blanks, an optional sign and one
// or more decimal digits, with nothing after the digits; its value must fit
// in 32 bits. Returns false (value untouched) for anything else, the empty
// text and a trailing blank included.
bool parseWhole(const std::string& text, int32_t& value);

// The fields for a date: "%5d", "%3d", "%3d".
TcDateFields dateFields(int32_t year, int32_t month, int32_t day);

// Which field an up/down control moves, from its object name: "spinDay" the
// day, "spinMonth" the month, any other name the year.
TcSpinField spinFieldFor(const std::string& controlName);

// One click of an up/down control: step is +1 (up) or -1 (down). A field that
// does not parse counts as 2000, 1 or 1; the month is reduced into 1..12
// before the step. The day carries into the month and the month into the
// year; the year is held to 1901..2099 only when it moves. All three fields
// are written back, also those that did not move.
void spinDate(TcDateFields& fields, TcSpinField field, int step);

enum class TcDateCheck {
    Ok,          // the three numbers are in year, month and day
    BadText,     // a field is not a whole number
    OutOfRange,  // year outside 1901..2099, month outside 1..12 or day outside 1..31
};

// Parses year, month and day in that order and range-checks them. The day is
// not tested against the length of its month. The outputs are written only
// when the result is ok.
TcDateCheck checkDate(const TcDateFields& fields, int32_t& year, int32_t& month, int32_t& day);
