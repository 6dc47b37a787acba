// Reading the compiled HTML help file. The file is a document anyone may
// send, and the reader library (chmlib) trusts its header fields: it divides
// by them, sizes allocations with them and follows them as offsets. So the
// file is read here first (a regular file of bounded size only), its
// headers, directory, compression settings and reset table are checked, and
// only then the library reads every object, in a separate executable
// (lunvelde-help-reader, chm/helpReader.cpp): should it still crash or loop
// there, the program only learns that the file cannot be read.
#pragma once

#include <atomic>
#include <cstddef>
#include <map>
#include <string>

namespace helpfile {

inline constexpr std::size_t kMaxFileBytes = std::size_t(64) << 20;
// The time the reader has for one file, from its start to its end.
inline constexpr int kReaderMs = 10000;

// Every object of the file whose path starts with '/' ("/index.html",
// "/#SYSTEM"), by path.
using Objects = std::map<std::string, std::string>;

enum class Result {
    Ok,
    Unreadable,  // missing, not a regular file, malformed, or the reader failed on it
    TooLarge,    // a regular file of more than kMaxFileBytes, not read
};

// The reader executable: $LUNVELDE_HELP_READER when set, else
// lunvelde-help-reader beside the running program (the build tree), else in
// the program's installed helper folder.
std::string readerPath();

// Reads the whole file at path and has the reader executable at reader read
// all its objects. A file larger than kMaxFileBytes is TooLarge before any
// of it is read. Objects are only filled on Ok, and then the reader ended
// with status 0 and every object was read to its full length. A cancel
// (*cancel turning true) kills the reader and ends with Unreadable.
Result load(const std::string& reader, const std::string& path, Objects& out,
            const std::atomic<bool>* cancel = nullptr);

// The container checks on the file's bytes: true when every field the
// library relies on is consistent and inside the file.
bool checkContainer(const std::string& bytes);

// One object as the reader sends it: its name's length (4 bytes, least
// significant first), the name, the data's length (8 bytes) and the data.
std::string encodeObject(const std::string& name, const std::string& data);

// The objects as the reader sends them; false for a stream that is not
// complete and well formed.
bool decodeObjects(const std::string& stream, Objects& out);

}  // namespace helpfile
