// The calls by which a save locks and syncs its files. Tests replace them to play a file system
// without locks, or with locks that lock nothing, and to watch when the syncs come.
#pragma once

namespace corlink::detail {

struct FileCalls {
    int (*flock)(int fd, int operation);
    int (*fsync)(int fd);
};

// The calls in use; by default the system's own.
FileCalls& fileCalls();

}  // namespace corlink::detail
