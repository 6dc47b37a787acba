// Japan's national holidays (国民の祝日, 振替休日 and 国民の休日) under the
// Act on National Holidays (国民の祝日に関する法律, Act No. 178 of 1948) as it
// stood on each date from its entry into force on 1948-07-20, with the
// one-day laws for imperial ceremonies and the moves for the Tokyo Olympic
// Games of 2020 and 2021; later years under the Act as it stands now.
// 春分の日 and 秋分の日 are the JST dates of the computed equinoxes.
#pragma once

#include <string>
#include <vector>

namespace koyomi {

struct Holiday {
    long jdn = 0;
    std::string name;  // 元日, ..., 振替休日, 国民の休日
};

// The year's holidays in date order (none before 1948-07-20).
std::vector<Holiday> yearHolidays(int year);

// The holiday's name on the date, empty when it is none.
std::string holidayName(long jdn);

}  // namespace koyomi
