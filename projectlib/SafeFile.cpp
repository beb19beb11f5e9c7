// Reading a regular file whole, and replacing one so that it holds its old bytes or the new ones
// and stays what it was. The name is looked up, and every step after works, on open folders and
// files (the *at calls), so that nobody can swap a name for a link between a check and its use.
#include "SafeFile.h"

#include "FileCalls.h"
#include "FileErrors.h"
#include "automation_error.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include <dirent.h>
#include <sys/random.h>
#include <sys/statfs.h>

namespace corlink::detail {

FileCalls& fileCalls() {
    static FileCalls calls;
    return calls;
}

namespace {

constexpr std::int32_t errDiskFull = 61;

[[noreturn]] void fail(std::int32_t number) { automation::raiseRuntime(number, kSource); }

// The run-time error for a failed system call.
[[noreturn]] void failErrno(int err) {
    if (err == ENOSPC || err == EDQUOT) automation::raise(errDiskFull, kSource, "Disk full");
    raiseFileError(err);
}

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) noexcept : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(other.release()) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        if (this != &other) {
            if (fd_ >= 0) ::close(fd_);
            fd_ = other.release();
        }
        return *this;
    }
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const noexcept { return fd_; }
    int release() noexcept { return std::exchange(fd_, -1); }

private:
    int fd_;
};

// ---- Where a name leads ----

// The open folder that holds a file, the file's name in it and, when the file exists, the file
// itself (opened as a path only, which needs no permission on it) with its status.
struct Place {
    Descriptor folder;
    bool listed = false;  // the folder was opened for reading: it can be listed and synced
    std::string name;
    Descriptor file;
    std::optional<struct stat> old;
    bool jump = false;  // a link on /proc that stands for the file: the file is written in place through it
};

// The text of a link opened as a path only. An empty text names nothing, as for the system.
std::string linkText(int link) {
    std::string text(256, '\0');
    for (;;) {
        const ssize_t n = fileCalls().readlinkat(link, "", text.data(), text.size());
        if (n < 0) failErrno(errno);
        if (n == 0) failErrno(ENOENT);
        if (static_cast<std::size_t>(n) < text.size()) {
            text.resize(static_cast<std::size_t>(n));
            return text;
        }
        text.resize(2 * text.size());
    }
}

// Puts the parts of a path on the stack of parts still to look up, its first part on top. A path
// that ends in "/" ends in ".": it names a folder.
void pushParts(std::vector<std::string>& parts, std::string_view path) {
    if (path.ends_with('/')) parts.emplace_back(".");
    for (std::size_t end = path.size(); end > 0;) {
        const std::size_t slash = path.rfind('/', end - 1);
        const std::size_t begin = slash == std::string_view::npos ? 0 : slash + 1;
        if (begin < end) parts.emplace_back(path.substr(begin, end - begin));
        end = slash == std::string_view::npos ? 0 : slash;
    }
}

// Opens the root folder, where an absolute path starts, as a path only.
Descriptor openRoot() {
    Descriptor root(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (root.get() < 0) failErrno(errno);
    return root;
}

// Where a name leads: the folder that holds the file, opened for reading where this user may
// read it (else as a path only), the file's name in it and, when it exists, the file.
Place placeIn(int folder, std::string name, Descriptor file, std::optional<struct stat> old) {
    Place place;
    int fd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    place.listed = fd >= 0;
    if (fd < 0 && errno == EACCES) fd = ::openat(folder, ".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) failErrno(errno);
    place.folder = Descriptor(fd);
    place.name = std::move(name);
    place.file = std::move(file);
    place.old = old;
    return place;
}

// How the file system that holds a link treats it.
enum class LinkKind {
    Text,     // a link to the path it holds
    Jump,     // on /proc: it stands for an object (a process's root, working folder, open file)
    Refused,  // on a file system mounted nosymfollow
};

LinkKind kindOf(int link) {
    constexpr unsigned long kNoSymFollow = 0x2000;  // ST_NOSYMFOLLOW, which the C library may not name
    constexpr long kProc = 0x9fa0;                  // PROC_SUPER_MAGIC
    struct statfs where {};
    if (::fstatfs(link, &where) != 0) failErrno(errno);
    if (where.f_flags & kNoSymFollow) return LinkKind::Refused;
    return where.f_type == kProc ? LinkKind::Jump : LinkKind::Text;
}

Place walk(Descriptor folder, std::string_view name, int links);

// The file that a link on /proc at the end of a name stands for, which the system jumps to. Where
// the link's text names that very file, it is saved through the folder the text names; else the
// file is written in place through the link (a regular file that lost its name, or that the text
// names in another mount namespace), and anything else is refused. Nothing is put where the text
// points unless that is the file.
Place jumpTo(int folder, const std::string& part, int link, int links) {
    Descriptor object(fileCalls().openat(folder, part.c_str(), O_PATH | O_CLOEXEC, 0));
    if (object.get() < 0) failErrno(errno);
    struct stat st {};
    if (::fstat(object.get(), &st) != 0) failErrno(errno);
    const std::string text = linkText(link);
    if (text.starts_with('/')) {
        try {
            Place named = walk(openRoot(), text, links);
            if (named.old && named.old->st_dev == st.st_dev && named.old->st_ino == st.st_ino) return named;
        } catch (const automation::AutomationError&) {
            // the text leads nowhere, or nowhere this user may go: the file is written through the link
        }
    }
    Place place = placeIn(folder, part, std::move(object), st);
    place.jump = true;
    return place;
}

// The file a name stands for, looked up one part at a time from open folders as the system's
// own lookup does ("." and ".." included, at most 40 links), so that every link met on the way
// is seen: in the name's folders, at its end and in the texts of links. A link is followed to
// the file it names, which need not exist yet at the end of the name, so that a save replaces
// that file and the link stays. Where the system's lookup does more than read a link's text, it
// is let do so: a link on /proc is followed by the system, a link on a file system mounted
// nosymfollow is refused with 75, and every folder part is asked for as a folder, which mounts an
// automount point on the way. A link in a sticky folder that the group or others may write is
// followed only when it belongs to this user or to the folder's owner; any other is refused with
// 70 before anything is made or written. This is stricter than the kernel's guard against links
// planted in shared folders, which judges only the link at the end of a name, in folders the
// world may write, and only where the machine turns it on.
Place walk(Descriptor folder, std::string_view name, int links) {
    constexpr int kMaxLinks = 40;    // as the system's own path lookup
    std::vector<std::string> parts;  // still to look up, the next one last
    pushParts(parts, name);
    for (;;) {
        const std::string part = std::move(parts.back());
        parts.pop_back();
        const bool last = parts.empty();
        // A name that ends in a folder ("x/", "x/.", "x/..") names no file.
        if (last && (part == "." || part == "..")) fail(automation::errPathFileAccess);
        if (part == ".") continue;
        // The part asked for as a folder, which mounts an automount point there.
        const auto openFolder = [&](int follow) {
            const int flags = O_PATH | O_DIRECTORY | follow | O_CLOEXEC;
            return Descriptor(fileCalls().openat(folder.get(), part.c_str(), flags, 0));
        };
        if (!last) {
            Descriptor next = openFolder(O_NOFOLLOW);
            if (next.get() >= 0) {
                folder = std::move(next);
                continue;
            }
            if (errno != ENOTDIR) failErrno(errno);  // not a folder: a link, or a file, looked up as a path only
        }
        Descriptor file(fileCalls().openat(folder.get(), part.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC, 0));
        if (file.get() < 0) {
            if (errno != ENOENT || !last) failErrno(errno);
            return placeIn(folder.get(), part, Descriptor(), std::nullopt);  // a new file
        }
        struct stat st {};
        if (::fstat(file.get(), &st) != 0) failErrno(errno);
        if (S_ISLNK(st.st_mode)) {
            if (++links > kMaxLinks) failErrno(ELOOP);
            switch (kindOf(file.get())) {
            case LinkKind::Refused: failErrno(ELOOP);
            case LinkKind::Jump:
                if (last) return jumpTo(folder.get(), part, file.get(), links);
                file = openFolder(0);  // followed by the system
                if (file.get() < 0) failErrno(errno);
                folder = std::move(file);
                continue;
            case LinkKind::Text: break;
            }
            struct stat in {};
            if (::fstatat(folder.get(), "", &in, AT_EMPTY_PATH) != 0) failErrno(errno);
            const bool shared = (in.st_mode & S_ISVTX) && (in.st_mode & (S_IWGRP | S_IWOTH));
            if (shared && st.st_uid != ::geteuid() && st.st_uid != in.st_uid) fail(automation::errPermissionDenied);
            // Its text is looked up from the link's folder, or from the root.
            const std::string text = linkText(file.get());
            if (text.starts_with('/')) folder = openRoot();
            pushParts(parts, text);
            continue;
        }
        if (last) return placeIn(folder.get(), part, std::move(file), st);
        if (!S_ISDIR(st.st_mode)) failErrno(ENOTDIR);
        folder = std::move(file);  // a folder made under the name meanwhile
    }
}

// The file a name stands for; a name the system would not take (4096 bytes or more) is refused.
Place resolve(const std::string& name) {
    if (std::strlen(name.c_str()) >= PATH_MAX) failErrno(ENAMETOOLONG);
    return walk(name.starts_with('/') ? openRoot() : Descriptor(AT_FDCWD), name, 0);
}

// ---- Temporary files and locks ----

// The hidden names of a target's temporary files: a short prefix derived from the target's name
// (so that a name of any legal length can be saved), by which the leftovers of killed saves are
// found; earlier versions used the prefix alone as the one temporary of every save.
std::string temporaryPrefix(const std::string& target) {
    std::uint64_t hash = 0xcbf29ce484222325;  // FNV-1a, 64 bits
    for (const unsigned char c : target) hash = (hash ^ c) * 0x100000001b3;
    char name[24];
    std::snprintf(name, sizeof name, ".~dal%016llx", static_cast<unsigned long long>(hash));
    return name;
}

// A temporary file name of its own for one save: the prefix and 16 random hex digits, so that
// nobody can create the file before the save does.
std::string temporaryFor(const std::string& target) {
    std::uint64_t suffix = 0;
    for (;;) {
        const ssize_t n = ::getrandom(&suffix, sizeof suffix, 0);
        if (n == static_cast<ssize_t>(sizeof suffix)) break;
        if (n < 0 && errno != EINTR) failErrno(errno);
    }
    char name[24];
    std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(suffix));
    return temporaryPrefix(target) + name;
}

enum class Lock { Held, Busy, None };

// An exclusive lock, without waiting. None where the file system has no locks (ENOLCK, EOPNOTSUPP,
// ENOSYS, EINVAL) or the lock fails otherwise: the file is then written without one.
Lock tryLock(int fd) {
    for (;;) {
        if (fileCalls().flock(fd, LOCK_EX | LOCK_NB) == 0) return Lock::Held;
        if (errno == EINTR) continue;
        return errno == EWOULDBLOCK ? Lock::Busy : Lock::None;
    }
}

// Removes what saves of the target killed before their rename left behind: its temporaries that
// are regular files of this user and that no running save holds locked (a file this user may
// write but not read is opened for writing). Only where locks exist: without them a running
// save's file cannot be told from a killed one's.
void removeLeftovers(const Place& place) {
    if (!place.listed) return;
    const int folder = place.folder.get();
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(listing >= 0 ? ::fdopendir(listing) : nullptr, ::closedir);
    if (!dir) {
        if (listing >= 0) ::close(listing);
        return;
    }
    const std::string prefix = temporaryPrefix(place.name);
    while (const dirent* entry = ::readdir(dir.get())) {
        const char* name = entry->d_name;
        if (std::string_view(name).substr(0, prefix.size()) != prefix) continue;
        constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
        int fd = ::openat(folder, name, O_RDONLY | kFlags);
        if (fd < 0 && errno == EACCES) fd = ::openat(folder, name, O_WRONLY | kFlags);
        const Descriptor file(fd);
        struct stat held {};
        if (file.get() < 0 || ::fstat(file.get(), &held) != 0 || !S_ISREG(held.st_mode) || held.st_uid != ::geteuid() ||
            tryLock(file.get()) != Lock::Held) {
            continue;
        }
        // The name may have been taken by a save that finished meanwhile.
        struct stat named {};
        if (::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_dev == held.st_dev &&
            named.st_ino == held.st_ino) {
            ::unlinkat(folder, name, 0);
        }
    }
}

// Writes the bytes from the file's first byte on; the error number of a failed write, else 0.
int writeFromStart(int fd, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : EIO;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

// ---- What the old file was ----

// A file's extended attributes (its ACL is one of them) by name: none where the file system keeps
// none; nullopt where they cannot be read.
using Attributes = std::map<std::string, std::string>;

template <class Get>
bool readAll(std::string& into, Get get) {
    for (;;) {
        const ssize_t size = get(nullptr, 0);
        if (size < 0) return false;
        into.resize(static_cast<std::size_t>(size));
        if (size == 0) return true;
        const ssize_t n = get(into.data(), into.size());
        if (n >= 0) {
            into.resize(static_cast<std::size_t>(n));
            return true;
        }
        if (errno != ERANGE) return false;  // grown meanwhile: asked again
    }
}

template <class List, class Get>
std::optional<Attributes> attributesOf(List list, Get get) {
    std::string names;
    if (!readAll(names, list)) {
        if (errno == ENOTSUP) return Attributes{};
        return std::nullopt;
    }
    Attributes attributes;
    for (std::size_t at = 0; at < names.size();) {
        const std::string name(names.c_str() + at);
        at += name.size() + 1;
        if (!readAll(attributes[name], [&](char* value, std::size_t size) { return get(name.c_str(), value, size); })) {
            return std::nullopt;
        }
    }
    return attributes;
}

// Gives the temporary the old file's ACL and extended attributes and takes away those it got
// from its folder that the old file has not. False where this cannot be done.
bool copyAttributes(int fd, int oldFile) {
    // The old file is open as a path only, which the calls by descriptor do not take.
    const std::string old = "/proc/self/fd/" + std::to_string(oldFile);
    const auto from = attributesOf([&](char* to, std::size_t size) { return ::listxattr(old.c_str(), to, size); },
                                   [&](const char* name, char* to, std::size_t size) {
                                       return ::getxattr(old.c_str(), name, to, size);
                                   });
    const auto now = attributesOf([fd](char* to, std::size_t size) { return ::flistxattr(fd, to, size); },
                                  [fd](const char* name, char* to, std::size_t size) {
                                      return ::fgetxattr(fd, name, to, size);
                                  });
    if (!from || !now) return false;
    for (const auto& [name, value] : *now) {
        if (!from->contains(name) && ::fremovexattr(fd, name.c_str()) != 0) return false;
    }
    for (const auto& [name, value] : *from) {
        const auto had = now->find(name);
        if ((had == now->end() || had->second != value) &&
            fileCalls().fsetxattr(fd, name.c_str(), value.data(), value.size(), 0) != 0) {
            return false;
        }
    }
    return true;
}

// Gives the complete temporary what the old file was: its owner and group where this process
// may give them, its ACL and extended attributes, and its permission bits last. False where the
// temporary is not all that then. A refused call is no failure where the file system shows the
// temporary as the old file anyway (one that shows every file with one owner and mode).
bool becomeWhatTheOldWas(int fd, const Place& place) {
    const struct stat& old = *place.old;
    struct stat now {};
    if (::fstat(fd, &now) != 0) return false;
    if (now.st_uid != old.st_uid || now.st_gid != old.st_gid) {
        fileCalls().fchown(fd, now.st_uid != old.st_uid ? old.st_uid : static_cast<uid_t>(-1),
                           now.st_gid != old.st_gid ? old.st_gid : static_cast<gid_t>(-1));
    }
    if (!copyAttributes(fd, place.file.get())) return false;
    fileCalls().fchmod(fd, old.st_mode & 07777);
    if (::fstat(fd, &now) != 0) return false;
    return now.st_uid == old.st_uid && now.st_gid == old.st_gid && (now.st_mode & 07777) == (old.st_mode & 07777);
}

// ---- The two ways of saving ----

// The outcome of a save through a temporary file.
enum class Through {
    Saved,
    TakenAway,  // another save took the temporary for a killed one's leftover: start again
    InPlace,    // no file may be made beside the target, or none can become or replace it
};

// Writes the bytes to a new temporary file beside the target, then puts that in the target's
// place, so that the old file stays whole until the new one is.
Through saveThroughTemporary(const Place& place, const std::string& bytes) {
    // First, so that a save killed at once leaves no second stray.
    removeLeftovers(place);
    const int folder = place.folder.get();
    const std::string temp = temporaryFor(place.name);
    // The temporary of an existing file is this user's alone until it is what that file was.
    const Descriptor file(fileCalls().openat(folder, temp.c_str(),
                                             O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC,
                                             place.old ? 0600 : 0666));
    if (file.get() < 0) {
        if (errno == EACCES || errno == EPERM) return Through::InPlace;
        if (errno == EEXIST) return Through::TakenAway;  // a name drawn twice
        failErrno(errno);
    }
    const int fd = file.get();
    // The name is this save's alone.
    const auto drop = [&] { ::unlinkat(folder, temp.c_str(), 0); };
    const auto abandon = [&](int err) {
        drop();
        failErrno(err);
    };
    // The lock, held until the rename, tells this save from a killed one.
    if (tryLock(fd) == Lock::Busy) {
        drop();  // another save is removing it
        return Through::TakenAway;
    }
    if (const int err = writeFromStart(fd, bytes)) abandon(err);
    if (fileCalls().fsync(fd) != 0) abandon(errno);
    if (place.old && !becomeWhatTheOldWas(fd, place)) {
        drop();
        return Through::InPlace;
    }
    if (fileCalls().renameat(folder, temp.c_str(), folder, place.name.c_str()) != 0) {
        const int err = errno;
        struct stat held {};
        // Removed by a save that took it for a killed one's (where locks lock nothing).
        if (err == ENOENT && ::fstat(fd, &held) == 0 && held.st_nlink == 0) return Through::TakenAway;
        drop();
        // A sticky folder keeps another user's file from being replaced; a file mounted on its
        // own, or across file systems, cannot be.
        if (err == EACCES || err == EPERM || err == EBUSY || err == EXDEV) return Through::InPlace;
        failErrno(err);
    }
    return Through::Saved;
}

// Makes the rename last through a power cut. A folder that could not be opened for it, or whose
// file system cannot sync folders, is left as it is; a failed sync is reported, as the new file
// may then not be the one found after a power cut.
void syncFolder(const Place& place) {
    if (place.listed && fileCalls().fsync(place.folder.get()) != 0 && errno != EINVAL) failErrno(errno);
}

// Writes the bytes over the existing file itself, from its first byte, and cuts it to their
// length. The old bytes are kept and written back when this fails part-way, so that the file
// holds the old project or the new one.
void writeInPlace(const Place& place, const std::string& bytes) {
    // Neither a link (but the link on /proc the name is) nor another file that took the name since
    // it was looked up is written.
    const int follow = place.jump ? 0 : O_NOFOLLOW;
    const Descriptor file(fileCalls().openat(place.folder.get(), place.name.c_str(),
                                             O_RDWR | follow | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0));
    if (file.get() < 0) failErrno(errno);
    const int fd = file.get();
    struct stat held {};
    if (::fstat(fd, &held) != 0) failErrno(errno);
    if (!S_ISREG(held.st_mode) || held.st_dev != place.old->st_dev || held.st_ino != place.old->st_ino) {
        fail(automation::errPathFileAccess);
    }
    // Another save of the file in place is waited for.
    const auto deadline = std::chrono::steady_clock::now() + fileCalls().lockWait;
    while (tryLock(fd) == Lock::Busy) {
        if (std::chrono::steady_clock::now() >= deadline) failErrno(EWOULDBLOCK);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::string before;
    for (char chunk[65536];;) {
        const ssize_t n = ::pread(fd, chunk, sizeof chunk, static_cast<off_t>(before.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) failErrno(errno);
        if (n == 0) break;
        before.append(chunk, static_cast<std::size_t>(n));
    }
    // The error number of the first failing step, 0 when the file holds the bytes.
    const auto put = [fd](const std::string& b) -> int {
        if (const int err = writeFromStart(fd, b)) return err;
        if (::ftruncate(fd, static_cast<off_t>(b.size())) != 0 || fileCalls().fsync(fd) != 0) return errno;
        return 0;
    };
    if (const int err = put(bytes)) {
        put(before);
        failErrno(err);
    }
}

}  // namespace

void ReplaceFile(const std::string& name, const std::string& bytes) {
    if (name.empty()) fail(automation::errBadFileName);
    const Place place = resolve(name);
    if (place.old) {
        if (!S_ISREG(place.old->st_mode)) fail(automation::errPathFileAccess);  // a folder, FIFO, socket or device
        // A write-protected file stays.
        if (::faccessat(place.folder.get(), place.name.c_str(), W_OK, place.jump ? 0 : AT_SYMLINK_NOFOLLOW) != 0) {
            failErrno(errno);
        }
        // A new file would take one of its names only, or none of the file's own.
        if (place.old->st_nlink > 1 || place.jump) return writeInPlace(place, bytes);
    }
    const auto deadline = std::chrono::steady_clock::now() + fileCalls().lockWait;
    for (;;) {
        switch (saveThroughTemporary(place, bytes)) {
        case Through::Saved: syncFolder(place); return;
        case Through::InPlace:
            if (!place.old) failErrno(EACCES);
            writeInPlace(place, bytes);
            return;
        case Through::TakenAway:
            if (std::chrono::steady_clock::now() >= deadline) failErrno(EWOULDBLOCK);
            break;
        }
    }
}

std::string ReadRegularFile(const std::string& name, std::size_t limit) {
    if (name.empty()) fail(automation::errBadFileName);
    // The name first, so that nothing but a regular file is ever opened (opening a FIFO would
    // wait for a writer, a terminal could become the program's), then the file that was opened,
    // since the name may have changed in between.
    const auto failName = [&](int err) {
        if (err == ENOENT) raiseMissing(name);
        failErrno(err);
    };
    struct stat st {};
    if (::stat(name.c_str(), &st) != 0) failName(errno);
    if (!S_ISREG(st.st_mode)) fail(automation::errPathFileAccess);
    Descriptor file(::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) failName(errno);
    if (::fstat(file.get(), &st) != 0) failErrno(errno);
    if (!S_ISREG(st.st_mode)) fail(automation::errPathFileAccess);

    const std::size_t wanted = limit == SIZE_MAX ? limit : limit + 1;
    // Room for one byte more than the file holds now, where the end is seen.
    std::string bytes(std::min(wanted, static_cast<std::size_t>(std::max<off_t>(st.st_size, 0)) + 1), '\0');
    std::size_t done = 0;
    for (;;) {
        if (done == bytes.size()) {
            if (done == wanted) break;
            bytes.resize(std::min(wanted, std::max<std::size_t>(2 * done, 4096)));  // the file has grown
        }
        const ssize_t n = ::read(file.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) failErrno(errno);
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

}  // namespace corlink::detail
