#include "platform/regularFile.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

namespace fileio {

namespace {

int openWith(const std::string& path, int flags)
{
    return ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
}

}  // namespace

int openRegular(const std::string& path, Access access, struct stat* st)
{
    constexpr int kAppend = O_RDWR | O_APPEND;
    constexpr int kCreate = kAppend | O_CREAT | O_EXCL | O_NOFOLLOW;
    int fd = -1;
    switch (access) {
    case Access::Read:
        fd = openWith(path, O_RDONLY);
        break;
    case Access::ReadWrite:
        fd = openWith(path, O_RDWR);
        break;
    case Access::Append:
        fd = openWith(path, kAppend);
        break;
    case Access::AppendNew:
        // An existing file, or a new one where nothing is; one made by
        // another program in between is opened as it is.
        fd = openWith(path, kAppend);
        if (fd < 0 && errno == ENOENT) {
            fd = openWith(path, kCreate);
            if (fd < 0 && errno == EEXIST)
                fd = openWith(path, kAppend);
        }
        break;
    case Access::CreateNew:
        fd = openWith(path, kCreate);
        break;
    }
    if (fd < 0)
        return -1;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    const int fl = ::fcntl(fd, F_GETFL);
    if (fl != -1)
        ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
    if (st)
        *st = info;
    return fd;
}

bool absent(const std::string& path)
{
    struct stat any;
    return ::lstat(path.c_str(), &any) != 0 && errno == ENOENT;
}

bool writable(const std::string& path) { return ::access(path.c_str(), W_OK) == 0; }

bool replaceWith(const std::string& from, const std::string& to)
{
    return ::rename(from.c_str(), to.c_str()) == 0;
}

Fd::~Fd()
{
    if (fd_ >= 0)
        ::close(fd_);
}

int Fd::release()
{
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void Fd::reset(int fd)
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
}

bool Fd::close()
{
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
}

bool readAll(int fd, std::string& out, std::size_t limit, int timeoutMs, const std::atomic<bool>* cancel)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    constexpr long kCancelSlice = 20;
    char buf[65536];
    for (;;) {
        if (cancel && cancel->load())
            return false;
        if (timeoutMs >= 0 || cancel) {
            long left = kCancelSlice;
            if (timeoutMs >= 0) {
                left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
                if (left <= 0)
                    return false;
            }
            if (cancel && left > kCancelSlice)
                left = kCancelSlice;
            pollfd p {fd, POLLIN, 0};
            const int ready = ::poll(&p, 1, static_cast<int>(left));
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready < 0)
                return false;
            if (ready == 0) {
                if (cancel)
                    continue;  // the deadline and the cancel are looked at above
                return false;
            }
        }
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        if (out.size() + std::size_t(n) > limit)
            return false;
        out.append(buf, std::size_t(n));
    }
}

long readSome(int fd, char* buf, std::size_t count)
{
    for (;;) {
        const ssize_t n = ::read(fd, buf, count);
        if (n < 0 && errno == EINTR)
            continue;
        return static_cast<long>(n);
    }
}

std::string readAt(int fd, off_t offset, std::size_t count)
{
    std::string out(count, '\0');
    std::size_t got = 0;
    while (got < count) {
        const ssize_t n = ::pread(fd, &out[got], count - got, offset + static_cast<off_t>(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    out.resize(got);
    return out;
}

bool writeAll(int fd, const char* data, std::size_t count, off_t offset, std::size_t* done, off_t* end)
{
    std::size_t written = 0;
    bool ok = true;
    while (written < count) {
        const ssize_t n = offset < 0 ? ::write(fd, data + written, count - written)
                                     : ::pwrite(fd, data + written, count - written, offset + off_t(written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        written += static_cast<std::size_t>(n);
        if (end && offset < 0)
            *end = ::lseek(fd, 0, SEEK_CUR);
    }
    if (done)
        *done = written;
    return ok;
}

bool lockExclusive(int fd, int timeoutMs)
{
    if (timeoutMs < 0) {
        int rc;
        while ((rc = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
        }
        return rc == 0;
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return false;
        if (Clock::now() >= deadline) {
            errno = EWOULDBLOCK;
            return false;
        }
        ::usleep(10 * 1000);
    }
}

void failWritesPastSizeLimit() { ::signal(SIGXFSZ, SIG_IGN); }

off_t sizeOf(int fd)
{
    struct stat st;
    return ::fstat(fd, &st) == 0 ? st.st_size : off_t(-1);
}

bool syncData(int fd) { return ::fdatasync(fd) == 0; }

bool truncateTo(int fd, off_t length) { return ::ftruncate(fd, length) == 0; }

bool writeWholeFile(const std::string& path, const std::string& bytes)
{
    // Truncated only once known to be a regular file.
    Fd fd(openRegular(path, Access::AppendNew));
    if (!fd.ok())
        return false;
    bool ok = truncateTo(fd.get(), 0) && writeAll(fd.get(), bytes.data(), bytes.size());
    const int saved = errno;
    ok = fd.close() && ok;
    if (!ok && saved)
        errno = saved;
    return ok;
}

}  // namespace fileio
