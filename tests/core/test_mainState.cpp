#include <gtest/gtest.h>

#include <cstring>

#include "app/mainState.h"

// 三鷹 and 観測 in Shift-JIS.
static const std::string kMitaka = "\x8e\x4f\x91\xe9";

TEST(SjisCut, KeepsWholeDoubleByteCharacters)
{
    EXPECT_EQ(sjisCut(kMitaka, 4), kMitaka);
    EXPECT_EQ(sjisCut(kMitaka, 3), "\x8e\x4f");   // the second character would be split: dropped
    EXPECT_EQ(sjisCut("ab" + kMitaka, 3), "ab");
    EXPECT_EQ(sjisCut("abcdef", 4), "abcd");
    EXPECT_EQ(sjisCut("", 4), "");
}

TEST(SiteName, LimitsTheFieldTo17BytesWithoutBreakingACharacter)
{
    TcMainState s;
    // 8 double-byte characters (16 bytes) then one more: 18 bytes.
    std::string name;
    for (int i = 0; i < 9; ++i) name += kMitaka.substr(0, 2);
    setSiteName(s, name);
    EXPECT_EQ(s.siteNameText, name);
    EXPECT_EQ(std::strlen(s.siteName), 16u);
    setSiteName(s, "a" + name);  // 'a' + 8 characters = 17 bytes fits, the 9th does not
    EXPECT_EQ(std::strlen(s.siteName), 17u);
    EXPECT_EQ(s.siteName[17], '\0');
}

TEST(DefaultSite, IsMitakaAtRecordZero)
{
    TcMainState s;
    s.currentSiteIndex = 7;
    putDefaultSite(s);
    EXPECT_STREQ(s.siteName, kMitaka.c_str());
    EXPECT_EQ(s.siteNameText, kMitaka);
    EXPECT_EQ(s.currentSiteIndex, 0);
    EXPECT_DOUBLE_EQ(s.siteLatitude, 35.67);
    EXPECT_DOUBLE_EQ(s.siteLongitude, 139.5);
    EXPECT_DOUBLE_EQ(s.siteTimeZone, 9.0);
    EXPECT_EQ(s.siteSummerTime, 0);
}
