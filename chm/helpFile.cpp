#include "chm/helpFile.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/process.h"
#include "platform/regularFile.h"

namespace helpfile {

namespace {

// Names of the objects that hold the compressed section and its settings.
const char* const kContent = "::DataSpace/Storage/MSCompressed/Content";
const char* const kControl = "::DataSpace/Storage/MSCompressed/ControlData";
const char* const kResetTable =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";

constexpr std::uint64_t kItspLength = 0x54;
constexpr std::uint64_t kLzxFrame = 0x8000;          // bytes a reset table entry covers
constexpr std::uint32_t kMaxChunk = 0x10000;         // directory chunk size
constexpr std::size_t kMaxStream = std::size_t(256) << 20;

bool u32At(const std::string& b, std::uint64_t at, std::uint32_t& v)
{
    if (at > b.size() || b.size() - at < 4)
        return false;
    const auto* p = reinterpret_cast<const unsigned char*>(b.data() + at);
    v = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
    return true;
}

bool u64At(const std::string& b, std::uint64_t at, std::uint64_t& v)
{
    std::uint32_t lo = 0, hi = 0;
    if (!u32At(b, at, lo) || !u32At(b, at + 4, hi))
        return false;
    v = std::uint64_t(hi) << 32 | lo;
    return true;
}

// The variable-length numbers of the directory: 7 bits a byte, high bit set
// on every byte but the last.
bool encint(const unsigned char*& p, const unsigned char* end, std::uint64_t& v)
{
    v = 0;
    for (int i = 0; i < 9; ++i) {
        if (p >= end)
            return false;
        const unsigned char c = *p++;
        v = v << 7 | (c & 0x7F);
        if (!(c & 0x80))
            return v < (std::uint64_t(1) << 62);
    }
    return false;
}

struct Entry {
    std::uint64_t section = 0, offset = 0, length = 0;
};

// An offset and length that lie inside a span of the given size.
bool inside(std::uint64_t offset, std::uint64_t length, std::uint64_t size)
{
    return offset <= size && length <= size - offset;
}

struct Directory {
    std::uint32_t chunkSize = 0, chunks = 0;
    std::uint64_t first = 0;  // offset of chunk 0
    std::vector<char> kind;   // 'L' listing, 'I' index
    std::vector<std::int64_t> next;
    std::vector<std::vector<std::uint32_t>> children;
    std::map<std::string, Entry> entries;
};

bool readChunk(const std::string& b, Directory& d, std::uint32_t i)
{
    const std::uint64_t at = d.first + std::uint64_t(i) * d.chunkSize;
    std::uint32_t freeSpace = 0;
    if (!u32At(b, at + 4, freeSpace))
        return false;
    const auto* base = reinterpret_cast<const unsigned char*>(b.data() + at);
    if (b.compare(at, 4, "PMGL") == 0) {
        std::uint32_t prev = 0, next = 0;
        if (freeSpace > d.chunkSize - 0x14 || !u32At(b, at + 12, prev) || !u32At(b, at + 16, next))
            return false;
        const auto valid = [&](std::uint32_t n) { return n == 0xFFFFFFFFu || n < d.chunks; };
        if (!valid(prev) || !valid(next))
            return false;
        d.kind[i] = 'L';
        d.next[i] = next == 0xFFFFFFFFu ? -1 : std::int64_t(next);
        const unsigned char* p = base + 0x14;
        const unsigned char* end = base + (d.chunkSize - freeSpace);
        while (p < end) {
            std::uint64_t nameLength = 0;
            Entry e;
            if (!encint(p, end, nameLength) || nameLength > std::uint64_t(end - p))
                return false;
            std::string name(reinterpret_cast<const char*>(p), nameLength);
            p += nameLength;
            if (!encint(p, end, e.section) || !encint(p, end, e.offset) || !encint(p, end, e.length) ||
                e.section > 1)
                return false;
            d.entries[name] = e;
        }
        return true;
    }
    if (b.compare(at, 4, "PMGI") == 0) {
        if (freeSpace > d.chunkSize - 8)
            return false;
        d.kind[i] = 'I';
        const unsigned char* p = base + 8;
        const unsigned char* end = base + (d.chunkSize - freeSpace);
        while (p < end) {
            std::uint64_t nameLength = 0, block = 0;
            if (!encint(p, end, nameLength) || nameLength > std::uint64_t(end - p))
                return false;
            p += nameLength;
            if (!encint(p, end, block) || block >= d.chunks)
                return false;
            d.children[i].push_back(std::uint32_t(block));
        }
        return true;
    }
    return false;
}

// The index chunks lead down to listing chunks without a loop; the listing
// chunks form one chain without a loop.
bool walkIndex(const Directory& d, std::uint32_t chunk, std::vector<char>& state, int depth)
{
    if (state[chunk] == 2)
        return true;
    if (state[chunk] == 1 || depth > 64)
        return false;
    state[chunk] = 1;
    for (std::uint32_t c : d.children[chunk])
        if (!walkIndex(d, c, state, depth + 1))
            return false;
    state[chunk] = 2;
    return true;
}

bool checkCompression(const std::string& b, std::uint64_t dataOffset, const Directory& d)
{
    bool compressed = false;
    for (const auto& [name, e] : d.entries)
        compressed = compressed || (e.section == 1 && e.length > 0);
    const auto content = d.entries.find(kContent);
    const auto control = d.entries.find(kControl);
    const auto reset = d.entries.find(kResetTable);
    if (content == d.entries.end() || control == d.entries.end() || reset == d.entries.end())
        return !compressed;
    if (content->second.section != 0 || control->second.section != 0 || reset->second.section != 0)
        return false;

    // The compression settings: window size, reset interval and windows per
    // reset, in units of 32 KB from version 2 on.
    const std::uint64_t c = dataOffset + control->second.offset;
    std::uint32_t version = 0, interval = 0, window = 0, perReset = 0;
    if (control->second.length < 24 || b.compare(c + 4, 4, "LZXC") != 0 || !u32At(b, c + 8, version) ||
        !u32At(b, c + 12, interval) || !u32At(b, c + 16, window) || !u32At(b, c + 20, perReset))
        return false;
    std::uint64_t windowSize = window, resetInterval = interval;
    if (version == 2) {
        windowSize *= kLzxFrame;
        resetInterval *= kLzxFrame;
    } else if (version != 1) {
        return false;
    }
    if (windowSize < (1u << 15) || windowSize > (1u << 21) || (windowSize & (windowSize - 1)) != 0)
        return false;
    if (resetInterval == 0 || resetInterval % (windowSize / 2) != 0 || perReset == 0)
        return false;
    const std::uint64_t blocksPerReset = resetInterval / (windowSize / 2) * perReset;
    if (blocksPerReset == 0 || blocksPerReset > 0x10000)
        return false;

    // The reset table: where each 32 KB frame starts in the compressed data.
    const std::uint64_t r = dataOffset + reset->second.offset;
    std::uint32_t tableVersion = 0, blocks = 0, entrySize = 0, tableOffset = 0;
    std::uint64_t uncompressed = 0, compressedLength = 0, blockLength = 0;
    if (reset->second.length < 0x28 || !u32At(b, r, tableVersion) || !u32At(b, r + 4, blocks) ||
        !u32At(b, r + 8, entrySize) || !u32At(b, r + 12, tableOffset) || !u64At(b, r + 16, uncompressed) ||
        !u64At(b, r + 24, compressedLength) || !u64At(b, r + 32, blockLength))
        return false;
    if (tableVersion != 2 || entrySize != 8 || blockLength != kLzxFrame || tableOffset < 0x28 ||
        !inside(tableOffset, std::uint64_t(blocks) * 8, reset->second.length))
        return false;
    if (uncompressed > (std::uint64_t(1) << 40) || blocks < (uncompressed + kLzxFrame - 1) / kLzxFrame ||
        blocks > (uncompressed + kLzxFrame - 1) / kLzxFrame + 1 ||
        compressedLength > content->second.length)
        return false;
    std::uint64_t previous = 0;
    for (std::uint32_t i = 0; i < blocks; ++i) {
        std::uint64_t start = 0;
        if (!u64At(b, r + tableOffset + std::uint64_t(i) * 8, start) || start < previous ||
            start > compressedLength || (i == 0 && start != 0))
            return false;
        previous = start;
    }
    for (const auto& [name, e] : d.entries)
        if (e.section == 1 && !inside(e.offset, e.length, uncompressed))
            return false;
    return true;
}

}  // namespace

bool checkContainer(const std::string& b)
{
    std::uint32_t version = 0, headerLength = 0;
    std::uint64_t dirOffset = 0, dirLength = 0, dataOffset = 0;
    if (b.size() < 0x60 || b.compare(0, 4, "ITSF") != 0 || !u32At(b, 4, version) || !u32At(b, 8, headerLength) ||
        !u64At(b, 72, dirOffset) || !u64At(b, 80, dirLength))
        return false;
    if (version == 3 && headerLength == 0x60) {
        if (!u64At(b, 88, dataOffset))
            return false;
    } else if (version == 2 && headerLength == 0x58) {
        dataOffset = dirOffset + dirLength;
    } else {
        return false;
    }
    if (!inside(dirOffset, dirLength, b.size()) || dirLength < kItspLength || dataOffset > b.size())
        return false;

    std::uint32_t itspVersion = 0, itspLength = 0, root = 0, head = 0;
    Directory d;
    if (b.compare(dirOffset, 4, "ITSP") != 0 || !u32At(b, dirOffset + 4, itspVersion) ||
        !u32At(b, dirOffset + 8, itspLength) || !u32At(b, dirOffset + 16, d.chunkSize) ||
        !u32At(b, dirOffset + 28, root) || !u32At(b, dirOffset + 32, head) || !u32At(b, dirOffset + 44, d.chunks))
        return false;
    if (itspVersion != 1 || itspLength != kItspLength || d.chunkSize < 0x40 || d.chunkSize > kMaxChunk ||
        d.chunks == 0 || std::uint64_t(d.chunks) * d.chunkSize > dirLength - kItspLength || head >= d.chunks ||
        (root != 0xFFFFFFFFu && root >= d.chunks))
        return false;
    d.first = dirOffset + kItspLength;
    d.kind.assign(d.chunks, 0);
    d.next.assign(d.chunks, -1);
    d.children.resize(d.chunks);
    for (std::uint32_t i = 0; i < d.chunks; ++i)
        if (!readChunk(b, d, i))
            return false;

    // Enumeration follows the listing chain from its head.
    std::vector<char> seen(d.chunks, 0);
    for (std::int64_t i = head; i != -1; i = d.next[std::size_t(i)]) {
        if (d.kind[std::size_t(i)] != 'L' || seen[std::size_t(i)])
            return false;
        seen[std::size_t(i)] = 1;
    }
    // A look-up descends from the root index chunk.
    std::vector<char> state(d.chunks, 0);
    if (!walkIndex(d, root == 0xFFFFFFFFu ? head : root, state, 0))
        return false;

    for (const auto& [name, e] : d.entries)
        if (e.section == 0 && !inside(dataOffset + e.offset, e.length, b.size()))
            return false;
    return checkCompression(b, dataOffset, d);
}

bool decodeObjects(const std::string& s, Objects& out)
{
    Objects objects;
    std::uint64_t at = 0;
    while (at < s.size()) {
        std::uint32_t nameLength = 0;
        std::uint64_t length = 0;
        if (!u32At(s, at, nameLength) || !inside(at + 4, nameLength, s.size()))
            return false;
        std::string name = s.substr(at + 4, nameLength);
        at += 4 + std::uint64_t(nameLength);
        if (!u64At(s, at, length) || !inside(at + 8, length, s.size()))
            return false;
        objects[std::move(name)] = s.substr(at + 8, length);
        at += 8 + length;
    }
    out = std::move(objects);
    return true;
}

std::string encodeObject(const std::string& name, const std::string& data)
{
    std::string out;
    out.reserve(12 + name.size() + data.size());
    const std::uint32_t nameLength = static_cast<std::uint32_t>(name.size());
    const std::uint64_t length = data.size();
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>(nameLength >> (8 * i));
    out += name;
    for (int i = 0; i < 8; ++i)
        out += static_cast<char>(length >> (8 * i));
    return out + data;
}

std::string readerPath()
{
    static const char* const kName = "lunvelde-help-reader";
    if (const char* set = std::getenv("LUNVELDE_HELP_READER"); set && *set)
        return set;
    const std::string dir = proc::programDirectory();
    if (dir.empty())
        return {};
    const std::string beside = dir + '/' + kName;
    if (proc::isExecutable(beside))
        return beside;
    return dir + '/' + LUNVELDE_HELP_READER_DIR + '/' + kName;
}

Result load(const std::string& reader, const std::string& path, Objects& out, const std::atomic<bool>* cancel)
{
    struct stat st;
    fileio::Fd fd(fileio::openRegular(path, fileio::Access::Read, &st));
    if (!fd.ok())
        return Result::Unreadable;
    std::string bytes;
    if (st.st_size < 0 || std::uint64_t(st.st_size) > kMaxFileBytes)
        return Result::TooLarge;
    if (!fileio::readAll(fd.get(), bytes, kMaxFileBytes, kReaderMs, cancel))
        return Result::Unreadable;
    fd.close();
    if (!checkContainer(bytes))
        return Result::Unreadable;

    // The reader gets a private copy of the checked bytes.
    const proc::Outcome run = proc::run(reader, {}, bytes, kMaxStream, kReaderMs, cancel);
    const bool finished = run.outputWhole && run.exited && run.status == 0;
    return finished && decodeObjects(run.output, out) ? Result::Ok : Result::Unreadable;
}

}  // namespace helpfile
