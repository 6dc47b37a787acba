#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/mainState.h"
#include "sites/siteFile.h"

namespace fs = std::filesystem;
using namespace sitefile;

namespace {

// Shift-JIS bytes.
const std::string kMitaka = "\x8e\x4f\x91\xe9";  // 三鷹
const std::string kTou = "\x93\x8c";             // 東
const std::string kKyou = "\x8b\x9e";            // 京

const std::string kMitakaRecord = kMitaka + std::string(12, ' ') + "  35.67, 139.50,  9.00, 0000, 0,\r\n";

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Every test runs in its own empty working directory and uses the default
// file name there.
class SiteFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/lunvelde-sites-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        oldDir = fs::current_path();
        fs::current_path(dir);
    }
    void TearDown() override
    {
        fs::current_path(oldDir);
        fs::remove_all(dir);
    }

    std::string record(const std::string& name, double lat, double lon, double tz, int flag)
    {
        return makeRecord(name, lat, lon, tz, flag);
    }

    // Three records: 三鷹, 東京 (with summer time) and two words.
    std::string threeRecords()
    {
        return kMitakaRecord + record(kTou + kKyou, 35.69, 139.69, 9.0, 1) +
               record("two words", -35.67, -70.5, -4.0, 0);
    }

    fs::path dir;
    fs::path oldDir;
};

}  // namespace

// ---------------------------------------------------------------------------
// The record text

TEST(RecordText, DefaultSiteIsTheWorkedExample)
{
    EXPECT_EQ(makeRecord(kMitaka, 35.67, 139.5, 9.0, 0), kMitakaRecord);
}

TEST(RecordText, NameFieldIsTheFirst14BytesBlankFilledTo16)
{
    const std::string numbers = "  35.67, 139.50,  9.00, 0000, 0,\r\n";
    EXPECT_EQ(makeRecord("abc", 35.67, 139.5, 9, 0), "abc" + std::string(13, ' ') + numbers);
    EXPECT_EQ(makeRecord("ABCDEFGHIJKLMNOPQRST", 35.67, 139.5, 9, 0), "ABCDEFGHIJKLMN  " + numbers);
    EXPECT_EQ(makeRecord("", 35.67, 139.5, 9, 0), std::string(16, ' ') + numbers);
    EXPECT_EQ(makeRecord("two words", 35.67, 139.5, 9, 0), "two words       " + numbers);
}

TEST(RecordText, CutDropsADoubleByteCharacterThatWouldBeSplit)
{
    std::string seven;  // 7 double-byte characters: exactly 14 bytes
    for (int i = 0; i < 7; ++i) seven += kTou;
    EXPECT_EQ(makeRecord(seven + kKyou, 0, 0, 0, 0).substr(0, 16), seven + "  ");
    // One byte in front: the 7th character would straddle the cut.
    const std::string r = makeRecord("a" + seven, 0, 0, 0, 0);
    EXPECT_EQ(r.substr(0, 16), "a" + seven.substr(0, 12) + "   ");
    EXPECT_EQ(r.size(), 50u);
}

TEST(RecordText, LineBreaksAndNulInANameBecomeBlanks)
{
    const std::string r = makeRecord(std::string("a\nb\0c\rd", 7), 0, 0, 0, 0);
    EXPECT_EQ(r.substr(0, 16), "a b c d         ");
    EXPECT_EQ(r.size(), 50u);
}

TEST(RecordText, WidestValuesKeepEveryFieldInPlace)
{
    EXPECT_EQ(makeRecord("x", -90, -180.1, -12.1, 1).substr(16), " -90.00,-180.10,-12.10, 0000, 1,\r\n");
    EXPECT_EQ(makeRecord("x", 90, 360.1, 12.1, 0).substr(16), "  90.00, 360.10, 12.10, 0000, 0,\r\n");
    // The minus sign of a southern latitude lies at offset 17, where the
    // numeric scan starts.
    const std::string south = makeRecord("x", -35.67, 0, 0, 0);
    EXPECT_EQ(south.substr(16, 7), " -35.67");
    // Any non-zero flag is written as 1.
    EXPECT_EQ(makeRecord("x", 0, 0, 0, 7).substr(45, 2), " 1");
}

TEST(RecordText, NumbersScanBackFromTheRecord)
{
    SiteRecord r;
    scanNumbers(makeRecord("x", -35.67, -180.1, -12.1, 1), r);
    EXPECT_DOUBLE_EQ(r.latitude, -35.67);
    EXPECT_DOUBLE_EQ(r.longitude, -180.1);
    EXPECT_DOUBLE_EQ(r.timeZone, -12.1);
    EXPECT_EQ(r.summerTime, 1);
}

TEST(RecordText, FieldsThatDoNotScanAreZero)
{
    const std::string name(16, 'n');
    SiteRecord r;
    r.summerTime = 9;
    scanNumbers(name + "  35.67; 139.50,  9.00, 0000, 1,\r\n", r);  // stops after the latitude
    EXPECT_DOUBLE_EQ(r.latitude, 35.67);
    EXPECT_EQ(r.longitude, 0.0);
    EXPECT_EQ(r.timeZone, 0.0);
    EXPECT_EQ(r.summerTime, 0);

    scanNumbers(name + "    nan,    inf,  9.00, 0000, 1,\r\n", r);  // not finite: 0, the scan goes on
    EXPECT_EQ(r.latitude, 0.0);
    EXPECT_EQ(r.longitude, 0.0);
    EXPECT_DOUBLE_EQ(r.timeZone, 9.0);
    EXPECT_EQ(r.summerTime, 1);

    scanNumbers(name + " 1, 2, 3, 0, 99999999999999999999\r\n", r);  // flag beyond int
    EXPECT_EQ(r.summerTime, 0);

    scanNumbers("short", r);
    EXPECT_EQ(r.latitude, 0.0);
}

// ---------------------------------------------------------------------------
// Append and overwrite

TEST_F(SiteFileTest, AppendToAMissingFileCreatesItAndNumbersTheRecords)
{
    int n = -1;
    ASSERT_EQ(appendRecord(kMitakaRecord, n), Status::Ok);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(readBytes(kFileName), kMitakaRecord);
    const std::string second = record("abc", 1, 2, 3, 1);
    ASSERT_EQ(appendRecord(second, n), Status::Ok);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(readBytes(kFileName), kMitakaRecord + second);
}

TEST_F(SiteFileTest, AppendCompletesAnUnterminatedLastLineAndKeepsIt)
{
    // A hand-typed last record without its CR LF: it keeps its bytes, gets
    // its line end, and the new record follows at the next record number.
    const std::string typed = record("typed", 1, 2, 3, 0).substr(0, 48);
    writeBytes(kFileName, kMitakaRecord + typed);
    int n = -1;
    const std::string added = record("added", 4, 5, 6, 1);
    ASSERT_EQ(appendRecord(added, n), Status::Ok);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(readBytes(kFileName), kMitakaRecord + typed + "\r\n" + added);
    SiteRecord r;
    ASSERT_EQ(readSite(2, r), Status::Ok);
    EXPECT_EQ(r.name, "added");

    // A short partial line is blank-filled to a whole record.
    writeBytes(kFileName, kMitakaRecord + "abc");
    ASSERT_EQ(appendRecord(added, n), Status::Ok);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(readBytes(kFileName), kMitakaRecord + "abc" + std::string(45, ' ') + "\r\n" + added);
}

TEST_F(SiteFileTest, AppendRefusesAFileOutOfStepAndLeavesItAlone)
{
    int n = 7;
    const std::string shortLines = kMitakaRecord + "abc\r\n";
    writeBytes(kFileName, shortLines);
    EXPECT_EQ(appendRecord(kMitakaRecord, n), Status::NotAligned);
    EXPECT_EQ(readBytes(kFileName), shortLines);
    const std::string longLine = kMitakaRecord + std::string(49, 'x');
    writeBytes(kFileName, longLine);
    EXPECT_EQ(appendRecord(kMitakaRecord, n), Status::NotAligned);
    EXPECT_EQ(readBytes(kFileName), longLine);
    EXPECT_EQ(n, 7);
}

TEST_F(SiteFileTest, AppendFailuresWriteNothing)
{
    int n = 7;
    fs::create_directory(kFileName);
    EXPECT_EQ(appendRecord(kMitakaRecord, n), Status::CannotOpen);
    EXPECT_EQ(appendRecord(kMitakaRecord, n, "missing/obspoint.txt"), Status::CannotOpen);
    EXPECT_FALSE(fs::exists("missing"));
    EXPECT_EQ(appendRecord(kMitakaRecord, n, "/dev/full"), Status::WriteFailed);
    // A record of the wrong length is not written and creates no file.
    EXPECT_EQ(appendRecord(kMitakaRecord.substr(1), n, "other.txt"), Status::BadRecord);
    EXPECT_FALSE(fs::exists("other.txt"));
    EXPECT_EQ(n, 7);
}

TEST_F(SiteFileTest, OverwriteReplacesRecordNAndNoOtherByte)
{
    const std::string before = threeRecords() + record("last", 1, 1, 1, 0);
    writeBytes(kFileName, before);
    const std::string replacement = record(kKyou, -1.5, 2.25, -3, 1);
    ASSERT_EQ(overwriteRecord(replacement, 2), Status::Ok);
    std::string expected = before;
    expected.replace(100, 50, replacement);
    EXPECT_EQ(readBytes(kFileName), expected);
}

TEST_F(SiteFileTest, OverwriteNeverWritesPastTheEndOrIntoAForeignLayout)
{
    const std::string before = threeRecords() + "partial";
    writeBytes(kFileName, before);
    const std::string r = record("x", 0, 0, 0, 0);
    EXPECT_EQ(overwriteRecord(r, 3), Status::NoRecord);  // the partial line
    EXPECT_EQ(overwriteRecord(r, 4), Status::NoRecord);
    EXPECT_EQ(overwriteRecord(r, -1), Status::NoRecord);
    EXPECT_EQ(readBytes(kFileName), before);

    // Lines with LF only: record 1 would straddle two lines.
    const std::string lfLines = std::string(48, 'a') + "\n" + std::string(48, 'b') + "\n" + std::string(48, 'c') + "\n";
    writeBytes(kFileName, lfLines);
    EXPECT_EQ(overwriteRecord(r, 1), Status::NotAligned);
    EXPECT_EQ(readBytes(kFileName), lfLines);
    // Bytes 98-99 are a CR LF, but record 1 would begin inside a long line.
    const std::string uneven = std::string(30, 'a') + "\r\n" + std::string(66, 'b') + "\r\n";
    writeBytes(kFileName, uneven);
    EXPECT_EQ(overwriteRecord(r, 1), Status::NotAligned);
    EXPECT_EQ(readBytes(kFileName), uneven);
}

TEST_F(SiteFileTest, OverwriteNeedsAnExistingFile)
{
    EXPECT_EQ(overwriteRecord(kMitakaRecord, 0), Status::CannotOpen);
    EXPECT_FALSE(fs::exists(kFileName));
    fs::create_directory(kFileName);
    EXPECT_EQ(overwriteRecord(kMitakaRecord, 0), Status::CannotOpen);
    writeBytes("one.txt", kMitakaRecord);
    EXPECT_EQ(overwriteRecord(kMitakaRecord + "x", 0, "one.txt"), Status::BadRecord);
}

// ---------------------------------------------------------------------------
// Readers

TEST_F(SiteFileTest, NameListShowsTheStoredFieldsOfCompleteLines)
{
    writeBytes(kFileName, threeRecords() + "abc\r\n" + "no line end");
    std::vector<std::string> names;
    ASSERT_TRUE(listNames(names));
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[0], kMitaka + std::string(12, ' '));
    EXPECT_EQ(names[1], kTou + kKyou + std::string(12, ' '));
    EXPECT_EQ(names[2], "two words       ");
    EXPECT_EQ(names[3], "abc");
}

TEST_F(SiteFileTest, NameListOfAMissingOrUnreadableFileIsEmpty)
{
    std::vector<std::string> names{"stale"};
    EXPECT_FALSE(listNames(names));
    EXPECT_TRUE(names.empty());
    fs::create_directory(kFileName);
    EXPECT_FALSE(listNames(names));
}

TEST_F(SiteFileTest, ReadSiteTakesTheFirstWordAndTheNumbers)
{
    writeBytes(kFileName, threeRecords() + record("", 1, 2, 3, 0));
    SiteRecord r;
    ASSERT_EQ(readSite(2, r), Status::Ok);
    EXPECT_EQ(r.name, "two");
    EXPECT_DOUBLE_EQ(r.latitude, -35.67);
    EXPECT_DOUBLE_EQ(r.longitude, -70.5);
    EXPECT_DOUBLE_EQ(r.timeZone, -4.0);
    EXPECT_EQ(r.summerTime, 0);
    ASSERT_EQ(readSite(1, r), Status::Ok);
    EXPECT_EQ(r.name, kTou + kKyou);
    EXPECT_EQ(r.summerTime, 1);
    // A blank name field gives an empty name, not the latitude's text.
    ASSERT_EQ(readSite(3, r), Status::Ok);
    EXPECT_EQ(r.name, "");
    EXPECT_DOUBLE_EQ(r.latitude, 1.0);
}

TEST_F(SiteFileTest, ReadSiteFailuresLeaveTheResultAlone)
{
    SiteRecord r;
    r.name = "kept";
    r.latitude = 12.5;
    EXPECT_EQ(readSite(0, r), Status::CannotOpen);
    writeBytes(kFileName, kMitakaRecord);
    EXPECT_EQ(readSite(1, r), Status::NoRecord);
    EXPECT_EQ(readSite(-1, r), Status::NoRecord);
    EXPECT_EQ(r.name, "kept");
    EXPECT_EQ(r.latitude, 12.5);
    fs::remove(kFileName);
    fs::create_directory(kFileName);
    EXPECT_EQ(readSite(0, r), Status::CannotOpen);
}

TEST_F(SiteFileTest, ANumericFieldIsNeverTakenFromTheNextRecord)
{
    // Record 0 ends after its latitude; scanf on the open file would go on
    // into record 1.
    writeBytes(kFileName, "short" + std::string(11, ' ') + "  35.67," + std::string(24, ' ') + "\r\n" +
                              record("77", 1, 2, 3, 1));
    SiteRecord r;
    ASSERT_EQ(readSite(0, r), Status::Ok);
    EXPECT_DOUBLE_EQ(r.latitude, 35.67);
    EXPECT_EQ(r.longitude, 0.0);
    EXPECT_EQ(r.summerTime, 0);
}

// ---------------------------------------------------------------------------
// Start-up load

TEST_F(SiteFileTest, LoadWithoutAFilePutsTheDefaultSite)
{
    TcMainState s;
    s.currentSiteIndex = 4;
    s.defaultSiteIndex = 3;
    EXPECT_EQ(loadSite(s), kNoFile);
    EXPECT_EQ(s.siteNameText, kMitaka);
    EXPECT_DOUBLE_EQ(s.siteLatitude, 35.67);
    EXPECT_DOUBLE_EQ(s.siteLongitude, 139.5);
    EXPECT_DOUBLE_EQ(s.siteTimeZone, 9.0);
    EXPECT_EQ(s.currentSiteIndex, 0);
    fs::create_directory(kFileName);
    EXPECT_EQ(loadSite(s), kNoFile);
}

TEST_F(SiteFileTest, LoadLowersTheIndexToTheLastCompleteRecord)
{
    writeBytes(kFileName, threeRecords() + "partial last line");
    TcMainState s;
    s.defaultSiteIndex = 7;
    ASSERT_EQ(loadSite(s), kLoaded);
    EXPECT_EQ(s.defaultSiteIndex, 2);
    EXPECT_EQ(s.currentSiteIndex, 2);
    // The name is the field as stored, trailing blanks included.
    EXPECT_EQ(s.siteNameText, "two words       ");
    EXPECT_STREQ(s.siteName, "two words       ");
    EXPECT_DOUBLE_EQ(s.siteLatitude, -35.67);
    EXPECT_DOUBLE_EQ(s.siteLongitude, -70.5);
    EXPECT_DOUBLE_EQ(s.siteTimeZone, -4.0);
    EXPECT_EQ(s.siteSummerTime, 0);
}

TEST_F(SiteFileTest, LoadTakesANegativeIndexAsZero)
{
    writeBytes(kFileName, threeRecords());
    TcMainState s;
    s.defaultSiteIndex = -5;
    ASSERT_EQ(loadSite(s), kLoaded);
    EXPECT_EQ(s.defaultSiteIndex, 0);
    EXPECT_EQ(s.currentSiteIndex, 0);
    EXPECT_EQ(s.siteNameText, kMitaka + std::string(12, ' '));

    s.defaultSiteIndex = 1;
    ASSERT_EQ(loadSite(s), kLoaded);
    EXPECT_EQ(s.currentSiteIndex, 1);
    EXPECT_EQ(s.siteSummerTime, 1);
}

TEST_F(SiteFileTest, LoadOfAFileWithoutACompleteRecordUsesTheDefaultSite)
{
    writeBytes(kFileName, kMitakaRecord.substr(0, 49));
    TcMainState s;
    s.defaultSiteIndex = 3;
    s.currentSiteIndex = 3;
    EXPECT_EQ(loadSite(s), kNoRecord);
    EXPECT_EQ(s.siteNameText, kMitaka);
    EXPECT_DOUBLE_EQ(s.siteLatitude, 35.67);
    EXPECT_EQ(s.defaultSiteIndex, 0);
    EXPECT_EQ(s.currentSiteIndex, 0);
    writeBytes(kFileName, "");
    EXPECT_EQ(loadSite(s), kNoRecord);
}

// ---------------------------------------------------------------------------
// The sample file shipped with the program

TEST(SampleFile, IsWhatTheRecordWriterProduces)
{
    const std::string path = std::string(LUNVELDE_SOURCE_DIR) + "/resources/obspoint.txt";
    const std::string bytes = readBytes(path);
    ASSERT_FALSE(bytes.empty());
    ASSERT_EQ(bytes.size() % 50, 0u);
    const int count = static_cast<int>(bytes.size() / 50);
    EXPECT_GE(count, 15);
    EXPECT_EQ(bytes.substr(0, 50), kMitakaRecord);
    bool southernSummer = false, northernSummer = false, westOrBeyond180 = false;
    for (int n = 0; n < count; ++n) {
        SiteRecord r;
        ASSERT_EQ(readSite(n, r, path), Status::Ok);
        // Rewriting the record from what was read gives the same bytes: the
        // name is whole (at most 14 bytes) and every number has its width.
        EXPECT_EQ(makeRecord(r.name, r.latitude, r.longitude, r.timeZone, r.summerTime), bytes.substr(n * 50, 50))
            << "record " << n;
        southernSummer |= r.summerTime == 1 && r.latitude < 0;
        northernSummer |= r.summerTime == 1 && r.latitude > 0;
        westOrBeyond180 |= r.longitude < 0 || r.longitude > 180;
    }
    EXPECT_TRUE(southernSummer);
    EXPECT_TRUE(northernSummer);
    EXPECT_TRUE(westOrBeyond180);
}
