#include "platform/regularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace fileio {

int openRegular(const std::string& path, int flags, mode_t mode, struct stat* st)
{
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, mode);
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

bool regularOrAbsent(const std::string& path)
{
    struct stat info;
    if (::stat(path.c_str(), &info) == 0)
        return S_ISREG(info.st_mode);
    return errno == ENOENT;
}

bool writeWholeFile(const std::string& path, const std::string& bytes)
{
    // Truncated only once known to be a regular file.
    const int fd = openRegular(path, O_WRONLY | O_CREAT, 0666);
    if (fd < 0)
        return false;
    bool ok = ::ftruncate(fd, 0) == 0;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok)
            done += static_cast<std::size_t>(n);
    }
    const int saved = errno;
    ok = ::close(fd) == 0 && ok;
    if (!ok && saved)
        errno = saved;
    return ok;
}

}  // namespace fileio
