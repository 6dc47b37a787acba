// lunvelde-table: prints the month table rows for one site, each row ended by
// CR LF, with no header.
//
//   lunvelde-table --year Y --month M --lat DEG --lon DEG --tz HOURS [--summer]
//                  [--precise | --csv | --phases]
//
// Exit status: 0 on success, 2 on a bad command line (one line on stderr,
// nothing on stdout), 1 when the output cannot be written.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "almanac/almanacText.h"
#include "app/mainState.h"
#include "engine/prcCalc.h"
#include "table/monthRows.h"

namespace {

const char* const usage =
    "Usage: lunvelde-table --year Y --month M --lat DEG --lon DEG --tz HOURS [--summer]\n"
    "Prints the sun and moon rise and set times and the moon age for every day\n"
    "of a month, one row per day, each row ended by CR LF.\n"
    "\n"
    "  --year Y       year, 1901..2099\n"
    "  --month M      month, 1..12\n"
    "  --lat DEG      latitude in degrees, north positive, -90..90\n"
    "  --lon DEG      longitude in degrees, east positive, -180.1..360.1\n"
    "  --tz HOURS     hours local standard time is ahead of UT, -12.1..12.1\n"
    "  --summer       the site keeps summer time (one hour in the local summer)\n"
    "  --precise      the same rows from the precise almanac, minutes rounded\n"
    "  --csv          the precise almanac as CSV: rise, transit, set, azimuths,\n"
    "                 twilights, age and illuminated fraction, one line per day\n"
    "  --phases       new moon, first quarter, full moon and last quarter of the\n"
    "                 month, one per line, local clock time\n"
    "  --help         this text\n";

// A bad command line: reported by main as one line on stderr.
struct UsageError {
    std::string message;
};

// Whole string is an optionally signed run of digits.
bool isInteger(const char* s)
{
    if (*s == '+' || *s == '-')
        ++s;
    if (!*s)
        return false;
    for (; *s; ++s)
        if (*s < '0' || *s > '9')
            return false;
    return true;
}

// Whole string is a plain decimal number: sign, digits with at most one
// point (at least one digit), optional exponent. No hex, no inf, no nan.
bool isDecimal(const char* s)
{
    if (*s == '+' || *s == '-')
        ++s;
    int digits = 0;
    for (; *s >= '0' && *s <= '9'; ++s) ++digits;
    if (*s == '.')
        for (++s; *s >= '0' && *s <= '9'; ++s) ++digits;
    if (digits == 0)
        return false;
    if (*s == 'e' || *s == 'E') {
        ++s;
        if (*s == '+' || *s == '-')
            ++s;
        if (!(*s >= '0' && *s <= '9'))
            return false;
        while (*s >= '0' && *s <= '9') ++s;
    }
    return *s == '\0';
}

int parseInt(const std::string& name, const char* text, long lo, long hi)
{
    if (!isInteger(text))
        throw UsageError{name + ": not a whole number: '" + text + "'"};
    errno = 0;
    const long v = std::strtol(text, nullptr, 10);
    if (errno == ERANGE || v < lo || v > hi)
        throw UsageError{name + ": out of range " + std::to_string(lo) + ".." + std::to_string(hi) + ": " + text};
    return static_cast<int>(v);
}

double parseReal(const std::string& name, const char* text, double lo, double hi, const char* range)
{
    if (!isDecimal(text))
        throw UsageError{name + ": not a number: '" + text + "'"};
    const double v = std::strtod(text, nullptr);
    if (!std::isfinite(v) || v < lo || v > hi)
        throw UsageError{name + ": out of range " + range + ": " + text};
    return v;
}

almanac::Site almanacSite(const TcMainState& state)
{
    almanac::Site site;
    site.latitude = state.siteLatitude;
    site.longitude = state.siteLongitude;
    site.timeZone = state.siteTimeZone;
    site.summerTime = state.siteSummerTime;
    return site;
}

struct Options {
    bool help = false;
    const char* year = nullptr;
    const char* month = nullptr;
    const char* lat = nullptr;
    const char* lon = nullptr;
    const char* tz = nullptr;
    bool summer = false;
    const char* almanac = nullptr;  // --precise, --csv or --phases
};

// Reads the command line into opt. Each option appears once; values follow
// their option as the next argument or after '='.
Options readArguments(int argc, char** argv)
{
    Options opt;
    bool summerSeen = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        const char* inlineValue = nullptr;
        const std::size_t eq = arg.find('=');
        if (arg.compare(0, 2, "--") == 0 && eq != std::string::npos) {
            inlineValue = argv[i] + eq + 1;
            arg.resize(eq);
        }
        if (arg == "--help" || arg == "-h") {
            opt.help = true;
            return opt;
        }
        if (arg == "--summer") {
            if (inlineValue)
                throw UsageError{"--summer: takes no value"};
            if (summerSeen)
                throw UsageError{"--summer: given more than once"};
            summerSeen = opt.summer = true;
            continue;
        }
        if (arg == "--precise" || arg == "--csv" || arg == "--phases") {
            if (inlineValue)
                throw UsageError{arg + ": takes no value"};
            if (opt.almanac)
                throw UsageError{"at most one of --precise, --csv, --phases"};
            opt.almanac = argv[i];
            continue;
        }
        const char** slot = arg == "--year"    ? &opt.year
                          : arg == "--month" ? &opt.month
                          : arg == "--lat"   ? &opt.lat
                          : arg == "--lon"   ? &opt.lon
                          : arg == "--tz"    ? &opt.tz
                                             : nullptr;
        if (!slot)
            throw UsageError{"unknown argument: '" + std::string(argv[i]) + "'"};
        if (*slot)
            throw UsageError{arg + ": given more than once"};
        if (!inlineValue) {
            if (i + 1 >= argc)
                throw UsageError{arg + ": missing value"};
            inlineValue = argv[++i];
        }
        *slot = inlineValue;
    }
    const std::pair<const char*, const char*> required[] = {
        {"--year", opt.year}, {"--month", opt.month}, {"--lat", opt.lat}, {"--lon", opt.lon}, {"--tz", opt.tz}};
    for (const auto& r : required)
        if (!r.second)
            throw UsageError{std::string(r.first) + ": missing"};
    return opt;
}

// The month from the precise almanac, as the option asks.
std::string preciseText(const TcMainState& state, int year, int month)
{
    return almanac::preciseMonthText(almanacSite(state), year, month);
}

std::string csvText(const TcMainState& state, int year, int month)
{
    return almanac::csvMonthText(almanacSite(state), year, month);
}

std::string phasesText(const TcMainState& state, int year, int month)
{
    return almanac::phasesText(almanacSite(state), year, month);
}

}  // namespace

int main(int argc, char** argv)
{
    int year, month;
    TcMainState state;
    std::string almanacMode;
    try {
        const Options opt = readArguments(argc, argv);
        if (opt.help) {
            std::fputs(usage, stdout);
            return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
        }
        year = parseInt("--year", opt.year, 1901, 2099);
        month = parseInt("--month", opt.month, 1, 12);
        state.siteLatitude = parseReal("--lat", opt.lat, -90, 90, "-90..90");
        state.siteLongitude = parseReal("--lon", opt.lon, -180.1, 360.1, "-180.1..360.1");
        state.siteTimeZone = parseReal("--tz", opt.tz, -12.1, 12.1, "-12.1..12.1");
        state.siteSummerTime = opt.summer ? 1 : 0;
        if (opt.almanac)
            almanacMode = opt.almanac;
    } catch (const UsageError& e) {
        std::fprintf(stderr, "lunvelde-table: %s (try --help)\n", e.message.c_str());
        return 2;
    }

    const TcCalc cCalc(state);
    const std::string text = almanacMode == "--precise" ? preciseText(state, year, month)
                           : almanacMode == "--csv"     ? csvText(state, year, month)
                           : almanacMode == "--phases"  ? phasesText(state, year, month)
                                                        : monthText(monthRows(cCalc, year, month));
    // fwrite passes bytes through unchanged, so each row ends in 0D 0A.
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    if (!written || std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "lunvelde-table: cannot write the table: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}
