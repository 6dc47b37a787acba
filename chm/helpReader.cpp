// lunvelde-help-reader: reads a compiled HTML help file given on standard
// input (a seekable file: the program hands it a sealed memory file) with
// chmlib, and writes every object whose path starts with '/' to standard
// output, each as helpfile::encodeObject frames it. Exit status 0 only when
// every object was read whole; 2 when the file does not pass the container
// checks or the library cannot open it; 3 when an object could not be read
// or written.
//
// It runs as its own process, under its own limits, so that a file the
// library still chokes on costs only this process.
#include <chm_lib.h>

#include <cstdint>
#include <string>

#include "chm/helpFile.h"
#include "platform/process.h"
#include "platform/regularFile.h"

#if defined(__SANITIZE_ADDRESS__)
#define LUNVELDE_READER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LUNVELDE_READER_ASAN 1
#endif
#endif

namespace {

#ifdef LUNVELDE_READER_ASAN
// AddressSanitizer reserves far more address space than any limit worth setting.
constexpr std::uint64_t kAddressSpace = 0;
#else
// A file that still makes the library allocate wildly fails here.
constexpr std::uint64_t kAddressSpace = std::uint64_t(1) << 30;
#endif

struct Context {
    chmFile* file;
    bool ok;
};

int sendObject(chmFile*, chmUnitInfo* info, void* context)
{
    auto* c = static_cast<Context*>(context);
    const std::string name = info->path;
    if (name.empty() || name[0] != '/' || name.back() == '/')
        return CHM_ENUMERATOR_CONTINUE;
    if (info->length > helpfile::kMaxFileBytes * 16) {
        c->ok = false;
        return CHM_ENUMERATOR_FAILURE;
    }
    std::string data(static_cast<std::size_t>(info->length), '\0');
    LONGUINT64 done = 0;
    while (done < info->length) {
        const LONGINT64 got = chm_retrieve_object(c->file, info, reinterpret_cast<unsigned char*>(&data[done]),
                                                  done, static_cast<LONGINT64>(info->length - done));
        if (got <= 0) {
            c->ok = false;
            return CHM_ENUMERATOR_FAILURE;
        }
        done += static_cast<LONGUINT64>(got);
    }
    const std::string frame = helpfile::encodeObject(name, data);
    if (!fileio::writeAll(1, frame.data(), frame.size())) {
        c->ok = false;
        return CHM_ENUMERATOR_FAILURE;
    }
    return CHM_ENUMERATOR_CONTINUE;
}

}  // namespace

int main()
{
    proc::limitSelf(kAddressSpace);
    // The library trusts the file's fields: it gets only a file that passes
    // the container checks, whoever started this program.
    std::string bytes;
    if (!fileio::readAll(0, bytes, helpfile::kMaxFileBytes, helpfile::kReaderMs) || !helpfile::checkContainer(bytes))
        return 2;
    chmFile* file = chm_open("/proc/self/fd/0");
    if (!file)
        return 2;
    Context c {file, true};
    if (chm_enumerate(file, CHM_ENUMERATE_ALL, &sendObject, &c) != 1)
        c.ok = false;
    chm_close(file);
    return c.ok ? 0 : 3;
}
