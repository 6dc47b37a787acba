// Opening the files the program reads and writes (the site list, the
// settings, the help file). Any of them may have been replaced by a pipe, a
// device or a folder: such a file must neither block the program nor be
// taken for a file that was read or written.
#pragma once

#include <string>
#include <sys/stat.h>
#include <sys/types.h>

namespace fileio {

// Opens path with the given open flags, without blocking on a pipe or a
// device, and keeps it only when it is a regular file. Returns the file
// descriptor (close-on-exec, blocking again) or -1. st, when given, receives
// the file's status.
int openRegular(const std::string& path, int flags, mode_t mode = 0666, struct stat* st = nullptr);

// True when path names a regular file or nothing at all (a file that may
// still be created); false for a folder, pipe, device, socket or a path that
// cannot be examined.
bool regularOrAbsent(const std::string& path);

// Replaces the contents of the regular file at path (created when absent)
// with bytes. Refuses anything that is not a regular file, without blocking;
// false, with errno set, when the file cannot be opened or fully written.
bool writeWholeFile(const std::string& path, const std::string& bytes);

}  // namespace fileio
