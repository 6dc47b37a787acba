// The site list file: record text, append and overwrite, the readers, the
// start-up load and the site name fields.
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <optional>
#include <string>
#include <vector>

#include "app/mainState.h"
#include "sites/siteFile.h"
#include "support.h"

namespace fs = std::filesystem;
using namespace sitefile;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

// Shift-JIS bytes.
const std::string kMitaka = "\x8e\x4f\x91\xe9";  // 三鷹
const std::string kTou = "\x93\x8c";             // 東
const std::string kKyou = "\x8b\x9e";            // 京

const std::string kNumbers = "  35.67, 139.50,  9.00, 0000, 0,\r\n";
const std::string kMitakaRecord = kMitaka + std::string(12, ' ') + kNumbers;

// Three records: 三鷹, 東京 (with summer time) and two words.
const std::string kThreeRecords = kMitakaRecord + makeRecord(kTou + kKyou, 35.69, 139.69, 9.0, 1) +
                                  makeRecord("two words", -35.67, -70.5, -4.0, 0);

// Every test runs in its own empty working folder and uses the default file
// name there.
using SiteFile = testsupport::InTempDir;

}  // namespace

// ---------------------------------------------------------------------------
// The record text

TEST(RecordText, LaysOutTheNameAndTheNumbersIn50Bytes)
{
    std::string seven;  // 7 double-byte characters: exactly 14 bytes
    for (int i = 0; i < 7; ++i)
        seven += kTou;
    const std::string x = "x" + std::string(15, ' ');
    struct Case {
        std::string name;
        double lat, lon, tz;
        int flag;
        std::string expected;
    };
    const Case cases[] = {
        {kMitaka, 35.67, 139.5, 9, 0, kMitakaRecord},
        {"two words", 35.67, 139.5, 9, 0, "two words       " + kNumbers},
        {"", 35.67, 139.5, 9, 0, std::string(16, ' ') + kNumbers},
        // the name is cut after its 14th byte ...
        {"ABCDEFGHIJKLMNOPQRST", 35.67, 139.5, 9, 0, "ABCDEFGHIJKLMN  " + kNumbers},
        {seven + kKyou, 35.67, 139.5, 9, 0, seven + "  " + kNumbers},
        // ... and a double-byte character that would straddle the cut is dropped
        {"a" + seven, 35.67, 139.5, 9, 0, "a" + seven.substr(0, 12) + "   " + kNumbers},
        // line breaks and NUL in a name become blanks
        {std::string("a\nb\0c\rd", 7), 35.67, 139.5, 9, 0, "a b c d         " + kNumbers},
        // the widest values keep every field in place; any flag but 0 is 1
        {"x", -90, -180.1, -12.1, 1, x + " -90.00,-180.10,-12.10, 0000, 1,\r\n"},
        {"x", 90, 360.1, 12.1, 7, x + "  90.00, 360.10, 12.10, 0000, 1,\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(makeRecord(c.name, c.lat, c.lon, c.tz, c.flag), c.expected);
}

TEST(RecordText, ScanReadsTheNumbersAndZeroesWhatDoesNotScan)
{
    const std::string name(16, 'n');
    struct Case {
        std::string text;
        double lat, lon, tz;
        int flag;
    };
    const Case cases[] = {
        {makeRecord("x", -35.67, -180.1, -12.1, 1), -35.67, -180.1, -12.1, 1},
        {name + "  35.67; 139.50,  9.00, 0000, 1,\r\n", 35.67, 0, 0, 0},  // stops after the latitude
        {name + "    nan,    inf,  9.00, 0000, 1,\r\n", 0, 0, 9, 1},       // not finite: 0, the scan goes on
        {name + " 1, 2, 3, 0, 99999999999999999999\r\n", 1, 2, 3, 0},     // flag beyond int
        {"short", 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SiteRecord r{"n", 5, 5, 5, 5};
        scanNumbers(c.text, r);
        EXPECT_DOUBLE_EQ(r.latitude, c.lat);
        EXPECT_DOUBLE_EQ(r.longitude, c.lon);
        EXPECT_DOUBLE_EQ(r.timeZone, c.tz);
        EXPECT_EQ(r.summerTime, c.flag);
    }
}

TEST(SiteName, IsCutWithoutSplittingADoubleByteCharacter)
{
    EXPECT_EQ(sjisCut(kMitaka, 3), "\x8e\x4f");
    EXPECT_EQ(sjisCut("abcdef", 4), "abcd");

    // The name field holds at most 17 bytes; the text keeps them all.
    std::string nine;  // 9 double-byte characters: 18 bytes
    for (int i = 0; i < 9; ++i)
        nine += kTou;
    TcMainState s;
    setSiteName(s, nine);
    EXPECT_EQ(s.siteNameText, nine);
    EXPECT_EQ(std::string(s.siteName), nine.substr(0, 16));
    setSiteName(s, "a" + nine);
    EXPECT_EQ(std::string(s.siteName), "a" + nine.substr(0, 16));
    // A lone lead byte at the end is one byte of its own and fits.
    EXPECT_EQ(sjisCut("ab\x82", 3), "ab\x82");
}

// ---------------------------------------------------------------------------
// Append and overwrite

TEST_F(SiteFile, AppendAddsTheRecordAtTheNextRecordBoundary)
{
    int n = -1;
    ASSERT_EQ(appendRecord(kMitakaRecord, n), Status::Ok);  // the file is created
    EXPECT_EQ(n, 0);
    const std::string added = makeRecord("added", 4, 5, 6, 1);
    ASSERT_EQ(appendRecord(added, n), Status::Ok);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(readBytes(kFileName), kMitakaRecord + added);

    // A hand-typed last line without its CR LF keeps its bytes and is
    // blank-filled to a whole record before the new one.
    const std::string typed = makeRecord("typed", 1, 2, 3, 0).substr(0, 48);
    for (const auto& [last, completed] : {std::pair{typed, typed + "\r\n"},
                                          std::pair{std::string("abc"), "abc" + std::string(45, ' ') + "\r\n"}}) {
        writeBytes(kFileName, kMitakaRecord + last);
        ASSERT_EQ(appendRecord(added, n), Status::Ok);
        EXPECT_EQ(n, 2);
        EXPECT_EQ(readBytes(kFileName), kMitakaRecord + completed + added);
    }
}

TEST_F(SiteFile, RefusedAppendsChangeNothing)
{
    int n = 7;
    // Out of step: several short lines, a last line longer than a record
    // (also one that reaches past the next boundary), a file that ends
    // inside a line exactly at a boundary.
    for (const std::string& before :
         {kMitakaRecord + "abc\r\n", kMitakaRecord + std::string(49, 'x'), kMitakaRecord + std::string(60, 'x'),
          kMitakaRecord + std::string(50, 'x'), kMitakaRecord.substr(0, 49) + "y"}) {
        writeBytes(kFileName, before);
        EXPECT_EQ(appendRecord(kMitakaRecord, n), Status::NotAligned);
        EXPECT_EQ(readBytes(kFileName), before);
    }
    EXPECT_EQ(appendRecord(kMitakaRecord, n, "/dev/full"), Status::CannotOpen);
    // A record of the wrong length is not written and creates no file.
    EXPECT_EQ(appendRecord(kMitakaRecord.substr(1), n, "other.txt"), Status::BadRecord);
    EXPECT_FALSE(fs::exists("other.txt"));
    fs::remove(kFileName);
    fs::create_directory(kFileName);
    EXPECT_EQ(appendRecord(kMitakaRecord, n), Status::CannotOpen);
    EXPECT_EQ(n, 7);
}

TEST_F(SiteFile, OverwriteReplacesRecordNOrNothing)
{
    const std::string r = makeRecord("x", 0, 0, 0, 0);
    EXPECT_EQ(overwriteRecord(r, 0), Status::CannotOpen);  // no file: none is created
    EXPECT_FALSE(fs::exists(kFileName));

    const std::string before = kThreeRecords + makeRecord("last", 1, 1, 1, 0);
    writeBytes(kFileName, before);
    ASSERT_EQ(overwriteRecord(r, 2), Status::Ok);
    EXPECT_EQ(readBytes(kFileName), std::string(before).replace(100, 50, r));

    struct Case {
        std::string before;
        int n;
        Status status;
    };
    const Case cases[] = {
        // never past the end, nor over a partial last line
        {kThreeRecords + "partial", 3, Status::NoRecord},
        {kThreeRecords, -1, Status::NoRecord},
        // record 0 is not one whole CR LF line
        {"short\r\n" + kThreeRecords, 0, Status::NotAligned},
        // lines with LF only: record 1 would straddle two lines
        {std::string(48, 'a') + "\n" + std::string(48, 'b') + "\n" + std::string(48, 'c') + "\n", 1,
         Status::NotAligned},
        // bytes 98-99 are a CR LF, but record 1 would begin inside a long line
        {std::string(30, 'a') + "\r\n" + std::string(66, 'b') + "\r\n", 1, Status::NotAligned},
        // record 1 ends in CR LF and follows a line end, but holds two lines
        {kMitakaRecord + std::string(20, 'a') + "\r\n" + std::string(26, 'b') + "\r\n", 1, Status::NotAligned},
    };
    for (const Case& c : cases) {
        writeBytes(kFileName, c.before);
        EXPECT_EQ(overwriteRecord(r, c.n), c.status) << c.before;
        EXPECT_EQ(readBytes(kFileName), c.before);
    }
    EXPECT_EQ(overwriteRecord(r + "x", 0), Status::BadRecord);
    fs::remove(kFileName);
    fs::create_directory(kFileName);
    EXPECT_EQ(overwriteRecord(r, 0), Status::CannotOpen);
}

// Pipes and devices are refused before anything is written; a write that
// fails midway is taken back; the number is where the record landed, even
// when another program appended after the size was checked.
TEST_F(SiteFile, AppendWritesOnlyRegularFilesAndNumbersWhereTheRecordLanded)
{
    int n = 7;
    ASSERT_EQ(::mkfifo("fifo", 0600), 0);
    for (const char* target : {"fifo", "/dev/null", "/dev/zero"}) {
        fs::remove(kFileName);
        fs::create_symlink(target, kFileName);
        EXPECT_EQ(appendRecord(kMitakaRecord, n), Status::CannotOpen) << target;
        EXPECT_EQ(overwriteRecord(kMitakaRecord, 0), Status::CannotOpen) << target;
    }
    EXPECT_EQ(n, 7);

    fs::remove(kFileName);
    writeBytes(kFileName, kMitakaRecord + "abc");
    struct rlimit old;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit small = old;
    small.rlim_cur = 80;  // room for the completed line, not the record
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const Status failed = appendRecord(kMitakaRecord, n);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(failed, Status::WriteFailed);
    EXPECT_EQ(readBytes(kFileName), kMitakaRecord + "abc");
    EXPECT_EQ(n, 7);

    writeBytes(kFileName, kMitakaRecord);
    detail::beforeAppendWrite = [](const std::string& path) {
        std::ofstream(path, std::ios::binary | std::ios::app) << makeRecord("other", 1, 2, 3, 0);
    };
    const Status raced = appendRecord(kMitakaRecord, n);
    detail::beforeAppendWrite = nullptr;
    EXPECT_EQ(raced, Status::Ok);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(readBytes(kFileName), kMitakaRecord + makeRecord("other", 1, 2, 3, 0) + kMitakaRecord);
}

// Both writers wait for another program's lock about kLockWaitMs, then
// write nothing.
TEST_F(SiteFile, AHeldLockDelaysAWriteOnlyBrieflyAndItThenWritesNothing)
{
    writeBytes(kFileName, kThreeRecords);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {  // holds the lock for 30 s
        const int fd = ::open(kFileName, O_RDONLY);
        ::flock(fd, LOCK_EX);
        (void)!::write(ready[1], "x", 1);
        ::sleep(30);
        ::_exit(0);
    }
    char c;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    int n = 7;
    for (bool append : {true, false}) {
        const auto start = std::chrono::steady_clock::now();
        const Status status = append ? appendRecord(kMitakaRecord, n) : overwriteRecord(kMitakaRecord, 1);
        const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_EQ(status, Status::Busy) << append;
        EXPECT_GE(waited, kLockWaitMs / 1000.0 * 0.9) << append;
        EXPECT_LT(waited, kLockWaitMs / 1000.0 + 1.0) << append;
    }
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_EQ(readBytes(kFileName), kThreeRecords);
    EXPECT_EQ(n, 7);
    EXPECT_EQ(appendRecord(kMitakaRecord, n), Status::Ok);  // free again
}

// With the listing's file given, only that file is written: a swapped or
// removed file, or one made in place of none, is refused; a file is made
// only where nothing is, never through a link.
TEST_F(SiteFile, WritesGoToTheListedFileOnly)
{
    writeBytes(kFileName, kThreeRecords);
    writeBytes("other.txt", kThreeRecords);
    FileId listed;
    NameList names;
    ASSERT_TRUE(listNames(names, kFileName, &listed));
    ASSERT_EQ(listed.state, FileId::Present);
    int n = 7;
    fs::remove(kFileName);
    fs::create_symlink("other.txt", kFileName);
    EXPECT_EQ(appendRecord(kMitakaRecord, n, kFileName, &listed), Status::Replaced);
    EXPECT_EQ(overwriteRecord(kMitakaRecord, 0, kFileName, &listed), Status::Replaced);
    fs::remove(kFileName);
    EXPECT_EQ(appendRecord(kMitakaRecord, n, kFileName, &listed), Status::Replaced);
    EXPECT_FALSE(fs::exists(kFileName));
    EXPECT_EQ(readBytes("other.txt"), kThreeRecords);

    // A dangling link: its target is never made, listed or not; nor is a
    // file made where the listing found nothing and a link is now.
    fs::create_symlink("made.txt", kFileName);
    EXPECT_FALSE(listNames(names, kFileName, &listed));
    EXPECT_EQ(listed.state, FileId::Unknown);
    EXPECT_EQ(appendRecord(kMitakaRecord, n, kFileName, &listed), Status::CannotOpen);
    EXPECT_EQ(appendRecord(kMitakaRecord, n), Status::CannotOpen);
    listed.state = FileId::Absent;
    EXPECT_EQ(appendRecord(kMitakaRecord, n, kFileName, &listed), Status::Replaced);
    EXPECT_FALSE(fs::exists("made.txt"));
    EXPECT_EQ(n, 7);

    // Nothing listed, nothing there: a new file, which is the listed one then.
    fs::remove(kFileName);
    EXPECT_FALSE(listNames(names, kFileName, &listed));
    EXPECT_EQ(listed.state, FileId::Absent);
    EXPECT_EQ(appendRecord(kMitakaRecord, n, kFileName, &listed), Status::Ok);
    EXPECT_EQ(listed.state, FileId::Present);
    EXPECT_EQ(appendRecord(kMitakaRecord, n, kFileName, &listed), Status::Ok);
    EXPECT_EQ(overwriteRecord(kThreeRecords.substr(50, 50), 0, kFileName, &listed), Status::Ok);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(readBytes(kFileName), kThreeRecords.substr(50, 50) + kMitakaRecord);
}

// ---------------------------------------------------------------------------
// Readers

TEST_F(SiteFile, NameListShowsTheStoredFieldsOfCompleteLines)
{
    std::vector<std::string> names{"stale"};
    EXPECT_FALSE(listNames(names));  // no file
    EXPECT_TRUE(names.empty());

    writeBytes(kFileName, kThreeRecords + "abc\r\n" + "no line end");
    ASSERT_TRUE(listNames(names));
    EXPECT_EQ(names, (std::vector<std::string>{kMitaka + std::string(12, ' '), kTou + kKyou + std::string(12, ' '),
                                               "two words       ", "abc"}));
    // Read in pieces: a name across a piece boundary stays whole.
    writeBytes(kFileName, std::string(65530, '\n') + "abcdefghijklmnopqr\n");
    ASSERT_TRUE(listNames(names));
    ASSERT_EQ(names.size(), 65531u);
    EXPECT_EQ(names.back(), "abcdefghijklmnop");

    // A file of line feeds only: the list stops at its bound, and says so.
    writeBytes(kFileName, std::string(kMaxListedLines + 3, '\n'));
    NameList list;
    bool truncated = false;
    ASSERT_TRUE(listNames(list, kFileName, nullptr, &truncated));
    EXPECT_TRUE(truncated);
    EXPECT_EQ(list.size(), kMaxListedLines);
    writeBytes(kFileName, std::string(kMaxListedLines, '\n'));
    ASSERT_TRUE(listNames(list, kFileName, nullptr, &truncated));
    EXPECT_FALSE(truncated);
    EXPECT_EQ(list.size(), kMaxListedLines);
}

TEST_F(SiteFile, ReadSiteTakesTheFirstWordAndTheNumbersOfOneRecord)
{
    // Record 3 has a blank name and ends after its latitude; a scan of the
    // open file would go on into record 4.
    writeBytes(kFileName, kThreeRecords + std::string(16, ' ') + "  35.67," + std::string(24, ' ') + "\r\n" +
                              makeRecord("77", 1, 2, 3, 1));
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
    EXPECT_DOUBLE_EQ(r.latitude, 35.67);
    EXPECT_EQ(r.longitude, 0.0);
    EXPECT_EQ(r.summerTime, 0);

    // Failures leave the result alone.
    r.latitude = 12.5;
    EXPECT_EQ(readSite(5, r), Status::NoRecord);
    EXPECT_EQ(readSite(-1, r), Status::NoRecord);
    fs::remove(kFileName);
    EXPECT_EQ(readSite(0, r), Status::CannotOpen);
    fs::create_directory(kFileName);
    EXPECT_EQ(readSite(0, r), Status::CannotOpen);
    EXPECT_EQ(r.name, "");
    EXPECT_EQ(r.latitude, 12.5);
}

// ---------------------------------------------------------------------------
// Start-up load

TEST_F(SiteFile, LoadPutsTheIndexInRangeOrFallsBackToTheDefaultSite)
{
    struct Case {
        std::optional<std::string> file;  // none: no file at all
        int index;
        LoadResult rc;
        int loaded;  // loaded: the index afterwards
        std::string name;
        double lat, lon, tz;
        int flag;
    };
    const Case cases[] = {
        {std::nullopt, 3, LoadResult::NoFile, 0, kMitaka, 35.67, 139.5, 9, 0},
        // one past the last complete record: that record; the name as stored
        {kThreeRecords + "partial last line", 3, LoadResult::Loaded, 2, "two words       ", -35.67, -70.5, -4, 0},
        {kThreeRecords, -5, LoadResult::Loaded, 0, kMitaka + std::string(12, ' '), 35.67, 139.5, 9, 0},
        {kThreeRecords, 1, LoadResult::Loaded, 1, kTou + kKyou + std::string(12, ' '), 35.69, 139.69, 9, 1},
        // no complete record: the default site, both indexes 0
        {kMitakaRecord.substr(0, 49), 3, LoadResult::NoRecord, 0, kMitaka, 35.67, 139.5, 9, 0},
        {"", 3, LoadResult::NoRecord, 0, kMitaka, 35.67, 139.5, 9, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.value_or("(no file)"));
        fs::remove(kFileName);
        if (c.file)
            writeBytes(kFileName, *c.file);
        TcMainState s;
        setSiteName(s, "stale");
        s.siteLatitude = s.siteLongitude = s.siteTimeZone = 1;
        s.siteSummerTime = 7;
        s.defaultSiteIndex = s.currentSiteIndex = c.index;
        EXPECT_EQ(loadSite(s), c.rc);
        EXPECT_EQ(s.currentSiteIndex, c.loaded);
        if (c.rc != LoadResult::NoFile) {
            EXPECT_EQ(s.defaultSiteIndex, c.loaded);
        }
        EXPECT_EQ(s.siteNameText, c.name);
        EXPECT_EQ(std::string(s.siteName), c.name);
        EXPECT_DOUBLE_EQ(s.siteLatitude, c.lat);
        EXPECT_DOUBLE_EQ(s.siteLongitude, c.lon);
        EXPECT_DOUBLE_EQ(s.siteTimeZone, c.tz);
        EXPECT_EQ(s.siteSummerTime, c.flag);
    }
    fs::remove(kFileName);
    fs::create_directory(kFileName);
    TcMainState s;
    EXPECT_EQ(loadSite(s), LoadResult::NoFile);
}

// ---------------------------------------------------------------------------
// The sample file shipped with the program

TEST(SampleFile, IsWhatTheRecordWriterProduces)
{
    const std::string path = std::string(LUNVELDE_SOURCE_DIR) + "/resources/obspoint.txt";
    const std::string bytes = readBytes(path);
    ASSERT_EQ(bytes.size() % 50, 0u);
    const int count = static_cast<int>(bytes.size() / 50);
    EXPECT_GE(count, 15);
    EXPECT_EQ(bytes.substr(0, 50), kMitakaRecord);
    for (int n = 0; n < count; ++n) {
        SiteRecord r;
        ASSERT_EQ(readSite(n, r, path), Status::Ok);
        // Rewriting the record from what was read gives the same bytes: the
        // name is whole (at most 14 bytes) and every number has its width.
        EXPECT_EQ(makeRecord(r.name, r.latitude, r.longitude, r.timeZone, r.summerTime), bytes.substr(n * 50, 50))
            << "record " << n;
    }
    // The prefectural offices follow the first 21 records, which keep their
    // numbers: 20 is still Wellington, 21 Hokkaido's office, 67 Okinawa's.
    ASSERT_EQ(count, 68);
    SiteRecord r;
    ASSERT_EQ(readSite(20, r, path), Status::Ok);
    EXPECT_DOUBLE_EQ(r.longitude, 174.78);
    ASSERT_EQ(readSite(21, r, path), Status::Ok);
    EXPECT_EQ(r.name, "\x96\x6b\x8a\x43\x93\xb9\x92\xa1");  // 北海道庁
    EXPECT_DOUBLE_EQ(r.latitude, 43.06);
    ASSERT_EQ(readSite(67, r, path), Status::Ok);
    EXPECT_DOUBLE_EQ(r.latitude, 26.21);
    EXPECT_DOUBLE_EQ(r.longitude, 127.68);
}

// A write that fails part way while another program appends: the other
// program's record stays, and with it the part of ours before it (taking
// ours back would cut theirs off).
namespace {
int otherProgram = -1;
rlimit roomy;
extern "C" void appendMeanwhile(int)
{
    ::setrlimit(RLIMIT_FSIZE, &roomy);
    const std::string other = makeRecord("other", 1, 2, 3, 0);
    [[maybe_unused]] const auto n = ::write(otherProgram, other.data(), other.size());
}
}  // namespace

TEST_F(SiteFile, FailedAppendKeepsWhatAnotherProgramAppendedMeanwhile)
{
    int n = 7;
    writeBytes(kFileName, kMitakaRecord + "abc");
    otherProgram = ::open(kFileName, O_WRONLY | O_APPEND);
    ASSERT_GE(otherProgram, 0);
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &roomy), 0);
    rlimit small = roomy;
    small.rlim_cur = 80;  // our write stops there; the signal lets the other program in
    const auto oldHandler = std::signal(SIGXFSZ, appendMeanwhile);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const Status failed = appendRecord(kMitakaRecord, n);
    ::setrlimit(RLIMIT_FSIZE, &roomy);
    std::signal(SIGXFSZ, oldHandler);
    ::close(otherProgram);
    EXPECT_EQ(failed, Status::WriteFailed);
    const std::string bytes = readBytes(kFileName);
    ASSERT_EQ(bytes.size(), 80u + 50u);
    EXPECT_EQ(bytes.substr(0, 53), kMitakaRecord + "abc");
    EXPECT_EQ(bytes.substr(80), makeRecord("other", 1, 2, 3, 0));
    EXPECT_EQ(n, 7);
}
