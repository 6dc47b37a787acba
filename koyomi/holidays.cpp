#include "koyomi/holidays.h"

#include <algorithm>
#include <array>

#include "koyomi/calendar.h"
#include "koyomi/sky.h"

namespace koyomi {

namespace {

// The n-th Monday of the month (the "happy Monday" rule).
long nthMonday(int year, int month, int n)
{
    const long first = julianDayNumber(year, month, 1);
    return first + (8 - weekday(first)) % 7 + 7 * (n - 1);
}

// The holidays of the Act (国民の祝日) in the year, before the substitute
// and in-between days are added.
std::vector<Holiday> actHolidays(int year)
{
    std::vector<Holiday> h;
    const auto add = [&](long jdn, const char* name) { h.push_back({jdn, name}); };
    const auto on = [&](int month, int day, const char* name) { add(julianDayNumber(year, month, day), name); };
    const bool olympic2020 = year == 2020, olympic2021 = year == 2021;

    // Amendments: 1966 (敬老の日, 体育の日), 1966 (建国記念の日 from 1967),
    // 1989 (天皇誕生日 to 12/23, みどりの日), 1995 (海の日 from 1996),
    // 1998 and 2001 (Monday rules from 2000 and 2003), 2005 (昭和の日 and
    // みどりの日 to 5/4 from 2007), 2014 (山の日 from 2016), 2017 (天皇誕生日
    // 2/23 from 2020), 2018 (スポーツの日 from 2020) and the special acts
    // for the Olympic years 2020 and 2021.
    if (year >= 1949) {
        on(1, 1, "元日");
        if (year >= 2000)
            add(nthMonday(year, 1, 2), "成人の日");
        else
            on(1, 15, "成人の日");
    }
    if (year >= 1967)
        on(2, 11, "建国記念の日");
    if (year >= 2020)
        on(2, 23, "天皇誕生日");
    if (year >= 1949)
        add(solarTerm(year, 0).jdn, "春分の日");
    if (year >= 1949)
        on(4, 29, year >= 2007 ? "昭和の日" : year >= 1989 ? "みどりの日" : "天皇誕生日");
    if (year >= 1949) {
        on(5, 3, "憲法記念日");
        if (year >= 2007)
            on(5, 4, "みどりの日");
        on(5, 5, "こどもの日");
    }
    if (olympic2020)
        on(7, 23, "海の日");
    else if (olympic2021)
        on(7, 22, "海の日");
    else if (year >= 2003)
        add(nthMonday(year, 7, 3), "海の日");
    else if (year >= 1996)
        on(7, 20, "海の日");
    if (olympic2020)
        on(8, 10, "山の日");
    else if (olympic2021)
        on(8, 8, "山の日");
    else if (year >= 2016)
        on(8, 11, "山の日");
    if (year >= 2003)
        add(nthMonday(year, 9, 3), "敬老の日");
    else if (year >= 1966)
        on(9, 15, "敬老の日");
    add(solarTerm(year, 180).jdn, "秋分の日");
    if (olympic2020)
        on(7, 24, "スポーツの日");
    else if (olympic2021)
        on(7, 23, "スポーツの日");
    else if (year >= 2000)
        add(nthMonday(year, 10, 2), year >= 2020 ? "スポーツの日" : "体育の日");
    else if (year >= 1966)
        on(10, 10, "体育の日");
    on(11, 3, "文化の日");
    on(11, 23, "勤労感謝の日");
    if (year >= 1989 && year <= 2018)
        on(12, 23, "天皇誕生日");

    // Days made holidays by their own acts.
    static const struct {
        int year, month, day;
        const char* name;
    } ceremonies[] = {
        {1959, 4, 10, "皇太子明仁親王の結婚の儀"},
        {1989, 2, 24, "昭和天皇の大喪の礼"},
        {1990, 11, 12, "即位礼正殿の儀"},
        {1993, 6, 9, "皇太子徳仁親王の結婚の儀"},
        {2019, 5, 1, "天皇の即位の日"},
        {2019, 10, 22, "即位礼正殿の儀"},
    };
    for (const auto& c : ceremonies)
        if (c.year == year)
            on(c.month, c.day, c.name);

    std::sort(h.begin(), h.end(), [](const Holiday& a, const Holiday& b) { return a.jdn < b.jdn; });
    return h;
}

bool isIn(const std::vector<Holiday>& h, long jdn)
{
    return std::any_of(h.begin(), h.end(), [&](const Holiday& x) { return x.jdn == jdn; });
}

std::vector<Holiday> makeYear(int year)
{
    std::vector<Holiday> act = actHolidays(year);
    const long enacted = julianDayNumber(1948, 7, 20);
    act.erase(std::remove_if(act.begin(), act.end(), [&](const Holiday& x) { return x.jdn < enacted; }), act.end());
    // The added days stay within the year: the last holiday of a year is
    // 23 November or 23 December, the first is 1 January.
    std::vector<Holiday> out = act;
    const long substituteFrom = julianDayNumber(1973, 4, 12);  // 1973 amendment
    const long nextFreeFrom = julianDayNumber(2007, 1, 1);      // 2005 amendment
    const long betweenFrom = julianDayNumber(1985, 12, 27);     // 1985 amendment
    for (const Holiday& x : act) {
        if (weekday(x.jdn) != 0 || x.jdn < substituteFrom)
            continue;
        // 振替休日: the Monday after a Sunday holiday; from 2007 the first
        // following day that is not itself a holiday.
        long d = x.jdn + 1;
        if (x.jdn >= nextFreeFrom)
            while (isIn(act, d))
                ++d;
        if (!isIn(act, d))
            out.push_back({d, "振替休日"});
    }
    // 国民の休日: a day between two holidays of the Act that is not one;
    // until 2006 not a Sunday nor a substitute day either.
    for (const Holiday& x : act) {
        const long d = x.jdn + 1;
        if (d < betweenFrom || isIn(out, d) || !isIn(act, d + 1))
            continue;
        if (d < nextFreeFrom && weekday(d) == 0)
            continue;
        out.push_back({d, "国民の休日"});
    }
    std::sort(out.begin(), out.end(), [](const Holiday& a, const Holiday& b) { return a.jdn < b.jdn; });
    return out;
}

}  // namespace

std::vector<Holiday> yearHolidays(int year)
{
    thread_local std::array<std::pair<int, std::vector<Holiday>>, 2> cache;
    auto& slot = cache[static_cast<std::size_t>(year) & 1];
    if (slot.first != year)
        slot = {year, year < 1948 ? std::vector<Holiday>() : makeYear(year)};
    return slot.second;
}

std::string holidayName(long jdn)
{
    int y, m, d;
    civilDate(jdn, y, m, d);
    for (const Holiday& h : yearHolidays(y))
        if (h.jdn == jdn)
            return h.name;
    return {};
}

}  // namespace koyomi
