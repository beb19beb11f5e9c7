// The project file "*.dal": the header, then the ballasts, DALI scenes, DALI groups and scene
// data, as many entries of each as the limits in force say. Little endian, no padding; a text
// is a 2-byte length and that many Windows-1252 bytes; a date is an 8-byte double.
#include "corlink/clsOrvekDali.h"

#include "FileCalls.h"
#include "FileErrors.h"
#include "automation_error.h"
#include "corlink/ProjectFile.h"
#include "oledate.h"
#include "text1252.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <type_traits>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corlink {

detail::FileCalls& detail::fileCalls() {
    static FileCalls calls{::flock, ::fsync};
    return calls;
}

namespace {

using detail::fileCalls;

namespace fs = std::filesystem;

using detail::kSource;
constexpr std::int32_t errDiskFull = 61;

[[noreturn]] void fail(std::int32_t number) { automation::raiseRuntime(number, kSource); }

// The run-time error for a failed system call.
[[noreturn]] void failErrno(int err) {
    if (err == ENOSPC || err == EDQUOT) automation::raise(errDiskFull, kSource, "Disk full");
    detail::raiseFileError(err);
}

// Encodes fields into the bytes of a file.
class Writer {
public:
    void operator()(std::uint8_t v) { bytes_ += static_cast<char>(v); }
    void operator()(std::int16_t v) { little(static_cast<std::uint16_t>(v), 2); }
    void operator()(std::int32_t v) { little(static_cast<std::uint32_t>(v), 4); }
    void operator()(double date) { little(std::bit_cast<std::uint64_t>(date), 8); }
    void operator()(const std::string& text) {
        const std::string ansi = automation::toWindows1252(text);
        // The 2-byte length cannot count more.
        if (ansi.size() > 0xFFFF)
            automation::raise(automation::errOverflow, kSource, "Text too long for the project file");
        little(ansi.size(), 2);
        bytes_ += ansi;
    }
    const std::string& bytes() const noexcept { return bytes_; }

private:
    void little(std::uint64_t v, int count) {
        for (int i = 0; i < count; ++i) bytes_ += static_cast<char>((v >> (8 * i)) & 0xFF);
    }
    std::string bytes_;
};

// Decodes fields from a stream; one that ends early raises error 62, one that fails 75.
class Reader {
public:
    explicit Reader(std::istream& in) : in_(in) {}
    void operator()(std::uint8_t& v) { v = static_cast<std::uint8_t>(little(1)); }
    void operator()(std::int16_t& v) { v = static_cast<std::int16_t>(little(2)); }
    void operator()(std::int32_t& v) { v = static_cast<std::int32_t>(little(4)); }
    void operator()(double& date) { date = std::bit_cast<double>(little(8)); }
    void operator()(std::string& text) {
        std::string ansi(static_cast<std::size_t>(little(2)), '\0');
        read(ansi.data(), ansi.size());
        text = automation::fromWindows1252(ansi);
    }

private:
    std::uint64_t little(int count) {
        unsigned char b[8] = {};
        read(reinterpret_cast<char*>(b), static_cast<std::size_t>(count));
        std::uint64_t v = 0;
        for (int i = count - 1; i >= 0; --i) v = (v << 8) | b[i];
        return v;
    }
    void read(char* to, std::size_t count) {
        if (count == 0) return;
        in_.read(to, static_cast<std::streamsize>(count));
        if (in_.bad()) fail(automation::errPathFileAccess);
        if (static_cast<std::size_t>(in_.gcount()) != count) fail(automation::errInputPastEnd);
    }
    std::istream& in_;
};

// Counts the bytes of fields at their longest: a text as its length and 65535 bytes.
class LongestSize {
public:
    template <class Number>
    void operator()(const Number&) {
        size += sizeof(Number);
    }
    void operator()(const std::string&) { size += 2 + 0xFFFF; }
    std::size_t size = 0;
};

// The layout, once for writing (const records) and reading. The field types pick the encoding.
template <class Io, class H>
void headerFields(Io& io, H& h) {
    io(h.ProjektBeschreibung);
    io(h.ProjektKennung);
    io(h.DateiName);
    io(h.phyAdr);
    io(h.phyAdrString);
    io(h.Bestellnummer);
    io(h.Version);
    io(h.LetzterZugriff);
    io(h.LetzterDownload);
    io(h.LetzterUpload);
    io(h.Bemerkung1);
    io(h.Bemerkung1ID);
    io(h.Bemerkung2);
    io(h.Bemerkung2ID);
}

template <class Io, class B>
void ballastFields(Io& io, B& b) {
    io(b.Gruppe);
    io(b.pAdrL);
    io(b.pAdrM);
    io(b.pAdrH);
    io(b.Name);
    io(b.GrpName);
    io(b.Index);
    io(b.Des1);
    io(b.Des2);
}

template <class Io, class S>
void sceneFields(Io& io, S& s) {
    io(s.Byte1);
    io(s.Byte2);
    io(s.Index);
}

template <class Io, class G>
void groupFields(Io& io, G& g) {
    io(g.Name);
    io(g.EinschaltZeit);
    io(g.AusschaltZeit);
    io(g.Value1);
    io(g.Desc1);
    io(g.Index);
}

template <class Io, class D>
void sceneDataFields(Io& io, D& d) {
    io(d.Byte1);
    io(d.Byte2);
    io(d.Byte3);
    io(d.Byte4);
    io(d.Byte5);
    io(d.Byte6);
    io(d.Byte7);
    io(d.Byte8);
    io(d.Index);
}

// The DALI part of the project as the file holds it (const when written).
template <class Ballasts, class Scenes, class Groups, class SceneData>
struct DaliPart {
    Ballasts& DaliGruppe;
    Scenes& DaliScene;
    Groups& DaliEinzelgruppe;
    SceneData& DaliSceneData;
};
template <class Ballasts, class Scenes, class Groups, class SceneData>
DaliPart(Ballasts&, Scenes&, Groups&, SceneData&) -> DaliPart<Ballasts, Scenes, Groups, SceneData>;

// Sections 2 to 5; a limit beyond a fixed array raises error 9.
template <class Io, class Part>
void daliSections(Io& io, const TypMaxGrenzwerte& g, Part& p) {
    for (std::int32_t i = 0; i < g.MaxDaligruppen; ++i) ballastFields(io, fixedAt(p.DaliGruppe, i));
    for (std::int32_t i = 0; i < g.MaxDaliScenes; ++i) sceneFields(io, p.DaliScene(i));
    for (std::int32_t i = 0; i < g.MaxDaliEinzelGruppen; ++i) groupFields(io, fixedAt(p.DaliEinzelgruppe, i));
    for (std::int32_t i = 0; i < g.MaxDaliScenesData; ++i) sceneDataFields(io, fixedAt(p.DaliSceneData, i));
}

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) noexcept : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const noexcept { return fd_; }
    int release() noexcept { return std::exchange(fd_, -1); }

private:
    int fd_;
};

// The file that a name stands for: symbolic links are followed to the file they point to (which
// need not exist yet), so that a save replaces that file and the links stay.
fs::path linkTarget(const fs::path& name) {
    constexpr int kMaxLinks = 40;  // as the system's own path lookup
    fs::path path = name;
    for (int links = 0;; ++links) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
        if (links == kMaxLinks) failErrno(ELOOP);
        const fs::path to = fs::read_symlink(path, ec);
        if (ec) failErrno(ec.value());
        path = to.is_absolute() ? to : path.parent_path() / to;
    }
}

// The hidden names of a target's temporary files: a short prefix derived from the target's name
// (so that a name of any legal length can be saved), by which the leftovers of killed saves are
// found; earlier versions used the prefix alone as the one temporary of every save.
std::string temporaryPrefix(const fs::path& target) {
    std::uint64_t hash = 0xcbf29ce484222325;  // FNV-1a, 64 bits
    for (const unsigned char c : target.filename().string()) hash = (hash ^ c) * 0x100000001b3;
    char name[24];
    std::snprintf(name, sizeof name, ".~dal%016llx", static_cast<unsigned long long>(hash));
    return name;
}

// A temporary file name of its own for one save: the prefix and 16 random hex digits, so that
// nobody can create the file before the save does.
fs::path temporaryFor(const fs::path& target) {
    std::uint64_t suffix = 0;
    for (;;) {
        const ssize_t n = ::getrandom(&suffix, sizeof suffix, 0);
        if (n == static_cast<ssize_t>(sizeof suffix)) break;
        if (n < 0 && errno != EINTR) failErrno(errno);
    }
    char name[24];
    std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(suffix));
    return target.parent_path() / (temporaryPrefix(target) + name);
}

// How long a save waits for a lock on the file it writes in place, or starts again while other
// saves take its temporary away.
constexpr std::chrono::seconds kLockWait{10};

fs::path folderOf(const fs::path& target) {
    return target.parent_path().empty() ? fs::path(".") : target.parent_path();
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
// are regular files of this user and that no running save holds locked. Only where locks exist:
// without them a running save's file cannot be told from a killed one's.
void removeLeftovers(const fs::path& target) {
    const std::string prefix = temporaryPrefix(target);
    std::error_code ec;
    for (fs::directory_iterator it(folderOf(target), ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path path = it->path();
        const std::string name = path.filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        const Descriptor file(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat held {};
        if (file.get() < 0 || ::fstat(file.get(), &held) != 0 || !S_ISREG(held.st_mode) || held.st_uid != ::geteuid() ||
            tryLock(file.get()) != Lock::Held) {
            continue;
        }
        // The name may have been taken by a save that finished meanwhile.
        struct stat named {};
        if (::lstat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev && named.st_ino == held.st_ino) {
            ::unlink(path.c_str());
        }
    }
}

// The outcome of a save through a temporary file.
enum class Through {
    Saved,
    TakenAway,     // another save took the temporary for a killed one's leftover: start again
    NoPermission,  // no file may be made or replaced beside the target
};

// Writes the bytes to a new temporary file beside the target, then puts that in the target's
// place, so that the old file stays whole until the new one is. The new file is this user's, with
// the permission bits of the file it replaces (old), or 0666 less the umask.
Through saveThroughTemporary(const fs::path& target, const struct stat* old, const std::string& bytes) {
    // First, so that a save killed at once leaves no second stray.
    removeLeftovers(target);
    const fs::path temp = temporaryFor(target);
    const Descriptor file(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666));
    if (file.get() < 0) {
        if (errno == EACCES || errno == EPERM) return Through::NoPermission;
        if (errno == EEXIST) return Through::TakenAway;  // a name drawn twice
        failErrno(errno);
    }
    const int fd = file.get();
    // On failure the temporary goes; the name is this save's alone.
    const auto abandon = [&](int err) {
        ::unlink(temp.c_str());
        failErrno(err);
    };
    // The lock, held until the rename, tells this save from a killed one.
    if (tryLock(fd) == Lock::Busy) {
        ::unlink(temp.c_str());  // another save is removing it
        return Through::TakenAway;
    }
    if (old && ::fchmod(fd, old->st_mode & 07777) != 0) abandon(errno);
    if (const int err = writeFromStart(fd, bytes)) abandon(err);
    if (fileCalls().fsync(fd) != 0) abandon(errno);
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        struct stat held {};
        // Removed by a save that took it for a killed one's (where locks lock nothing).
        if (err == ENOENT && ::fstat(fd, &held) == 0 && held.st_nlink == 0) return Through::TakenAway;
        ::unlink(temp.c_str());
        // A sticky folder keeps another user's file from being replaced.
        if (err == EACCES || err == EPERM) return Through::NoPermission;
        failErrno(err);
    }
    return Through::Saved;
}

// Makes the rename last through a power cut. A folder that cannot be opened for it, or whose file
// system cannot sync folders, is left as it is; a failed sync is reported, as the new file may
// then not be the one found after a power cut.
void syncFolder(const fs::path& target) {
    const Descriptor dir(::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0 && fileCalls().fsync(dir.get()) != 0 && errno != EINVAL) failErrno(errno);
}

// Writes the bytes over an existing file itself, from its first byte, and cuts it to their
// length: for a file that this user may write but not replace. The old bytes are kept and
// written back when this fails part-way, so that the file holds the old project or the new one.
void writeInPlace(const fs::path& target, const struct stat& old, const std::string& bytes) {
    const Descriptor file(::open(target.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) failErrno(errno);
    const int fd = file.get();
    struct stat held {};
    if (::fstat(fd, &held) != 0) failErrno(errno);
    if (!S_ISREG(held.st_mode) || held.st_dev != old.st_dev || held.st_ino != old.st_ino) {
        fail(automation::errPathFileAccess);
    }
    // Another save of the file in place is waited for.
    const auto deadline = std::chrono::steady_clock::now() + kLockWait;
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

// Saves the bytes under the name: through a temporary file where one can be made beside the
// target, else in place. Only a regular file is replaced.
void replaceFile(const std::string& name, const std::string& bytes) {
    if (name.empty()) fail(automation::errBadFileName);
    const fs::path target = linkTarget(name);

    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    if (!existed && errno != ENOENT) failErrno(errno);
    if (existed && !S_ISREG(old.st_mode)) fail(automation::errPathFileAccess);  // a folder, FIFO, socket or device
    if (existed && ::access(target.c_str(), W_OK) != 0) failErrno(errno);       // a write-protected file stays

    const auto deadline = std::chrono::steady_clock::now() + kLockWait;
    for (;;) {
        switch (saveThroughTemporary(target, existed ? &old : nullptr, bytes)) {
        case Through::Saved: syncFolder(target); return;
        case Through::NoPermission:
            if (!existed) failErrno(EACCES);
            writeInPlace(target, old, bytes);
            return;
        case Through::TakenAway:
            if (std::chrono::steady_clock::now() >= deadline) failErrno(EWOULDBLOCK);
            break;
        }
    }
}

}  // namespace

void clsOrvekDali::SaveProjektData(const std::string& NameofFile) {
    TypHeader header = mHeader;
    header.DateiName = NameofFile;
    header.LetzterZugriff = automation::now();

    Writer w;
    headerFields(w, std::as_const(header));
    DaliPart part{std::as_const(mDaliGruppe), std::as_const(mDaliScene), std::as_const(mDaliEinzelgruppe),
                  std::as_const(mDaliSceneData)};
    daliSections(w, mGrenzwerte, part);
    replaceFile(NameofFile, w.bytes());

    mHeader = std::move(header);
    mChangeFlag = false;
    raiseHeaderChanged();
}

void clsOrvekDali::OpenProjektData(const std::string& NameofFile) {
    try {
        // The file may be longer than the limits in force need; the rest is not read.
        const std::string bytes = ReadProjectFileBytes(NameofFile, MaxProjectFileSize(mGrenzwerte));
        ByteStream in(bytes);
        ReadProjekt(in, NameofFile);
    } catch (const automation::AutomationError& e) {
        raiseInterfaceError(e.number());
        return;
    }
    mChangeFlag = false;
    raiseHeaderChanged();
}

void clsOrvekDali::OpenProjektMaxData(const std::string& NameofFile) {
    const std::string bytes = ReadProjectFileBytes(NameofFile, MaxProjectFileSize(TypMaxGrenzwerte{}));
    ByteStream in(bytes);
    TypHeader header = ReadProjektHeader(in);
    header.DateiName = NameofFile;
    mHeader = std::move(header);
}

TypHeader clsOrvekDali::ReadProjektHeader(std::istream& File) {
    Reader r(File);
    TypHeader header;
    headerFields(r, header);
    return header;
}

void clsOrvekDali::ReadProjekt(std::istream& File, const std::string& NameofFile) {
    TypHeader header = ReadProjektHeader(File);
    // Read into copies: the project takes the file over only when all of it was read.
    Reader r(File);
    auto ballasts = mDaliGruppe;
    auto scenes = mDaliScene;
    auto groups = mDaliEinzelgruppe;
    auto sceneData = mDaliSceneData;
    DaliPart part{ballasts, scenes, groups, sceneData};
    daliSections(r, mGrenzwerte, part);

    header.DateiName = NameofFile;
    mHeader = std::move(header);
    mDaliGruppe = std::move(ballasts);
    mDaliScene = std::move(scenes);
    mDaliEinzelgruppe = std::move(groups);
    mDaliSceneData = std::move(sceneData);
}

template <class A, class B, class F>
void clsOrvekDali::forEachProjectMember(A& a, B& b, F f) {
    f(a.mDeviceInfo, b.mDeviceInfo);
    f(a.mDaliGruppe, b.mDaliGruppe);
    f(a.mdaliCommand, b.mdaliCommand);
    f(a.mDaliScene, b.mDaliScene);
    f(a.mDaliSceneData, b.mDaliSceneData);
    f(a.mDaliEinzelgruppe, b.mDaliEinzelgruppe);
    f(a.mHeader, b.mHeader);
    f(a.mSzene, b.mSzene);
    f(a.mTasten, b.mTasten);
    f(a.mBeleuchtungsGruppe, b.mBeleuchtungsGruppe);
    f(a.mBelueftungsGruppe, b.mBelueftungsGruppe);
    f(a.mTemperaturGruppe, b.mTemperaturGruppe);
    f(a.mJalousieGruppe, b.mJalousieGruppe);
    f(a.mMeldeGruppe, b.mMeldeGruppe);
    f(a.mZeiten, b.mZeiten);
    f(a.mChangeFlag, b.mChangeFlag);
    f(a.mPropObjID, b.mPropObjID);
    f(a.mGrenzwerte, b.mGrenzwerte);
    f(a.mFGruppen, b.mFGruppen);
}

void clsOrvekDali::CopyProjekt(const clsOrvekDali& from) {
    forEachProjectMember(*this, from, [](auto& to, const auto& value) { to = value; });
}

void clsOrvekDali::TakeProjekt(clsOrvekDali& from) {
    forEachProjectMember(*this, from, [](auto& a, auto& b) noexcept {
        static_assert(std::is_nothrow_swappable_v<std::remove_reference_t<decltype(a)>>);
        std::swap(a, b);
    });
    mChangeFlag = false;
    raiseHeaderChanged();
}

std::size_t MaxProjectFileSize(const TypMaxGrenzwerte& limits) {
    const TypHeader h;
    const TypDaliGruppe b;
    const TypDaliScene s;
    const TypDaliEinzelGruppe g;
    const TypDaliSceneData d;
    LongestSize header, ballast, scene, group, sceneData;
    headerFields(header, h);
    ballastFields(ballast, b);
    sceneFields(scene, s);
    groupFields(group, g);
    sceneDataFields(sceneData, d);
    return header.size + limits.MaxDaligruppen * ballast.size + limits.MaxDaliScenes * scene.size +
           limits.MaxDaliEinzelGruppen * group.size + limits.MaxDaliScenesData * sceneData.size;
}

std::string ReadProjectFileBytes(const std::string& NameofFile, std::size_t limit) {
    if (NameofFile.empty()) fail(automation::errBadFileName);
    // The name first, so that nothing but a regular file is ever opened (opening a FIFO would
    // wait for a writer, a terminal could become the program's), then the file that was opened,
    // since the name may have changed in between.
    const auto failName = [&](int err) {
        if (err == ENOENT) detail::raiseMissing(NameofFile);
        failErrno(err);
    };
    struct stat st {};
    if (::stat(NameofFile.c_str(), &st) != 0) failName(errno);
    if (!S_ISREG(st.st_mode)) fail(automation::errPathFileAccess);
    Descriptor file(::open(NameofFile.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
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

}  // namespace corlink
