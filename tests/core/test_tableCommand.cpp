// The lunvelde-table command, run as a separate process.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "support.h"
#include "koyomi/koyomiText.h"
#include "table/monthRows.h"

namespace {

struct CommandRun {
    int status = -1;
    std::string out, err;
};

// Runs the command with args (none holds a quote); stdout and stderr go to
// files in a temporary folder, stdout elsewhere when a redirection is given.
CommandRun runTable(const std::vector<std::string>& args, const std::string& stdoutRedirection = "")
{
    const testsupport::TempDir dir;
    std::string command = "'" LUNVELDE_TABLE_EXE "'";
    for (const std::string& a : args)
        command += " '" + a + "'";
    command += (stdoutRedirection.empty() ? " >'" + dir.file("out") + "'" : " " + stdoutRedirection) + " 2>'" +
               dir.file("err") + "'";
    const int status = dir.ok() ? std::system(command.c_str()) : -1;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, testsupport::readBytes(dir.file("out")),
            testsupport::readBytes(dir.file("err"))};
}

const std::vector<std::string> defaultSite = {"--year", "2000", "--month", "1", "--lat", "35.67",
                                              "--lon", "139.5", "--tz", "9"};

TEST(TableCommand, PrintsTheMonthRowsWithCrLf)
{
    const CommandRun run = runTable(defaultSite);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    ASSERT_EQ(run.out.size(), 31u * 57u);
    for (std::size_t i = 0; i < 31; ++i)
        EXPECT_EQ(run.out.substr(i * 57 + 55, 2), "\r\n") << i;
    EXPECT_EQ(run.out.substr(0, 57), " 2000/  1/  1      6:51   16:38    1:42   13: 6   23.9 \r\n");
    EXPECT_EQ(run.out.substr(27 * 57, 57), " 2000/  1/ 28      6:45   17: 4   --:--   11: 7   21.1 \r\n");
}

TEST(TableCommand, MatchesTheRowsComputedInProcess)
{
    // A southern site keeping summer time, a leap February, options in any
    // order and values joined with '='.
    const CommandRun run = runTable({"--summer", "--tz=10", "--lon", "151.21", "--lat", "-33.87", "--month", "2",
                                     "--year", "2024"});
    ASSERT_EQ(run.status, 0) << run.err;
    TcMainState state;
    state.siteLatitude = -33.87;
    state.siteLongitude = 151.21;
    state.siteTimeZone = 10;
    state.siteSummerTime = 1;
    const TcCalc calc(state);
    EXPECT_EQ(run.out, monthText(monthRows(calc, 2024, 2)));
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 29);
}

TEST(TableCommand, AcceptsTheEndsOfEveryRangeAndHelp)
{
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--year", "1901", "--month", "12", "--lat", "-90", "--lon", "-180.1", "--tz", "-12.1"},
             {"--year", "2099", "--month", "1", "--lat", "90", "--lon", "360.1", "--tz", "12.1"}}) {
        const CommandRun run = runTable(args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out.size(), 31u * 57u);
    }
    const CommandRun help = runTable({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: lunvelde-table", 0), 0u) << help.out;
    EXPECT_EQ(help.err, "");
}

TEST(TableCommand, BadArgumentsExitWith2AndOneLineNamingTheArgument)
{
    struct Case {
        std::string option;                    // dropped from the default arguments ...
        std::vector<std::string> replacement;  // ... and these added
        std::string named;                     // the error line names this
    };
    const Case cases[] = {
        {"--year", {}, "--year"}, {"--tz", {}, "--tz"},  // missing
        // out of range, or not a whole number
        {"--year", {"--year", "1900"}, "--year"}, {"--year", {"--year", "2100"}, "--year"},
        {"--year", {"--year", "2000.0"}, "--year"}, {"--year", {"--year", "99999999999999999999"}, "--year"},
        {"--month", {"--month", "0"}, "--month"}, {"--month", {"--month", "13"}, "--month"},
        {"--lat", {"--lat", "90.001"}, "--lat"}, {"--lon", {"--lon", "-180.2"}, "--lon"},
        {"--lon", {"--lon", "360.2"}, "--lon"}, {"--tz", {"--tz", "-12.2"}, "--tz"},
        {"--tz", {"--tz", "12.2"}, "--tz"},
        // not a plain decimal number
        {"--lat", {"--lat", "nan"}, "--lat"}, {"--lat", {"--lat", "1e400"}, "--lat"},
        {"--lat", {"--lat", "35x"}, "--lat"}, {"--lat", {"--lat", ""}, "--lat"},
        {"--lat", {"--lat", "0x10"}, "--lat"},
        {"--tz", {"--tz"}, "--tz"},  // value missing at the end
        // repeated, unknown or extra
        {"", {"--year", "2001"}, "--year"}, {"", {"--summer", "--summer"}, "--summer"},
        {"", {"--summer=1"}, "--summer"}, {"", {"--colour", "red"}, "--colour"}, {"", {"extra"}, "extra"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args;
        for (std::size_t i = 0; i < defaultSite.size(); i += 2)
            if (defaultSite[i] != c.option)
                args.insert(args.end(), {defaultSite[i], defaultSite[i + 1]});
        args.insert(args.end(), c.replacement.begin(), c.replacement.end());
        std::string shown;
        for (const std::string& a : args)
            shown += " '" + a + "'";
        SCOPED_TRACE(shown);

        const CommandRun run = runTable(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);
        EXPECT_TRUE(!run.err.empty() && run.err.back() == '\n');
        EXPECT_NE(run.err.find(c.named), std::string::npos) << run.err;
    }
}

TEST(TableCommand, ErrorLinesShowControlCharactersEscapedAndWriteFailuresAreReported)
{
    // A line feed, an escape sequence, a backslash, a C1 control byte that is
    // no UTF-8, and UTF-8 text, which stays as it is.
    std::vector<std::string> args = defaultSite;
    args[5] = "1\n\x1b[2J\\\x9b\u6708";
    const CommandRun bad = runTable(args);
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, "lunvelde-table: --lat: not a number: '1\\n\\x1b[2J\\\\\\x9b\u6708' (try --help)\n");

    const CommandRun version = runTable({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "lunvelde-table " LUNVELDE_VERSION "\n");

    // A closed or full standard output: one line on stderr, exit status 1.
    for (const char* redirection : {">&-", ">/dev/full"})
        for (const auto& args : {std::vector<std::string>{"--help"}, std::vector<std::string>{"--version"}, defaultSite}) {
            SCOPED_TRACE(std::string(redirection) + " " + args[0]);
            const CommandRun run = runTable(args, redirection);
            EXPECT_EQ(run.status, 1);
            EXPECT_EQ(run.err.rfind("lunvelde-table: cannot write ", 0), 0u) << run.err;
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);
        }
}

}  // namespace

TEST(TableCommand, PreciseAlmanacOptions)
{
    std::vector<std::string> args = defaultSite;
    args.push_back("--precise");
    const CommandRun precise = runTable(args);
    ASSERT_EQ(precise.status, 0) << precise.err;
    ASSERT_EQ(precise.out.size(), 31u * 57u);
    EXPECT_EQ(precise.out.substr(0, 57), " 2000/  1/  1      6:51   16:39    1:40   13: 6   24.2 \r\n");
    args.back() = "--csv";
    const CommandRun csv = runTable(args);
    EXPECT_EQ(std::count(csv.out.begin(), csv.out.end(), '\n'), 32);
    EXPECT_EQ(csv.out.find('\r'), std::string::npos);
    EXPECT_NE(csv.out.find("\n2000-01-01,06:51:27,118.2,11:45:06,31.3,16:38:52,241.9,"), std::string::npos);
    args.back() = "--phases";
    EXPECT_EQ(runTable(args).out, "2000-01-07T03:13+09:00 new\n2000-01-14T22:34+09:00 first_quarter\n"
                                  "2000-01-21T13:41+09:00 full\n2000-01-28T16:57+09:00 last_quarter\n");
    args.push_back("--csv");
    const CommandRun two = runTable(args);
    EXPECT_EQ(two.status, 2);
    EXPECT_EQ(two.out, "");
    EXPECT_EQ(std::count(two.err.begin(), two.err.end(), '\n'), 1);
}

TEST(TableCommand, KoyomiOptions)
{
    // The calendar for Japan Standard Time: the same bytes as the library's,
    // a month or a whole year, and no site arguments.
    const CommandRun month = runTable({"--koyomi", "--year", "2025", "--month", "2"});
    ASSERT_EQ(month.status, 0) << month.err;
    EXPECT_EQ(month.out, koyomi::koyomiCsv(2025, 2));
    EXPECT_NE(month.out.find("\n2025-02-03,月,,1,0,6,赤口,癸卯,立春,23:10,,"), std::string::npos);
    const CommandRun year = runTable({"--year=2024", "--koyomi"});
    EXPECT_EQ(std::count(year.out.begin(), year.out.end(), '\n'), 367);
    const CommandRun sekki = runTable({"--sekki", "--year", "2025"});
    EXPECT_EQ(sekki.out, koyomi::sekkiText(2025));

    for (const auto& [args, named] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--koyomi", "--year", "2025", "--lat", "35"}, "--koyomi"},
             {{"--koyomi", "--year", "2025", "--summer"}, "--koyomi"},
             {{"--sekki", "--year", "2025", "--csv"}, "--sekki"},
             {{"--sekki", "--year", "2025", "--month", "1"}, "--sekki"},
             {{"--koyomi", "--sekki", "--year", "2025"}, "--sekki"},
             {{"--koyomi=1", "--year", "2025"}, "--koyomi"},
             {{"--koyomi", "--month", "1"}, "--year"},
             {{"--koyomi", "--year", "2025", "--month", "0"}, "--month"}}) {
        const CommandRun bad = runTable(args);
        EXPECT_EQ(bad.status, 2) << named;
        EXPECT_EQ(bad.out, "");
        EXPECT_EQ(std::count(bad.err.begin(), bad.err.end(), '\n'), 1);
        EXPECT_NE(bad.err.find(named), std::string::npos) << bad.err;
    }
}
