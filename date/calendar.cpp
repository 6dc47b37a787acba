#include "date/calendar.h"

#include <erfa.h>

namespace civil {

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

bool exists(int year, int month, int day)
{
    return day >= 1 && day <= daysInMonth(year, month);
}

long julianDayNumber(int year, int month, int day)
{
    double djm0, djm;
    eraCal2jd(year, month, day, &djm0, &djm);
    return static_cast<long>(djm0 + djm + 0.5);
}

void civilDate(long jdn, int& year, int& month, int& day)
{
    double fd;
    eraJd2cal(double(jdn), 0.0, &year, &month, &day, &fd);
}

int weekday(long jdn)
{
    return static_cast<int>((jdn + 1) % 7);
}

}  // namespace civil
