#include "app/today.h"
#include "date/calendar.h"

#include <ctime>

namespace {

TodaySource& source()
{
    static TodaySource s;
    return s;
}

UtcClock systemUtcNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm tm {};
    gmtime_r(&now, &tm);
    return UtcClock {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min};
}

long systemZoneWest()
{
    tzset();
    return timezone;
}

}  // namespace

int localToday(const UtcClock& utc, long zoneWestSeconds, int& month, int& day)
{
    int year = utc.year;
    month = utc.month;
    day = utc.day;

    // Minutes since local midnight of the UTC day; the division truncates
    // toward zero, as C++ integer division does.
    const long minutes = utc.hour * 60L + utc.minute - zoneWestSeconds / 60;

    if (minutes < 0) {
        if (--day < 1) {
            if (--month == 0) {
                month = 12;
                --year;
            }
            day = civil::daysInMonth(year, month);
        }
    } else if (minutes >= 1440) {
        if (++day > civil::daysInMonth(year, month)) {
            day = 1;
            if (++month == 13) {
                month = 1;
                ++year;
            }
        }
    }
    return year;
}

void setTodaySource(TodaySource s)
{
    source() = std::move(s);
}

UtcClock funcUtcNow()
{
    return source().utcNow ? source().utcNow() : systemUtcNow();
}

int funcToday(int& month, int& day)
{
    const UtcClock utc = funcUtcNow();
    const long zone = source().zoneWest ? source().zoneWest() : systemZoneWest();
    return localToday(utc, zone, month, day);
}
