// Files the program reads and writes (the site list, the settings, the help
// file). Any of them may have been replaced by a pipe, a device or a folder:
// such a file must neither block the program nor be taken for a file that
// was read or written. Every read and write loop of the program is here, so
// interrupted calls and short transfers are handled in one place.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>

namespace fileio {

enum class Access {
    Read,        // read only
    ReadWrite,   // read and write in place; the file must exist
    Append,      // read and append; the file must exist
    AppendNew,   // read and append; created (mode 0666 less umask) when nothing
                 // is at path: a link is followed only to an existing file, so
                 // a dangling link never creates its target
    CreateNew,   // read and append a file created now; fails (EEXIST) when
                 // anything, a link included, is already at path
};

// Opens path without blocking on a pipe or a device, and keeps it only when
// it is a regular file. Returns the file descriptor (close-on-exec, blocking
// again) or -1 with errno set (EINVAL for a file that is not regular). st,
// when given, receives the file's status.
int openRegular(const std::string& path, Access access, struct stat* st = nullptr);

// True when nothing at all is at path (lstat fails with ENOENT).
bool absent(const std::string& path);

// True when the user may write to the file at path (access W_OK).
bool writable(const std::string& path);

// Puts the file at from in the place of the file at to, in one step
// (rename).
bool replaceWith(const std::string& from, const std::string& to);

// Owns a file descriptor and closes it when it goes out of scope.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd();
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

    int get() const { return fd_; }
    bool ok() const { return fd_ >= 0; }
    void reset(int fd);
    // Closes now and reports whether the close succeeded.
    bool close();
    // Gives the descriptor up without closing it.
    int release();

private:
    int fd_;
};

// Reads fd to its end. Fails when more than limit bytes come, on a read
// error, or, with timeoutMs >= 0, when the end has not come by then (the
// descriptor is then polled, so a pipe cannot block past the deadline).
// With cancel, it also fails as soon as *cancel turns true (looked at every
// 20 ms).
bool readAll(int fd, std::string& out, std::size_t limit, int timeoutMs = -1,
             const std::atomic<bool>* cancel = nullptr);

// One read of up to count bytes, retried when interrupted: the count read,
// 0 at the end of the file, -1 on an error.
long readSome(int fd, char* buf, std::size_t count);

// Reads up to count bytes at offset; fewer at the end of the file or on an
// error.
std::string readAt(int fd, off_t offset, std::size_t count);

// Writes all count bytes at offset, or at the current position when offset
// is negative. done receives how many bytes reached the file and end, for
// writes at the current position, the file position after the last of them
// (with O_APPEND: where the bytes landed, whatever another program appended
// meanwhile). False when any part could not be written.
bool writeAll(int fd, const char* data, std::size_t count, off_t offset = -1, std::size_t* done = nullptr,
              off_t* end = nullptr);

// An exclusive advisory lock (flock) on the whole file, held until the
// descriptor is closed. With timeoutMs >= 0 the lock is asked for without
// waiting every few milliseconds until then, and false with errno
// EWOULDBLOCK means another holder kept it all that time.
bool lockExclusive(int fd, int timeoutMs = -1);

// Makes a write past the file size limit (RLIMIT_FSIZE) fail with EFBIG, as
// a full disk fails with ENOSPC, instead of ending the program (SIGXFSZ is
// ignored). Call once, early.
void failWritesPastSizeLimit();

// Size of the open file; -1 when it cannot be examined.
off_t sizeOf(int fd);

// The file's data on the disk (fdatasync).
bool syncData(int fd);

// Cuts the file to length bytes.
bool truncateTo(int fd, off_t length);

// Replaces the contents of the regular file at path (created when absent)
// with bytes. Refuses anything that is not a regular file, without blocking;
// false, with errno set, when the file cannot be opened or fully written.
bool writeWholeFile(const std::string& path, const std::string& bytes);

}  // namespace fileio
