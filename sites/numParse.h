// Numbers of the site dialog and the site file, independent of the locale
// the program runs under (a comma-decimal locale must never change what is
// written to or read from "obspoint.txt").
#pragma once

#include <string>

namespace sitefile {

// A field's text is a valid number when it is: optional blanks, an optional
// sign, decimal digits with at most one decimal point (at least one digit),
// an optional exponent (E or e, optional sign, digits), optional blanks.
// Nothing else is allowed; an empty text is invalid. On success stores the
// value (an exponent too large gives an infinite value, which the range
// checks refuse) and returns true; on failure leaves value unchanged.
bool parseNumber(const std::string& text, double& value);

// printf in the C locale.
std::string formatC(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// strtod in the C locale.
double strtodC(const char* text, char** end);

// The three numeric fields of the site dialog, checked the way both OK and
// register check them: every text parsed first (latitude, longitude, offset),
// then the ranges in the order latitude, longitude, offset.
enum class FieldCheck {
    Ok,
    NotANumber,  // "入力した数字が不正です。"
    OutOfRange,  // "入力した数字の範囲が不正です。"
};

struct SiteNumbers {
    double latitude = 0.0;
    double longitude = 0.0;
    double timeZone = 0.0;
};

inline constexpr double kLatitudeMin = -90.0, kLatitudeMax = 90.0;
inline constexpr double kLongitudeMin = -180.1, kLongitudeMax = 360.1;
inline constexpr double kTimeZoneMin = -12.1, kTimeZoneMax = 12.1;

// Texts in UTF-8 (the parser accepts ASCII only). out is written only on Ok.
FieldCheck checkSiteFields(const std::string& latitude, const std::string& longitude,
                           const std::string& timeZone, SiteNumbers& out);

}  // namespace sitefile
