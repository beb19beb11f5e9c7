// The calls by which a file is replaced that tests replace: to play file systems without locks,
// with locks that lock nothing, or that refuse owners, permission bits, attributes or renames,
// and to watch a temporary file when it is made and when the syncs come. By default the system's.
#pragma once

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/xattr.h>
#include <stdio.h>
#include <unistd.h>

namespace corlink::detail {

struct FileCalls {
    int (*flock)(int fd, int operation) = ::flock;
    int (*fsync)(int fd) = ::fsync;
    // The temporary file's creation.
    int (*openat)(int folder, const char* name, int flags, mode_t mode) = [](int folder, const char* name, int flags,
                                                                               mode_t mode) {
        return ::openat(folder, name, flags, mode);
    };
    int (*fchown)(int fd, uid_t owner, gid_t group) = ::fchown;
    int (*fchmod)(int fd, mode_t mode) = ::fchmod;
    int (*fsetxattr)(int fd, const char* name, const void* value, size_t size, int flags) = ::fsetxattr;
    int (*renameat)(int fromFolder, const char* from, int toFolder, const char* to) = ::renameat;
};

// The calls in use.
FileCalls& fileCalls();

}  // namespace corlink::detail
