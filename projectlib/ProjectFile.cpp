// The project file "*.dal": the header, then the ballasts, DALI scenes, DALI groups and scene
// data, as many entries of each as the limits in force say. Little endian, no padding; a text
// is a 2-byte length and that many Windows-1252 bytes; a date is an 8-byte double.
#include "corlink/clsOrvekDali.h"

#include "FileErrors.h"
#include "SafeFile.h"
#include "automation_error.h"
#include "corlink/ProjectFile.h"
#include "oledate.h"
#include "text1252.h"

#include <bit>
#include <type_traits>
#include <utility>

namespace corlink {

namespace {

using detail::kSource;

[[noreturn]] void fail(std::int32_t number) { automation::raiseRuntime(number, kSource); }

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
    detail::ReplaceFile(NameofFile, w.bytes());

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
    return detail::ReadRegularFile(NameofFile, limit);
}

}  // namespace corlink
