// Numbers typed into the site fields, and the ranges they must lie in.
#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <cstdlib>
#include <string>
#include <utility>

#include "sites/numParse.h"
#include "sites/siteFile.h"
#include "support.h"

using namespace sitefile;

TEST(NumberParser, AcceptsBlanksSignPointAndExponentOnly)
{
    const std::pair<const char*, double> good[] = {
        {"35.5", 35.5}, {"  35.5 ", 35.5}, {"\t-12.1\t", -12.1}, {"+7", 7.0},   {".5", 0.5},
        {"5.", 5.0},    {"-0", 0.0},       {"1e2", 100.0},         {"2.5E-1", 0.25}, {"  3e+1  ", 30.0},
        {"-180.1", -180.1},  // the same double as the range bound
        {"1e-999", 0.0},     // too small: 0, not an error (too large is out of range below)
    };
    for (const auto& [text, expected] : good) {
        double v = -999.0;
        EXPECT_TRUE(parseNumber(text, v)) << '"' << text << '"';
        EXPECT_EQ(v, expected) << '"' << text << '"';
    }
    // Anything else is refused and leaves the value alone. Full-width digits
    // and the ideographic space are not ASCII.
    for (const std::string text : {"", "   ", "+", "-", ".", "-.", "e5", "1e", "1e+", "1.2.3", "1 2", "- 1", "12a",
                                   "a12", "1,5", "0x10", "nan", "inf", "1e5.0", "++1", "1d",
                                   "\xef\xbc\x93\xef\xbc\x95", "\xe3\x80\x80" "35"}) {
        double v = -999.0;
        EXPECT_FALSE(parseNumber(text, v)) << '"' << text << '"';
        EXPECT_EQ(v, -999.0) << '"' << text << '"';
    }
    double v = -999.0;
    EXPECT_FALSE(parseNumber(std::string("3\0" "5", 3), v));
}

TEST(SiteFields, BoundsAreIncluded)
{
    SiteNumbers out;
    EXPECT_EQ(checkSiteFields("90", "360.1", "12.1", out), FieldCheck::Ok);
    EXPECT_EQ(out.latitude, 90.0);
    EXPECT_EQ(out.longitude, 360.1);
    EXPECT_EQ(out.timeZone, 12.1);
    EXPECT_EQ(checkSiteFields("-90", "-180.1", "-12.1", out), FieldCheck::Ok);
    EXPECT_EQ(checkSiteFields(" -90.00", "-180.10", "-12.10", out), FieldCheck::Ok);

    for (auto fields : {std::array<const char*, 3>{"90.01", "0", "0"}, {"-90.01", "0", "0"}, {"0", "360.11", "0"},
                        {"0", "-180.11", "0"}, {"0", "0", "12.11"}, {"0", "0", "-12.11"}, {"1e999", "0", "0"}})
        EXPECT_EQ(checkSiteFields(fields[0], fields[1], fields[2], out), FieldCheck::OutOfRange)
            << fields[0] << ' ' << fields[1] << ' ' << fields[2];
}

TEST(SiteFields, EveryFieldIsParsedBeforeAnyRangeIsTested)
{
    SiteNumbers out;
    out.latitude = 1.0;
    // Latitude out of range, offset not a number: the number message wins.
    EXPECT_EQ(checkSiteFields("100", "0", "x", out), FieldCheck::NotANumber);
    EXPECT_EQ(checkSiteFields("", "0", "0", out), FieldCheck::NotANumber);
    EXPECT_EQ(checkSiteFields("abc", "0", "0", out), FieldCheck::NotANumber);
    EXPECT_EQ(checkSiteFields("100", "0", "0", out), FieldCheck::OutOfRange);
    EXPECT_EQ(out.latitude, 1.0);  // written only when all is well
}

TEST(SiteFields, NumbersDoNotFollowTheLocale)
{
    // A comma-decimal locale, built into a temporary folder when none is
    // installed.
    const std::string old = std::setlocale(LC_ALL, nullptr);
    bool found = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    const testsupport::TempDir dir;
    const std::string made = dir.file("de_DE.UTF-8");
    if (!found && dir.ok() && std::system(("localedef -i de_DE -f UTF-8 " + made + " >/dev/null 2>&1").c_str()) == 0) {
        const char* oldPath = std::getenv("LOCPATH");
        const std::string savedPath = oldPath ? oldPath : "";
        setenv("LOCPATH", dir.path().c_str(), 1);
        found = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
        if (oldPath) setenv("LOCPATH", savedPath.c_str(), 1); else unsetenv("LOCPATH");
    }
    if (!found)
        GTEST_SKIP() << "no comma-decimal locale available";
    const std::string decimalPoint = std::localeconv()->decimal_point;
    double v = 0;
    const bool pointParses = parseNumber("35.5", v);
    const bool commaParses = parseNumber("35,5", v);
    const std::string rec = makeRecord("x", 35.67, 139.5, 9, 0);
    SiteRecord r;
    scanNumbers(rec, r);
    std::setlocale(LC_ALL, old.c_str());
    ASSERT_EQ(decimalPoint, ",");
    EXPECT_TRUE(pointParses);
    EXPECT_FALSE(commaParses);
    EXPECT_EQ(rec.substr(16), "  35.67, 139.50,  9.00, 0000, 0,\r\n");
    EXPECT_DOUBLE_EQ(r.longitude, 139.5);
}
