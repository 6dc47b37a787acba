#include "sites/numParse.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <vector>

namespace sitefile {

namespace {

// Switches the calling thread to the C locale for its lifetime.
class CLocaleScope {
public:
    CLocaleScope()
    {
        static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        if (cLocale != static_cast<locale_t>(nullptr))
            previous = uselocale(cLocale);
    }
    ~CLocaleScope()
    {
        if (previous != static_cast<locale_t>(nullptr))
            uselocale(previous);
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t previous = static_cast<locale_t>(nullptr);
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool inRange(double v, double lo, double hi)
{
    return v >= lo && v <= hi;  // false for NaN as well
}

}  // namespace

std::string formatC(const char* format, ...)
{
    CLocaleScope scope;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (n > 0) {
        std::vector<char> buf(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(buf.data(), buf.size(), format, args);
        out.assign(buf.data(), static_cast<std::size_t>(n));
    }
    va_end(args);
    return out;
}

double strtodC(const char* text, char** end)
{
    CLocaleScope scope;
    return std::strtod(text, end);
}

bool parseNumber(const std::string& text, double& value)
{
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n && isBlank(text[i]))
        ++i;
    const std::size_t start = i;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < n && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            ++i;
        std::size_t expDigits = 0;
        while (i < n && isDigit(text[i])) {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    const std::size_t stop = i;
    while (i < n && isBlank(text[i]))
        ++i;
    if (i != n)
        return false;

    // The syntax above is a subset of what strtod reads, so strtod takes
    // exactly the characters start..stop (overflow gives HUGE_VAL).
    const std::string number = text.substr(start, stop - start);
    char* end = nullptr;
    const double v = strtodC(number.c_str(), &end);
    if (end != number.c_str() + number.size())
        return false;
    value = v;
    return true;
}

FieldCheck checkSiteFields(const std::string& latitude, const std::string& longitude,
                           const std::string& timeZone, SiteNumbers& out)
{
    SiteNumbers v;
    if (!parseNumber(latitude, v.latitude) || !parseNumber(longitude, v.longitude) ||
        !parseNumber(timeZone, v.timeZone))
        return FieldCheck::NotANumber;
    if (!inRange(v.latitude, kLatitudeMin, kLatitudeMax) ||
        !inRange(v.longitude, kLongitudeMin, kLongitudeMax) ||
        !inRange(v.timeZone, kTimeZoneMin, kTimeZoneMax))
        return FieldCheck::OutOfRange;
    out = v;
    return FieldCheck::Ok;
}

}  // namespace sitefile
