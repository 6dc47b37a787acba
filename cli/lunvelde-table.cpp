// lunvelde-table: prints the month table rows for one site, each row ended by
// CR LF, with no header; with --precise, --csv or --phases the month from the
// precise almanac instead; with --koyomi or --sekki the Japanese calendar
// (Japan Standard Time, no site).
//
//   lunvelde-table --year Y --month M --lat DEG --lon DEG --tz HOURS [--summer]
//                  [--precise | --csv | --phases]
//   lunvelde-table --koyomi --year Y [--month M]
//   lunvelde-table --sekki --year Y
//
// Exit status: 0 on success, 2 on a bad command line (one line on stderr,
// nothing on stdout), 1 when the output cannot be written (one line on
// stderr).
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "almanac/almanacText.h"
#include "almanac/almanacLines.h"
#include "app/dayStep.h"
#include "app/mainState.h"
#include "date/dateSpin.h"
#include "engine/prcCalc.h"
#include "koyomi/koyomiText.h"
#include "sites/numParse.h"
#include "table/monthRows.h"

#ifndef LUNVELDE_VERSION
#error "LUNVELDE_VERSION is set by the build"
#endif

namespace {

std::string usage()
{
    using namespace sitefile;
    return formatC(
        "Usage: lunvelde-table --year Y --month M --lat DEG --lon DEG --tz HOURS [--summer]\n"
        "                      [--precise | --csv | --phases]\n"
        "       lunvelde-table --koyomi --year Y [--month M]\n"
        "       lunvelde-table --sekki --year Y\n"
        "Prints the sun and moon rise and set times and the moon age for every day\n"
        "of a month, one row per day, each row ended by CR LF.\n"
        "\n"
        "  --year Y       year, %d..%d\n"
        "  --month M      month, 1..12\n"
        "  --lat DEG      latitude in degrees, north positive, %g..%g\n"
        "  --lon DEG      longitude in degrees, east positive, %g..%g\n"
        "  --tz HOURS     hours local standard time is ahead of UT, %g..%g\n"
        "  --summer       the site keeps summer time (one hour in the local summer)\n"
        "  --precise      the same rows from the precise almanac, minutes rounded\n"
        "  --csv          the precise almanac as CSV: rise, transit, set, azimuths,\n"
        "                 twilights, age and illuminated fraction, one line per day\n"
        "  --phases       new moon, first quarter, full moon and last quarter of the\n"
        "                 month, one per line, local clock time\n"
        "  --koyomi       the Japanese calendar as CSV, one line per day of the month,\n"
        "                 or of the year without --month: holiday, lunisolar date,\n"
        "                 rokuyo, the day's kanshi, solar term and its time, seasonal\n"
        "                 days, tide name, the moon's distance at noon; Japan Standard\n"
        "                 Time, no site arguments\n"
        "  --sekki        the year's 24 solar terms and seasonal days in date order as\n"
        "                 CSV: name, solar longitude, date, time (JST, minutes rounded)\n"
        "  --help         this text\n"
        "  --version      the version of the program\n",
        static_cast<int>(kFirstYear), static_cast<int>(kLastYear), kLatitudeMin, kLatitudeMax, kLongitudeMin,
        kLongitudeMax, kTimeZoneMin, kTimeZoneMax);
}

// A bad command line: reported by main as one line on stderr.
struct UsageError {
    std::string message;
};

// A value has no blanks around it on the command line, although the
// library's parsers (made for dialog fields) pass them over.
bool hasBlankEnd(const std::string& text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    return !text.empty() && (blank(text.front()) || blank(text.back()));
}

int parseInt(const std::string& name, const char* text, int32_t lo, int32_t hi)
{
    int32_t v = 0;
    if (hasBlankEnd(text) || !parseWhole(text, v))
        throw UsageError{name + ": not a 32-bit whole number: '" + text + "'"};
    if (v < lo || v > hi)
        throw UsageError{name + ": out of range " + std::to_string(lo) + ".." + std::to_string(hi) + ": " + text};
    return v;
}

double parseReal(const std::string& name, const char* text, double lo, double hi)
{
    double v = 0.0;
    if (hasBlankEnd(text) || !sitefile::parseNumber(text, v))
        throw UsageError{name + ": not a number: '" + text + "'"};
    if (!std::isfinite(v) || v < lo || v > hi)
        throw UsageError{name + ": out of range " + sitefile::formatC("%g..%g", lo, hi) + ": " + text};
    return v;
}

// Length of the well-formed UTF-8 sequence at s[0..n), 0 when there is none
// or when it encodes a C1 control character (U+0080..U+009F).
std::size_t utf8Length(const unsigned char* s, std::size_t n)
{
    const unsigned c = s[0];
    std::size_t length = 0;
    unsigned lo = 0x80, hi = 0xBF;  // range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
        if (c == 0xC2)
            lo = 0xA0;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        lo = c == 0xE0 ? 0xA0 : lo;
        hi = c == 0xED ? 0x9F : hi;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        lo = c == 0xF0 ? 0x90 : lo;
        hi = c == 0xF4 ? 0x8F : hi;
    }
    if (length == 0 || n < length || s[1] < lo || s[1] > hi)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (s[i] < 0x80 || s[i] > 0xBF)
            return 0;
    return length;
}

// The text as an error line shows it: control characters, DEL, backslash
// and bytes that are not UTF-8 text become C escapes (\n, \x1b, \\), so the
// line stays one line and nothing reaches the terminal as a command.
std::string escaped(const std::string& text)
{
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::string out;
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = s[i];
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
            ++i;
        } else if (const std::size_t length = c >= 0x80 ? utf8Length(s + i, n - i) : 0) {
            out.append(text, i, length);
            i += length;
        } else {
            out += c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '\t' ? "\\t" : c == '\\' ? "\\\\"
                                                  : sitefile::formatC("\\x%02x", c);
            ++i;
        }
    }
    return out;
}

// Writes text to standard output. A failure (a full or closed output, for
// instance) is reported on standard error and returns false.
bool writeOut(const std::string& text, const char* what)
{
    // fwrite passes bytes through unchanged, so CR LF stays 0D 0A.
    errno = 0;
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    if (written && std::fflush(stdout) == 0 && !std::ferror(stdout))
        return true;
    const int error = errno;
    std::fprintf(stderr, "lunvelde-table: cannot write %s: %s\n", what,
                 error ? std::strerror(error) : "write error");
    return false;
}

struct Options {
    bool help = false;
    bool version = false;
    const char* year = nullptr;
    const char* month = nullptr;
    const char* lat = nullptr;
    const char* lon = nullptr;
    const char* tz = nullptr;
    bool summer = false;
    const char* almanac = nullptr;  // --precise, --csv or --phases
    const char* koyomi = nullptr;   // --koyomi or --sekki
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
        if (arg == "--version") {
            opt.version = true;
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
        if (arg == "--koyomi" || arg == "--sekki") {
            if (inlineValue)
                throw UsageError{arg + ": takes no value"};
            if (opt.koyomi)
                throw UsageError{"at most one of --koyomi, --sekki"};
            opt.koyomi = argv[i];
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
    if (opt.koyomi) {
        // The Japanese calendar is for Japan Standard Time: no site.
        const std::string mode = opt.koyomi;
        if (opt.lat || opt.lon || opt.tz || opt.summer || opt.almanac)
            throw UsageError{mode + ": takes no site or almanac arguments (Japan Standard Time)"};
        if (!opt.year)
            throw UsageError{"--year: missing"};
        if (mode == "--sekki" && opt.month)
            throw UsageError{"--sekki: takes no --month (the whole year)"};
        return opt;
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
        if (opt.help)
            return writeOut(usage(), "the help text") ? 0 : 1;
        if (opt.version)
            return writeOut("lunvelde-table " LUNVELDE_VERSION "\n", "the version") ? 0 : 1;
        using namespace sitefile;
        year = parseInt("--year", opt.year, kFirstYear, kLastYear);
        if (opt.koyomi) {
            const std::string mode = opt.koyomi;
            month = opt.month ? parseInt("--month", opt.month, 1, 12) : 0;
            const std::string text = mode == "--sekki" ? koyomi::sekkiText(year) : koyomi::koyomiCsv(year, month);
            return writeOut(text, "the table") ? 0 : 1;
        }
        month = parseInt("--month", opt.month, 1, 12);
        state.siteLatitude = parseReal("--lat", opt.lat, kLatitudeMin, kLatitudeMax);
        state.siteLongitude = parseReal("--lon", opt.lon, kLongitudeMin, kLongitudeMax);
        state.siteTimeZone = parseReal("--tz", opt.tz, kTimeZoneMin, kTimeZoneMax);
        state.siteSummerTime = opt.summer ? 1 : 0;
        if (opt.almanac)
            almanacMode = opt.almanac;
    } catch (const UsageError& e) {
        std::fprintf(stderr, "lunvelde-table: %s (try --help)\n", escaped(e.message).c_str());
        return 2;
    }

    const TcCalc cCalc(state);
    const std::string text = almanacMode == "--precise" ? preciseText(state, year, month)
                           : almanacMode == "--csv"     ? csvText(state, year, month)
                           : almanacMode == "--phases"  ? phasesText(state, year, month)
                                                        : monthText(monthRows(cCalc, year, month));
    return writeOut(text, "the table") ? 0 : 1;
}
