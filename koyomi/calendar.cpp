#include "koyomi/calendar.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "almanac/search.h"
#include "koyomi/sky.h"

namespace koyomi {

namespace {

using almanac::detail::lunation;

const char* const kTermNames[24] = {
    "春分", "清明", "穀雨", "立夏", "小満", "芒種", "夏至", "小暑", "大暑", "立秋", "処暑", "白露",
    "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至", "小寒", "大寒", "立春", "雨水", "啓蟄"};

const char* const kStems[10] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
const char* const kBranches[12] = {"子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥"};

long floorDiv(long long a, long long b) { return static_cast<long>(a >= 0 ? a / b : -((-a + b - 1) / b)); }

// One lunisolar month: its first date and its number.
struct Month {
    long start = 0;
    int number = 0;
    bool leap = false;
};

// The months from the one that holds the winter solstice (冬至) of year-1 up
// to the one that holds the winter solstice of year, and the first date of
// the latter. Months are numbered from the solstice month, the 11th; when
// thirteen months lie between the two solstice months, the first that holds
// no principal term (中気) is the leap month and repeats the number before
// it. This is the rule that keeps the solstice month the 11th in every year;
// in 2033-34, when no numbering keeps all four of the solstice and equinox
// months at 11, 2, 5 and 8, it places the leap month after the 11th (閏11月).
struct Span {
    int year = 0;
    std::vector<Month> months;
    long end = 0;
};

Span makeSpan(int year)
{
    Span span;
    span.year = year;
    std::vector<long> chuki;  // JST dates of the principal terms from 冬至 to 冬至
    chuki.push_back(solarTerm(year - 1, 270).jdn);
    for (int k = 1; k <= 12; ++k)
        chuki.push_back(solarTerm(year, (270 + 30 * k) % 360).jdn);
    const long w0 = chuki.front(), w1 = chuki.back();

    std::vector<long> starts;
    double next = newMoonAfterDate(w0);
    starts.push_back(jstDate(newMoonUt(next - lunation)));
    while (jstDate(next) <= w1) {
        starts.push_back(jstDate(next));
        next = newMoonUt(next + lunation);
    }
    starts.push_back(jstDate(next));  // the month after the solstice month
    const std::size_t n = starts.size() - 2;  // months before the solstice month of year
    std::size_t leap = n;                     // none
    if (n == 13)
        for (std::size_t i = 1; i < n && leap == n; ++i)
            if (std::none_of(chuki.begin(), chuki.end(),
                             [&](long d) { return d >= starts[i] && d < starts[i + 1]; }))
                leap = i;
    int number = 11;
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && i != leap)
            number = number % 12 + 1;
        span.months.push_back({starts[i], number, i == leap});
    }
    span.end = starts[n];
    return span;
}

const Span& spanOf(int year)
{
    thread_local std::array<Span, 4> cache;
    Span& s = cache[static_cast<std::size_t>(year) & 3];
    if (s.year != year)
        s = makeSpan(year);
    return s;
}

CalendarDay dayOf(const SolarTerm& t, const char* name)
{
    CalendarDay d;
    d.name = name;
    d.longitude = t.longitude;
    d.jdn = t.jdn;
    d.timed = true;
    d.hour = t.hour;
    d.minute = t.minute;
    return d;
}

CalendarDay countedDay(const char* name, long jdn)
{
    CalendarDay d;
    d.name = name;
    d.jdn = jdn;
    return d;
}

// 社日: the 戊 day nearest the equinox's date. When the equinox falls on a 癸
// day the two 戊 days are five days either side: the earlier is taken when
// the equinox comes before noon, the later when at or after noon (the rule
// of the almanacs from 1881).
long shanichi(const SolarTerm& equinox)
{
    const int stem = dayKanshi(equinox.jdn) % 10;
    const int ahead = (4 - stem + 10) % 10;  // days to the next 戊
    if (ahead < 5)
        return equinox.jdn + ahead;
    if (ahead > 5)
        return equinox.jdn + ahead - 10;
    const double jst = equinox.jdUt + kJst + 0.5;
    return jst - std::floor(jst) < 0.5 ? equinox.jdn - 5 : equinox.jdn + 5;
}

}  // namespace

const char* termName(int longitude)
{
    return kTermNames[((longitude % 360 + 360) % 360) / 15];
}

SolarTerm solarTerm(int year, int longitude)
{
    // A year of the calendar asks for most terms several times (the
    // holidays, the seasonal days, the lunisolar months of this year and the
    // next): the answers are kept, as they depend on nothing else.
    struct Kept {
        int year = 0, longitude = -1;
        SolarTerm term;
    };
    thread_local std::array<Kept, 256> kept;
    Kept& k = kept[static_cast<std::size_t>(year * 24 + longitude / 15 + longitude % 15) & 255];
    if (k.year == year && k.longitude == longitude)
        return k.term;

    // Mean date from the equinox of 2000-03-20 07:35 UT, then the true one.
    const double year2000Equinox = 2451623.816;
    const double tropicalYear = almanac::detail::tropicalYear;
    const double estimate = year2000Equinox + tropicalYear * (year - 2000) +
                            ((longitude + 75) % 360 - 75) / 360.0 * tropicalYear;
    SolarTerm t;
    t.longitude = longitude;
    t.jdUt = sunReachesUt(longitude, estimate);
    const long long minutes = std::llround((t.jdUt + kJst + 0.5) * 1440);
    t.jdn = floorDiv(minutes, 1440);
    const long long minuteOfDay = minutes - static_cast<long long>(t.jdn) * 1440;
    t.hour = static_cast<int>(minuteOfDay / 60);
    t.minute = static_cast<int>(minuteOfDay % 60);
    k = {year, longitude, t};
    return t;
}

std::vector<SolarTerm> yearTerms(int year)
{
    std::vector<SolarTerm> out;
    for (int k = 0; k < 24; ++k)
        out.push_back(solarTerm(year, (285 + 15 * k) % 360));
    return out;
}

Kyureki kyureki(long jdn)
{
    int y, m, d;
    civilDate(jdn, y, m, d);
    const Span* span = &spanOf(y);
    if (jdn >= span->end)
        span = &spanOf(y + 1);
    const auto it = std::upper_bound(span->months.begin(), span->months.end(), jdn,
                                     [](long day, const Month& month) { return day < month.start; });
    const Month& month = *(it - 1);
    return {month.number, month.leap, static_cast<int>(jdn - month.start + 1)};
}

std::string kyurekiText(const Kyureki& k)
{
    return std::string(k.leap ? "閏" : "") + std::to_string(k.month) + "月" + std::to_string(k.day) + "日";
}

const char* rokuyo(const Kyureki& k)
{
    static const char* const names[6] = {"大安", "赤口", "先勝", "友引", "先負", "仏滅"};
    return names[(k.month + k.day) % 6];
}

int dayKanshi(long jdn)
{
    // 2000-01-01 (JDN 2451545) was 戊午, number 54.
    return static_cast<int>(((jdn + 49) % 60 + 60) % 60);
}

int yearKanshi(int year)
{
    // 1984 was 甲子.
    return ((year - 1984) % 60 + 60) % 60;
}

std::string kanshiName(int index)
{
    return std::string(kStems[index % 10]) + kBranches[index % 12];
}

std::vector<CalendarDay> yearCalendarDays(int year)
{
    std::vector<CalendarDay> out;
    const std::vector<SolarTerm> terms = yearTerms(year);
    const auto term = [&](int longitude) -> const SolarTerm& {
        return *std::find_if(terms.begin(), terms.end(), [&](const SolarTerm& t) { return t.longitude == longitude; });
    };
    for (const SolarTerm& t : terms)
        out.push_back(dayOf(t, termName(t.longitude)));

    const long risshun = term(315).jdn;
    out.push_back(countedDay("節分", risshun - 1));
    for (int equinox : {0, 180}) {
        const SolarTerm& e = term(equinox);
        out.push_back(countedDay("彼岸入り", e.jdn - 3));
        out.push_back(countedDay("彼岸明け", e.jdn + 3));
        out.push_back(countedDay("社日", shanichi(e)));
    }
    out.push_back(countedDay("八十八夜", risshun + 87));
    out.push_back(dayOf(solarTerm(year, 80), "入梅"));
    out.push_back(dayOf(solarTerm(year, 100), "半夏生"));
    out.push_back(countedDay("二百十日", risshun + 209));
    out.push_back(countedDay("二百二十日", risshun + 219));
    // 土用: from the day the sun reaches 18 degrees before each of 立春,
    // 立夏, 立秋 and 立冬 to the day before that term; its 丑 days.
    for (int start : {297, 27, 117, 207}) {
        const CalendarDay entry = dayOf(solarTerm(year, start), "土用の入り");
        out.push_back(entry);
        const long end = solarTerm(year, (start + 18) % 360).jdn;
        for (long d = entry.jdn; d < end; ++d)
            if (dayKanshi(d) % 12 == 1)
                out.push_back(countedDay("土用の丑", d));
    }
    std::stable_sort(out.begin(), out.end(), [](const CalendarDay& a, const CalendarDay& b) { return a.jdn < b.jdn; });
    return out;
}

const char* tideName(long jdn)
{
    // Elongation bounds in degrees at 0 h JST (Japan Hydrographic
    // Association, MIRC: 科学的な潮名の決め方).
    struct Band {
        double upTo;
        const char* name;
    };
    static const Band bands[] = {{31, "大潮"},  {67, "中潮"},  {103, "小潮"}, {115, "長潮"}, {127, "若潮"},
                                 {163, "中潮"}, {211, "大潮"}, {247, "中潮"}, {283, "小潮"}, {295, "長潮"},
                                 {307, "若潮"}, {343, "中潮"}, {361, "大潮"}};
    const double e = elongation(ttOf(double(jdn) - 0.5 - kJst));
    for (const Band& b : bands)
        if (e < b.upTo)
            return b.name;
    return "大潮";
}

}  // namespace koyomi
