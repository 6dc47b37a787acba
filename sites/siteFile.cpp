#include "sites/siteFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include <cstring>

#include "platform/regularFile.h"
#include "sites/numParse.h"

namespace sitefile {

namespace {

using fileio::Fd;
using fileio::readAt;
using fileio::writeAll;

// Opens a regular file for reading; directories, devices and pipes count as
// files that cannot be opened (a reader must know the size and reach the end).
bool openForReading(const std::string& path, Fd& fd, off_t& size)
{
    struct stat st;
    fd.reset(fileio::openRegular(path, fileio::Access::Read, &st));
    if (!fd.ok())
        return false;
    size = st.st_size;
    return true;
}

FileId idOf(const struct stat& st)
{
    return FileId {FileId::Present, static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// True when offset is where a line of the file begins: the start of the
// file or just after a line feed.
bool startsLine(int fd, off_t offset)
{
    return offset == 0 || readAt(fd, offset - 1, 1) == "\n";
}

// A record as the writers accept it: 48 bytes of text without line breaks,
// then CR LF.
bool isRecordText(const std::string& r)
{
    if (r.size() != static_cast<std::size_t>(kRecordSize) || r[kTextSize] != '\r' || r[kTextSize + 1] != '\n')
        return false;
    for (int i = 0; i < kTextSize; ++i)
        if (r[static_cast<std::size_t>(i)] == '\r' || r[static_cast<std::size_t>(i)] == '\n')
            return false;
    return true;
}

// One "%lf" of scanf: leading white space, then a floating-point number.
bool scanDouble(const char*& p, double& value)
{
    while (isSpace(*p))
        ++p;
    char* end = nullptr;
    const double v = strtodC(p, &end);
    if (end == p)
        return false;
    p = end;
    value = std::isfinite(v) ? v : 0.0;
    return true;
}

// One "%d" of scanf; a number outside the int range gives 0.
bool scanInt(const char*& p, int& value)
{
    while (isSpace(*p))
        ++p;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(p, &end, 10);
    if (end == p)
        return false;
    const bool overflow = errno == ERANGE || v < INT_MIN || v > INT_MAX;
    p = end;
    value = overflow ? 0 : static_cast<int>(v);
    return true;
}

bool scanComma(const char*& p)
{
    if (*p != ',')
        return false;
    ++p;
    return true;
}

// The name as loadSite takes it: the 16 bytes as stored, ended early only by
// a NUL or a line break (of a hand-edited short line).
std::string storedName(const std::string& record)
{
    std::string name = record.substr(0, kNameField);
    const std::size_t stop = name.find_first_of(std::string("\0\r\n", 3));
    if (stop != std::string::npos)
        name.resize(stop);
    return name;
}

// The name as "%16s" takes it, kept inside the name field: the first
// blank-delimited word (empty for a blank field).
std::string nameWord(const std::string& record)
{
    std::string field = record.substr(0, kNameField);
    const std::size_t nul = field.find('\0');
    if (nul != std::string::npos)
        field.resize(nul);
    std::size_t i = 0;
    while (i < field.size() && isSpace(field[i]))
        ++i;
    std::size_t j = i;
    while (j < field.size() && !isSpace(field[j]))
        ++j;
    return field.substr(i, j - i);
}

}  // namespace

void scanNumbers(const std::string& recordBytes, SiteRecord& out)
{
    out.latitude = out.longitude = out.timeZone = 0.0;
    out.summerTime = 0;
    if (recordBytes.size() <= static_cast<std::size_t>(kNumbersOffset))
        return;
    // A copy ends the scan at the end of the record: nothing is taken from
    // the next line. An embedded NUL ends it earlier, as it would for scanf.
    const std::string rest = recordBytes.substr(kNumbersOffset);
    const char* p = rest.c_str();
    int reserved = 0;
    if (!scanDouble(p, out.latitude) || !scanComma(p))
        return;
    if (!scanDouble(p, out.longitude) || !scanComma(p))
        return;
    if (!scanDouble(p, out.timeZone) || !scanComma(p))
        return;
    if (!scanInt(p, reserved) || !scanComma(p))
        return;
    scanInt(p, out.summerTime);
}

LoadResult loadSite(TcMainState& cMain, const std::string& path)
{
    Fd fd(-1);
    off_t size = 0;
    if (!openForReading(path, fd, size)) {
        putDefaultSite(cMain);
        return LoadResult::NoFile;
    }
    const off_t records = size / kRecordSize;
    int index = cMain.defaultSiteIndex;
    if (index < 0)
        index = 0;
    if (records > 0 && index > records - 1)
        index = static_cast<int>(records - 1);

    std::string record;
    if (records > 0)
        record = readAt(fd.get(), static_cast<off_t>(index) * kRecordSize, kRecordSize);
    fd.close();
    if (record.empty()) {
        // No complete record: the built-in site, record numbers from 0.
        putDefaultSite(cMain);
        cMain.defaultSiteIndex = 0;
        cMain.currentSiteIndex = 0;
        return LoadResult::NoRecord;
    }

    SiteRecord r;
    scanNumbers(record, r);
    setSiteName(cMain, storedName(record));
    cMain.siteLatitude = r.latitude;
    cMain.siteLongitude = r.longitude;
    cMain.siteTimeZone = r.timeZone;
    cMain.siteSummerTime = r.summerTime;
    cMain.defaultSiteIndex = index;
    cMain.currentSiteIndex = index;
    return LoadResult::Loaded;
}

void NameList::push(const std::string& name)
{
    bytes_ += name;
    ends_.push_back(static_cast<std::uint32_t>(bytes_.size()));
}

std::string NameList::at(std::size_t i) const
{
    const std::uint32_t begin = i == 0 ? 0 : ends_[i - 1];
    return bytes_.substr(begin, ends_[i] - begin);
}

void NameList::clear()
{
    bytes_.clear();
    bytes_.shrink_to_fit();
    ends_.clear();
    ends_.shrink_to_fit();
}

bool listNames(NameList& names, const std::string& path, FileId* listed, bool* truncated)
{
    names.clear();
    if (truncated)
        *truncated = false;
    if (listed)
        *listed = FileId {};
    struct stat st;
    Fd fd(fileio::openRegular(path, fileio::Access::Read, &st));
    if (!fd.ok()) {
        if (listed && fileio::absent(path))
            listed->state = FileId::Absent;
        return false;
    }
    if (listed)
        *listed = idOf(st);
    // The file is read in pieces and only the names are kept: a file of
    // millions of short lines costs a few bytes a line.
    std::string name;     // the current line's name so far
    bool ended = false;   // the name met its end (16 bytes, a NUL or a CR)
    std::vector<char> buf(1 << 16);
    for (;;) {
        const long n = fileio::readSome(fd.get(), buf.data(), buf.size());
        if (n <= 0)
            break;
        const char* p = buf.data();
        const char* const end = p + n;
        while (p < end) {
            const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            const char* stop = nl ? nl : end;
            if (!ended) {
                const std::size_t take =
                    std::min<std::size_t>(static_cast<std::size_t>(stop - p), kNameField - name.size());
                for (std::size_t i = 0; i < take && !ended; ++i) {
                    if (p[i] == '\0' || p[i] == '\r')
                        ended = true;
                    else
                        name += p[i];
                }
                if (name.size() >= static_cast<std::size_t>(kNameField))
                    ended = true;
            }
            if (!nl)
                break;  // a final line without a line end is not listed
            // A bounded list: record numbers are ints, the names' bytes are
            // counted in 32 bits, and memory is not unlimited.
            if (names.size() >= kMaxListedLines) {
                if (truncated)
                    *truncated = true;
                return true;
            }
            names.push(name);
            name.clear();
            ended = false;
            p = nl + 1;
        }
    }
    return true;
}

bool listNames(std::vector<std::string>& names, const std::string& path)
{
    NameList list;
    const bool ok = listNames(list, path);
    names.clear();
    for (std::size_t i = 0; i < list.size(); ++i)
        names.push_back(list.at(i));
    return ok;
}

Status readSite(int n, SiteRecord& out, const std::string& path)
{
    Fd fd(-1);
    off_t size = 0;
    if (!openForReading(path, fd, size))
        return Status::CannotOpen;
    if (n < 0 || static_cast<off_t>(n) * kRecordSize >= size)
        return Status::NoRecord;
    const std::string record = readAt(fd.get(), static_cast<off_t>(n) * kRecordSize, kRecordSize);
    fd.close();
    if (record.empty())
        return Status::NoRecord;
    SiteRecord r;
    scanNumbers(record, r);
    r.name = nameWord(record);
    out = r;
    return Status::Ok;
}

std::string nameAsStored(const std::string& nameSjis)
{
    std::string name = nameSjis;
    for (char& c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F)
            c = ' ';
    }
    return withoutTrailingBlanks(sjisCut(name, kNameBytes));
}

std::string makeRecord(const std::string& nameSjis, double latitude, double longitude,
                       double timeZone, int summerTime)
{
    const std::string cut = nameAsStored(nameSjis);
    std::string text = formatC("%-16s%7.2lf,%7.2lf,%6.2lf, 0000,%2d,\n", cut.c_str(), latitude, longitude,
                               timeZone, summerTime != 0 ? 1 : 0);
    // The line feed goes to disk as CR LF.
    text.insert(text.size() - 1, 1, '\r');
    return text;
}

namespace detail {
void (*beforeAppendWrite)(const std::string& path) = nullptr;
}

namespace {

// Opens the file a write goes to and takes its lock: the listed file (or a
// new one when none was listed), waiting a bounded time for another holder
// of the lock. Ok, or why nothing may be written.
Status openForWriting(const std::string& path, fileio::Access access, FileId* listed, Fd& fd)
{
    // With a listed file, an append goes to that file only (never one made
    // in its place), or makes the file where the listing found nothing.
    if (listed && listed->state == FileId::Unknown)
        listed = nullptr;
    const bool create = listed && listed->state == FileId::Absent && access == fileio::Access::AppendNew;
    if (listed && listed->state == FileId::Present && access == fileio::Access::AppendNew)
        access = fileio::Access::Append;
    struct stat st;
    fd.reset(fileio::openRegular(path, create ? fileio::Access::CreateNew : access, &st));
    if (!fd.ok())
        return (create && errno == EEXIST) || (listed && listed->state == FileId::Present && errno == ENOENT)
                   ? Status::Replaced
                   : Status::CannotOpen;
    if (create)
        *listed = idOf(st);
    else if (listed && (listed->state != FileId::Present || static_cast<std::uint64_t>(st.st_dev) != listed->device ||
                        static_cast<std::uint64_t>(st.st_ino) != listed->inode))
        return Status::Replaced;
    // Another program that locks the file waits until the record is in; one
    // that holds the lock too long gets nothing written.
    if (!fileio::lockExclusive(fd.get(), kLockWaitMs))
        return errno == EWOULDBLOCK ? Status::Busy : Status::CannotOpen;
    return Status::Ok;
}

}  // namespace

Status appendRecord(const std::string& record, int& recordNumber, const std::string& path, FileId* listed)
{
    if (!isRecordText(record))
        return Status::BadRecord;
    Fd fd(-1);
    const Status opened = openForWriting(path, fileio::Access::AppendNew, listed, fd);
    if (opened != Status::Ok)
        return opened;
    const off_t size = fileio::sizeOf(fd.get());
    if (size < 0)
        return Status::CannotOpen;

    // The new record must start at a record boundary that is also the start
    // of a line, or its number would not address it. A last line without a
    // line end that starts at a boundary (typed by hand) is kept and
    // completed with blanks and CR LF; anything else there (a line longer
    // than a record, several short lines, a file ending inside a line)
    // cannot be completed without changing it, so nothing is written.
    std::string data;
    const off_t tail = size % kRecordSize;
    const off_t lineStart = size - tail;
    if (!startsLine(fd.get(), lineStart))
        return Status::NotAligned;
    if (tail != 0) {
        const std::string last = readAt(fd.get(), lineStart, static_cast<std::size_t>(tail));
        if (static_cast<off_t>(last.size()) != tail || tail > kTextSize || last.find('\n') != std::string::npos)
            return Status::NotAligned;
        data.assign(static_cast<std::size_t>(kTextSize - tail), ' ');
        data += "\r\n";
    }
    data += record;

    if (detail::beforeAppendWrite)
        detail::beforeAppendWrite(path);

    // Each write lands at the end of the file as it is then; the position
    // after it tells where our bytes are, whatever another program appended.
    std::size_t done = 0;
    off_t end = -1;
    bool written = writeAll(fd.get(), data.data(), data.size(), -1, &done, &end);
    const off_t start = end - static_cast<off_t>(done);
    if (written)
        written = fileio::syncData(fd.get());
    // Landed elsewhere than checked (another program appended in between):
    // the record counts only when it is a whole record at a line start.
    const bool placed = written && (start == size || (tail == 0 && start % kRecordSize == 0 &&
                                                      startsLine(fd.get(), start)));
    if (!placed) {
        // Take back whatever part reached the file, but only while the file
        // still ends with our bytes: bytes another program added after
        // them stay, and so do ours then.
        if (done > 0 && fileio::sizeOf(fd.get()) == end)
            fileio::truncateTo(fd.get(), start);
        return written ? Status::NotAligned : Status::WriteFailed;
    }
    if (!fd.close())
        return Status::WriteFailed;
    recordNumber = static_cast<int>(end / kRecordSize - 1);
    return Status::Ok;
}

Status overwriteRecord(const std::string& record, int n, const std::string& path, const FileId* listed)
{
    if (!isRecordText(record))
        return Status::BadRecord;
    Fd fd(-1);
    FileId same = listed ? *listed : FileId {};
    const Status opened = openForWriting(path, fileio::Access::ReadWrite, listed ? &same : nullptr, fd);
    if (opened != Status::Ok)
        return opened;
    // Only a complete record inside the file is replaced: writing past the
    // end would leave a gap or grow the file, and a place that is not a
    // whole CR LF line (a hand-edited file out of step) would be damaged.
    if (n < 0 || static_cast<off_t>(n) * kRecordSize + kRecordSize > fileio::sizeOf(fd.get()))
        return Status::NoRecord;
    const off_t offset = static_cast<off_t>(n) * kRecordSize;
    const std::string old = readAt(fd.get(), offset, kRecordSize);
    if (old.size() != static_cast<std::size_t>(kRecordSize) ||
        old.find('\n') != static_cast<std::size_t>(kTextSize + 1) || old[kTextSize] != '\r')
        return Status::NotAligned;
    if (!startsLine(fd.get(), offset))
        return Status::NotAligned;

    bool written = writeAll(fd.get(), record.data(), record.size(), offset);
    if (written)
        written = fileio::syncData(fd.get());
    if (!written) {
        // Put the old bytes back if the disk still takes them.
        writeAll(fd.get(), old.data(), old.size(), offset);
        return Status::WriteFailed;
    }
    if (!fd.close())
        return Status::WriteFailed;
    return Status::Ok;
}

std::string formatCoordinate(double degrees) { return formatC("%7.2lf", degrees); }

std::string formatTimeZone(double hours) { return formatC("%6.2lf", hours); }

}  // namespace sitefile
