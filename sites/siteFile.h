// The site list file "obspoint.txt": fixed 50-byte records of Shift-JIS text
// (48 characters and CR LF), record n at byte 50 * n. Every operation opens
// the file, does its work and closes it. No Qt here: names are Shift-JIS
// bytes; windows convert them for the screen.
//
// Layout of one record (byte offsets):
//    0..15  name, the first 14 bytes of the site name blank-filled to 16
//   16..22  latitude  "%7.2lf"      23  ','
//   24..30  longitude "%7.2lf"      31  ','
//   32..37  offset    "%6.2lf"      38..44  ", 0000,"
//   45..46  summer-time flag "%2d"  47  ','      48..49  CR LF
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/mainState.h"

namespace sitefile {

// The file name, opened in the working directory.
inline constexpr const char* kFileName = "obspoint.txt";

inline constexpr int kRecordSize = 50;      // bytes per record, CR LF included
inline constexpr int kTextSize = 48;        // bytes before CR LF
inline constexpr int kNameField = 16;       // bytes of the name field
inline constexpr std::size_t kNameBytes = 14;  // bytes of the name that are kept
inline constexpr int kNumbersOffset = 17;   // where the numeric scan starts

// Results of the file operations. The windows turn them into messages.
enum class Status {
    Ok,
    CannotOpen,   // the file cannot be opened (missing, no access, not a regular
                  // file: a folder, a pipe, a device)
    NoRecord,     // the record asked for is not (wholly) in the file
    NotAligned,   // append refused: the file's end is not at a record boundary
                  // and cannot be completed to one without damaging a line
    BadRecord,    // the record text is not 48 bytes plus CR LF
    WriteFailed,  // the file opened but writing or closing it failed
    Busy,         // another program held the file's lock for kLockWaitMs:
                  // nothing was written
    Replaced,     // the file at the path is not the one that was listed
                  // (swapped, or made since): nothing was written
};

// How long a write waits for another program's lock on the file (the
// window waits with it).
inline constexpr int kLockWaitMs = 1000;

// The most lines a listing takes (a site file of 100 MB in records): with at
// most 16 bytes of name and 4 of index a line, the list stays within 40 MB
// whatever the file holds.
inline constexpr std::size_t kMaxListedLines = 2'000'000;

// Which file a listing read, so that a write goes to that same file: its
// device and inode, or that nothing at all was at the path (Unknown: the
// listing could not tell, as for a folder or a pipe in the file's place).
struct FileId {
    enum State { Unknown, Absent, Present } state = Unknown;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
};

// Results of the start-up load.
enum class LoadResult {
    Loaded,    // record defaultSiteIndex was loaded
    NoRecord,  // the file opened but holds no complete record
    NoFile,    // the file cannot be opened
};

// One site as a reader returns it.
struct SiteRecord {
    std::string name;  // Shift-JIS bytes
    double latitude = 0.0;
    double longitude = 0.0;
    double timeZone = 0.0;
    int summerTime = 0;
};

// Start-up load. Puts cMain.defaultSiteIndex into 0 .. (records - 1) (a
// negative number becomes 0, one past the last record becomes the last),
// loads that record into the site members (the name is the 16-byte field as
// stored, trailing blanks included) and sets currentSiteIndex to it.
// Returns Loaded. When the file opens but holds no complete record, puts the
// default site in place with both indexes 0 and returns NoRecord: the file
// is there and can be appended to. When the file cannot be opened, puts the
// default site in place and returns NoFile. Shows nothing: the caller reports.
LoadResult loadSite(TcMainState& cMain, const std::string& path = kFileName);

// The names of a listing, kept together: a few bytes a line.
class NameList {
public:
    std::size_t size() const { return ends_.size(); }
    std::size_t bytes() const { return bytes_.size(); }
    std::string at(std::size_t i) const;  // i < size()
    void push(const std::string& name);
    void clear();

private:
    std::string bytes_;
    std::vector<std::uint32_t> ends_;  // where each name ends in bytes_
};

// The name list: the first 16 bytes of every line that ends in a line feed,
// in file order (the line end itself is never part of a name; a NUL ends a
// name). A final line without a line end is not listed. Returns false, with
// names left empty, when the file cannot be opened.
// The file is read in pieces; only the names are kept. listed, when given,
// receives which file was read.
// truncated, when given, is set when the listing stopped at kMaxListedLines.
bool listNames(NameList& names, const std::string& path = kFileName, FileId* listed = nullptr,
               bool* truncated = nullptr);
bool listNames(std::vector<std::string>& names, const std::string& path = kFileName);

// Reads record n. The name is the first blank-delimited word of the 16-byte
// name field (empty when the field is blank). Returns CannotOpen or NoRecord
// (n negative or past the end of the file) with out unchanged, else Ok.
Status readSite(int n, SiteRecord& out, const std::string& path = kFileName);

// Parses the numbers of one record's bytes: "%lf,%lf,%lf,%d,%d" from offset
// 17 (latitude, longitude, offset, the ignored reserved field, the flag),
// never past the end of the given bytes. A field that does not scan, a
// value that is not finite and a flag outside the int range are 0.
void scanNumbers(const std::string& recordBytes, SiteRecord& out);

// What the name field keeps of a name, without the blanks that fill it: the
// name cut after its 14th byte (a double-byte character that would be split
// is dropped whole, control bytes become blanks). The windows take a name
// over in this form, so that what is shown is what is stored.
std::string nameAsStored(const std::string& nameSjis);

// Builds the record text for a site: nameAsStored blank-filled, then
// "%-16s%7.2lf,%7.2lf,%6.2lf, 0000,%2d,\n" with the line feed as CR LF.
// The flag is written as 1 when summerTime is not 0. The result has 50 bytes
// whenever the numbers lie within the site dialog's accepted ranges.
std::string makeRecord(const std::string& nameSjis, double latitude, double longitude,
                       double timeZone, int summerTime);

// Appends a record (from makeRecord) at the end of the file, creating the
// file when it does not exist. When the file ends with a line that has no
// line end and starts at a record boundary (a hand-edited last line), that
// line is kept and completed to a record with blanks and CR LF, so the new
// record starts at a record boundary. recordNumber receives the new record's
// number, taken from where the bytes landed. Only a regular file is written
// (a pipe, device or folder gives CannotOpen). A failed write takes back
// the bytes it wrote, unless another program has appended after them.
// The write holds the file's lock, waiting for it at most kLockWaitMs
// (Busy). With a listed file, only that file is written: the file at path
// must be the same file, or, when the listing found nothing at path, a new
// regular file is created there (never through a link), and listed then
// names it; anything else gives Replaced.
Status appendRecord(const std::string& record, int& recordNumber, const std::string& path = kFileName,
                    FileId* listed = nullptr);

namespace detail {
// Test seam: called between the size check and the write of appendRecord.
extern void (*beforeAppendWrite)(const std::string& path);
}  // namespace detail

// Replaces the 50 bytes of record n. The file must exist and record n must
// lie wholly inside it as a complete line (never writes past the end).
// Locks and checks the file as appendRecord does.
Status overwriteRecord(const std::string& record, int n, const std::string& path = kFileName,
                       const FileId* listed = nullptr);

// The dialog's field texts: "%7.2lf" for latitude and longitude, "%6.2lf"
// for the offset.
std::string formatCoordinate(double degrees);
std::string formatTimeZone(double hours);

}  // namespace sitefile
