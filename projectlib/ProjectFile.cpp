// The project file "*.dal": the header, then the ballasts, DALI scenes, DALI groups and scene
// data, as many entries of each as the limits in force say. Little endian, no padding; a text
// is a 2-byte length and that many Windows-1252 bytes; a date is an 8-byte double.
#include "corlink/clsOrvekDali.h"

#include "FileErrors.h"
#include "automation_error.h"
#include "oledate.h"
#include "text1252.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <utility>

#include <fcntl.h>
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
        if (ansi.size() > 0xFFFF) automation::raise(automation::errOverflow, kSource, "Text too long for the project file");
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

// Decodes fields from an open file; a file that ends early raises error 62.
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

// Opens an existing project file for reading only.
std::ifstream openForReading(const std::string& name) {
    if (name.empty()) fail(automation::errBadFileName);
    return detail::openForReading(name);
}

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

// Writes the bytes to a new file beside the target, then puts it in the target's place, so
// that the old file stays whole until the new one is. The new file has a short name of its
// own, so that a target name of any legal length can be saved, and takes over the permission
// bits of the file it replaces.
void replaceFile(const std::string& name, const std::string& bytes) {
    if (name.empty()) fail(automation::errBadFileName);
    const fs::path target = linkTarget(name);
    std::error_code ec;
    if (fs::is_directory(target, ec)) fail(automation::errPathFileAccess);

    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    if (existed && ::access(target.c_str(), W_OK) != 0) failErrno(errno);  // a write-protected file stays
    std::string temp;
    int fd = -1;
    for (int n = 0; fd < 0; ++n) {
        temp = (target.parent_path() / (".~dal" + std::to_string(::getpid()) + "-" + std::to_string(n))).string();
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && (errno != EEXIST || n >= 100)) failErrno(errno);
    }
    const auto abandon = [&](int err) {
        if (fd >= 0) ::close(fd);
        ::unlink(temp.c_str());
        failErrno(err);
    };
    if (existed && ::fchmod(fd, old.st_mode & 07777) != 0) abandon(errno);
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) abandon(n < 0 ? errno : EIO);
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) abandon(errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0) abandon(errno);
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
        std::ifstream in = openForReading(NameofFile);
        Reader r(in);
        TypHeader header;
        headerFields(r, header);
        // Read into copies: the project takes the file over only when all of it was read.
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
    } catch (const automation::AutomationError& e) {
        raiseInterfaceError(e.number());
        return;
    }
    mChangeFlag = false;
    raiseHeaderChanged();
}

void clsOrvekDali::OpenProjektMaxData(const std::string& NameofFile) {
    std::ifstream in = openForReading(NameofFile);
    Reader r(in);
    TypHeader header;
    headerFields(r, header);
    header.DateiName = NameofFile;
    mHeader = std::move(header);
}

}  // namespace corlink
