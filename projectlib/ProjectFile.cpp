// The project file "*.dal": the header, then the ballasts, DALI scenes, DALI groups and scene
// data, as many entries of each as the limits in force say. Little endian, no padding; a text
// is a 2-byte length and that many Windows-1252 bytes; a date is an 8-byte double.
#include "corlink/clsOrvekDali.h"

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
#include <sys/stat.h>
#include <unistd.h>

namespace corlink {

namespace {

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

// The temporary file that every save of a target writes first: a short hidden name derived from
// the target's name (so that a name of any legal length can be saved), the same for every save
// of that target, so that saves killed before their rename leave this one file at most.
fs::path temporaryFor(const fs::path& target) {
    std::uint64_t hash = 0xcbf29ce484222325;  // FNV-1a, 64 bits
    for (const unsigned char c : target.filename().string()) hash = (hash ^ c) * 0x100000001b3;
    char name[24];
    std::snprintf(name, sizeof name, ".~dal%016llx", static_cast<unsigned long long>(hash));
    return target.parent_path() / name;
}

// How long a save waits for another one of the same target to finish.
constexpr std::chrono::seconds kLockWait{10};

// Opens the target's temporary file and holds an exclusive lock on it, so that two saves of one
// target never mix their bytes. The name is checked to still stand for the locked file: a save
// that finished meanwhile has renamed it, and the next one starts a new file under the name.
int openLockedTemporary(const fs::path& temp) {
    const auto deadline = std::chrono::steady_clock::now() + kLockWait;
    for (;;) {
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
        if (fd < 0) failErrno(errno);
        Descriptor file(fd);
        struct stat held {};
        if (::fstat(fd, &held) != 0) failErrno(errno);
        if (!S_ISREG(held.st_mode)) fail(automation::errPathFileAccess);
        while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EINTR) continue;
            if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) failErrno(errno);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        struct stat named {};
        if (::lstat(temp.c_str(), &named) == 0 && named.st_dev == held.st_dev && named.st_ino == held.st_ino) {
            return file.release();
        }
        if (std::chrono::steady_clock::now() >= deadline) failErrno(EWOULDBLOCK);
    }
}

// Writes the bytes to the target's temporary file beside it, then puts that in the target's
// place, so that the old file stays whole until the new one is. The new file takes over the
// permission bits of the file it replaces. Only a regular file is replaced.
void replaceFile(const std::string& name, const std::string& bytes) {
    if (name.empty()) fail(automation::errBadFileName);
    const fs::path target = linkTarget(name);

    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    if (!existed && errno != ENOENT) failErrno(errno);
    if (existed && !S_ISREG(old.st_mode)) fail(automation::errPathFileAccess);  // a folder, FIFO, socket or device
    if (existed && ::access(target.c_str(), W_OK) != 0) failErrno(errno);       // a write-protected file stays

    const fs::path temp = temporaryFor(target);
    Descriptor file(openLockedTemporary(temp));
    const int fd = file.get();
    // On failure the temporary goes while it is still locked and still ours.
    const auto abandon = [&](int err) {
        ::unlink(temp.c_str());
        failErrno(err);
    };
    // A save killed earlier may have left it with bytes.
    if (::ftruncate(fd, 0) != 0) abandon(errno);
    if (existed && ::fchmod(fd, old.st_mode & 07777) != 0) abandon(errno);
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) abandon(n < 0 ? errno : EIO);
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) abandon(errno);
    // Still under the lock, which goes with the descriptor.
    if (::rename(temp.c_str(), target.c_str()) != 0) abandon(errno);
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
