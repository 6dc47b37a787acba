#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <cmath>
#include <string>

#include "sites/numParse.h"
#include "sites/siteFile.h"

using namespace sitefile;

namespace {

bool parses(const std::string& text, double expected)
{
    double v = -999.0;
    return parseNumber(text, v) && v == expected;
}

bool refused(const std::string& text)
{
    double v = -999.0;
    return !parseNumber(text, v) && v == -999.0;
}

}  // namespace

TEST(NumberParser, AcceptsBlanksSignPointAndExponent)
{
    EXPECT_TRUE(parses("35.5", 35.5));
    EXPECT_TRUE(parses("  35.5 ", 35.5));
    EXPECT_TRUE(parses("\t-12.1\t", -12.1));
    EXPECT_TRUE(parses("+7", 7.0));
    EXPECT_TRUE(parses(".5", 0.5));
    EXPECT_TRUE(parses("5.", 5.0));
    EXPECT_TRUE(parses("-0", 0.0));
    EXPECT_TRUE(parses("1e2", 100.0));
    EXPECT_TRUE(parses("2.5E-1", 0.25));
    EXPECT_TRUE(parses("  3e+1  ", 30.0));
    EXPECT_TRUE(parses("-180.1", -180.1));  // the same double as the range bound
}

TEST(NumberParser, RefusesEverythingElse)
{
    for (const char* text : {"", "   ", "+", "-", ".", "-.", "e5", "1e", "1e+", "1.2.3", "1 2", "- 1", "12a",
                             "a12", "1,5", "0x10", "nan", "inf", "1e5.0", "++1", "1d"})
        EXPECT_TRUE(refused(text)) << '"' << text << '"';
    // Full-width digits and the ideographic space are not ASCII.
    EXPECT_TRUE(refused("\xef\xbc\x93\xef\xbc\x95"));
    EXPECT_TRUE(refused("\xe3\x80\x80" "35"));
    EXPECT_TRUE(refused(std::string("3\0" "5", 3)));
}

TEST(NumberParser, AHugeExponentIsAnInfiniteNumberNotAnError)
{
    double v = 0;
    ASSERT_TRUE(parseNumber("1e999", v));
    EXPECT_TRUE(std::isinf(v));
    ASSERT_TRUE(parseNumber("-1e999", v));
    EXPECT_TRUE(std::isinf(v) && v < 0);
    ASSERT_TRUE(parseNumber("1e-999", v));
    EXPECT_EQ(v, 0.0);
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
    const std::string old = std::setlocale(LC_ALL, nullptr);
    const char* found = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8"})
        if (std::setlocale(LC_ALL, name)) {
            found = name;
            break;
        }
    if (!found)
        GTEST_SKIP() << "no comma-decimal locale installed";
    double v = 0;
    const bool pointParses = parseNumber("35.5", v);
    const bool commaParses = parseNumber("35,5", v);
    const std::string rec = makeRecord("x", 35.67, 139.5, 9, 0);
    SiteRecord r;
    scanNumbers(rec, r);
    std::setlocale(LC_ALL, old.c_str());
    EXPECT_TRUE(pointParses);
    EXPECT_FALSE(commaParses);
    EXPECT_EQ(rec.substr(16), "  35.67, 139.50,  9.00, 0000, 0,\r\n");
    EXPECT_DOUBLE_EQ(r.longitude, 139.5);
}
