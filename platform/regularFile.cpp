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

}  // namespace fileio
