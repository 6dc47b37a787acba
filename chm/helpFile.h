// Reading the compiled HTML help file. The file is a document anyone may
// send, and the reader library ("libchm.so.1") trusts its header fields: it
// divides by them, sizes allocations with them and follows them as offsets.
// So the file is read here first (a regular file of bounded size only), its
// headers, directory, compression settings and reset table are checked, and
// only then the library reads every object, in a child process: should it
// still crash or loop there, the program only learns that the file cannot
// be read.
#pragma once

#include <chm_lib.h>

#include <cstddef>
#include <map>
#include <string>

namespace helpfile {

inline constexpr std::size_t kMaxFileBytes = std::size_t(64) << 20;

// The reader library's functions, resolved by the caller.
struct Library {
    chmFile* (*open)(const char*) = nullptr;
    void (*close)(chmFile*) = nullptr;
    int (*resolve)(chmFile*, const char*, chmUnitInfo*) = nullptr;
    LONGINT64 (*retrieve)(chmFile*, chmUnitInfo*, unsigned char*, LONGUINT64, LONGINT64) = nullptr;
    int (*enumerate)(chmFile*, int, CHM_ENUMERATOR, void*) = nullptr;

    bool complete() const { return open && close && resolve && retrieve && enumerate; }
};

// Every object of the file whose path starts with '/' ("/index.html",
// "/#SYSTEM"), by path.
using Objects = std::map<std::string, std::string>;

enum class Result {
    Ok,
    NotFound,    // nothing at that path
    Unreadable,  // not a regular file, too large, malformed, or the library failed on it
};

// Reads the whole file at path and all its objects. Objects are only filled
// on Ok, and then every object was read to its full length.
Result load(const Library& library, const std::string& path, Objects& out);

// The container checks on the file's bytes: true when every field the
// library relies on is consistent and inside the file.
bool checkContainer(const std::string& bytes);

// The objects as the child process sends them (see load); false for a
// stream that is not complete and well formed.
bool decodeObjects(const std::string& stream, Objects& out);

}  // namespace helpfile
