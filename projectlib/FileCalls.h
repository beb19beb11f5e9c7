// The calls by which a file is replaced that tests replace: to play file systems without locks,
// with locks that lock nothing, or that refuse owners, permission bits, attributes or renames,
// to watch a temporary file when it is made and when the syncs come, to swap a name between its
// lookup and the open of the file written in place, and to play what a lookup may meet
// (automount points, empty link texts). By default the system's.
#pragma once

#include <chrono>

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
    // Every open by name of a save: the parts of the name as it is looked up, the temporary file's
    // creation and the open of the existing file that is written in place.
    int (*openat)(int folder, const char* name, int flags, mode_t mode) = [](int folder, const char* name, int flags,
                                                                               mode_t mode) {
        return ::openat(folder, name, flags, mode);
    };
    int (*fchown)(int fd, uid_t owner, gid_t group) = ::fchown;
    int (*fchmod)(int fd, mode_t mode) = ::fchmod;
    int (*fsetxattr)(int fd, const char* name, const void* value, size_t size, int flags) = ::fsetxattr;
    int (*renameat)(int fromFolder, const char* from, int toFolder, const char* to) = ::renameat;
    ssize_t (*readlinkat)(int folder, const char* name, char* text, size_t size) = ::readlinkat;
    // How long a save waits for another save's lock on the file it writes in place, or starts
    // again while other saves take its temporary away.
    std::chrono::milliseconds lockWait = std::chrono::seconds(10);
};

// The calls in use.
FileCalls& fileCalls();

}  // namespace corlink::detail
