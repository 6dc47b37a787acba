// The lunvelde-table command, run as a separate process.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "support.h"
#include "table/monthRows.h"

namespace {

struct CommandRun {
    int status = -1;
    std::string out, err;
};

// Runs the command with args (none holds a quote); stdout and stderr go to
// files in a temporary folder.
CommandRun runTable(const std::vector<std::string>& args)
{
    const testsupport::TempDir dir;
    std::string command = "'" LUNVELDE_TABLE_EXE "'";
    for (const std::string& a : args)
        command += " '" + a + "'";
    command += " >'" + dir.file("out") + "' 2>'" + dir.file("err") + "'";
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
