// The help file's container checks on crafted bytes, the reader executable's
// verdict, and the process runner's limits.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "chm/helpFile.h"
#include "platform/process.h"
#include "support.h"

namespace fs = std::filesystem;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

const std::string kChm = LUNVELDE_SOURCE_DIR "/help/lunvelde.chm";
const std::string kReader = LUNVELDE_HELP_READER_EXE;
const std::string kControl = "::DataSpace/Storage/MSCompressed/ControlData";
const std::string kResetTable =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";

// Where the directory entry of name keeps its length (one byte here) and
// where its data starts, for the committed file (format version 3: the data
// offset is at 88).
struct Placed {
    std::size_t lengthAt = 0, dataAt = 0;
};
Placed place(const std::string& b, const std::string& name)
{
    std::size_t p = b.find(name) + name.size() + 1;  // the section is one byte
    std::uint64_t offset = 0;
    while (static_cast<unsigned char>(b[p]) & 0x80)
        offset = offset << 7 | (b[p++] & 0x7F);
    offset = offset << 7 | b[p++];
    std::uint64_t dataOffset = 0;
    for (int i = 7; i >= 0; --i)
        dataOffset = dataOffset << 8 | static_cast<unsigned char>(b[88 + i]);
    return {p, std::size_t(dataOffset + offset)};
}

std::string patched(std::string b, std::size_t at, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b[at + i] = static_cast<char>(value >> (8 * i));
    return b;
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

// Fields the library trusts, each made inconsistent in a copy of the real file.
TEST(HelpContainer, RejectsEachInconsistentField)
{
    const std::string good = readBytes(kChm);
    ASSERT_TRUE(helpfile::checkContainer(good));
    const Placed control = place(good, kControl);
    const Placed reset = place(good, kResetTable);
    ASSERT_EQ(good[control.lengthAt], 28);
    ASSERT_EQ(good.compare(control.dataAt + 4, 4, "LZXC"), 0);
    ASSERT_EQ(good[reset.dataAt + 32 + 1], '\x80');  // 32 KB frames

    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"control data shorter than its last field", patched(good, control.lengthAt, 20, 1)},
        {"reset table shorter than its header", patched(good, reset.lengthAt, 0x24, 1)},
        {"reset table block length 0", patched(good, reset.dataAt + 32, 0, 8)},
        {"reset table block length 64 KB", patched(good, reset.dataAt + 32, 0x10000, 8)},
        {"cut inside the header", good.substr(0, 0x5F)},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(helpfile::checkContainer(c.bytes)) << c.what;
}

// The reader's verdict counts, not only its output: a whole, valid stream
// from a reader that then fails is not taken.
TEST(HelpReader, OkOnlyWhenTheReaderEndsWell)
{
    testsupport::TempDir dir;
    ASSERT_TRUE(dir.ok());
    const std::string failing = dir.file("failing-reader");
    writeBytes(failing, "#!/bin/sh\n'" + kReader + "'\nexit 3\n");
    fs::permissions(failing, fs::perms::owner_all);

    helpfile::Objects objects;
    ASSERT_EQ(helpfile::load(kReader, kChm, objects), helpfile::Result::Ok);
    EXPECT_TRUE(objects.count("/#SYSTEM") && objects.count("/index.html"));
    helpfile::Objects none;
    EXPECT_EQ(helpfile::load(failing, kChm, none), helpfile::Result::Unreadable);
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(helpfile::load(dir.file("no-such-reader"), kChm, none), helpfile::Result::Unreadable);
}

// A file up to the limit is read; one byte more is too large, not broken,
// and is not read at all.
TEST(HelpReader, TooLargeAboveTheLimitOnly)
{
    testsupport::TempDir dir;
    ASSERT_TRUE(dir.ok());
    const std::string padded = dir.file("padded.chm");
    writeBytes(padded, readBytes(kChm));
    fs::resize_file(padded, helpfile::kMaxFileBytes);  // trailing zeros: still a valid file
    helpfile::Objects objects;
    EXPECT_EQ(helpfile::load(kReader, padded, objects), helpfile::Result::Ok);
    fs::resize_file(padded, helpfile::kMaxFileBytes + 1);
    EXPECT_EQ(helpfile::load(kReader, padded, objects), helpfile::Result::TooLarge);
    EXPECT_EQ(helpfile::load(kReader, dir.file("missing.chm"), objects), helpfile::Result::Unreadable);
}

// A program that outlives its time or is given up is killed at once.
TEST(Process, KilledPastTheTimeLimitOrOnCancel)
{
    auto start = std::chrono::steady_clock::now();
    proc::Outcome late = proc::run("/bin/sleep", {"30"}, "", 1024, 300);
    EXPECT_TRUE(late.started);
    EXPECT_FALSE(late.outputWhole || late.exited);
    EXPECT_LT(secondsSince(start), 3.0);

    std::atomic<bool> cancel {false};
    std::thread user([&cancel] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        cancel = true;
    });
    start = std::chrono::steady_clock::now();
    proc::Outcome given = proc::run("/bin/sleep", {"30"}, "", 1024, 20000, &cancel);
    user.join();
    EXPECT_FALSE(given.outputWhole || given.exited);
    EXPECT_LT(secondsSince(start), 3.0);
}

TEST(Process, InputOutputLimitAndStatus)
{
    const std::string input(100000, 'x');
    const proc::Outcome copied = proc::run("/bin/cat", {}, input, input.size(), 5000);
    EXPECT_TRUE(copied.outputWhole && copied.exited && copied.status == 0);
    EXPECT_EQ(copied.output, input);
    EXPECT_FALSE(proc::run("/bin/cat", {}, input, input.size() - 1, 5000).outputWhole);
    const proc::Outcome failed = proc::run("/bin/sh", {"-c", "exit 3"}, "", 10, 5000);
    EXPECT_TRUE(failed.outputWhole && failed.exited);
    EXPECT_EQ(failed.status, 3);
    EXPECT_FALSE(proc::run("/no/such/program", {}, "", 10, 5000).started);
}
