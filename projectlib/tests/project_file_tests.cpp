#include "corlink/ProjectFile.h"
#include "oledate.h"
#include "tables_test_access.h"
#include "test_support.h"
#include "testing/as_user.h"

#include <bit>
#include <chrono>
#include <csignal>
#include <random>
#include <string_view>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>

using namespace corlink;
using corlink::test::errorOf;
using corlink::test::ScopedFileCalls;
using corlink::test::temporaryPrefixOf;
using corlink::test::readFile;
using corlink::test::writeFile;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes read(const std::string& file) {
    const std::string s = readFile(file);
    return Bytes(s.begin(), s.end());
}
void write(const std::string& file, const Bytes& bytes) { writeFile(file, std::string(bytes.begin(), bytes.end())); }
Bytes slice(const Bytes& f, std::size_t from, std::size_t count) {
    return Bytes(f.begin() + static_cast<std::ptrdiff_t>(from), f.begin() + static_cast<std::ptrdiff_t>(from + count));
}

// The Windows-1252 bytes of a test text: ASCII and the few other letters the texts use.
std::string ansi(const std::string& utf8) {
    static constexpr std::pair<std::string_view, char> kLetters[] = {
        {"ä", '\xE4'}, {"ö", '\xF6'}, {"ü", '\xFC'}, {"ß", '\xDF'}, {"§", '\xA7'}, {"€", '\x80'}, {"–", '\x96'}};
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto* letter = std::find_if(std::begin(kLetters), std::end(kLetters),
                                          [&](const auto& l) { return utf8.compare(i, l.first.size(), l.first) == 0; });
        if (letter != std::end(kLetters)) {
            out += letter->second;
            i += letter->first.size();
        } else {
            EXPECT_LT(static_cast<unsigned char>(utf8[i]), 0x80) << utf8;
            out += utf8[i++];
        }
    }
    return out;
}

// Lays out the bytes of a project file field by field: little endian, a date as an 8-byte
// double, a text as its 2-byte length and its Windows-1252 bytes.
class FileBytes {
public:
    FileBytes& u8(std::uint8_t v) {
        bytes.push_back(v);
        return *this;
    }
    FileBytes& i16(std::int16_t v) { return little(static_cast<std::uint16_t>(v), 2); }
    FileBytes& i32(std::int32_t v) { return little(static_cast<std::uint32_t>(v), 4); }
    FileBytes& date(double v) { return little(std::bit_cast<std::uint64_t>(v), 8); }
    FileBytes& text(const std::string& utf8) {
        const std::string a = ansi(utf8);
        little(a.size(), 2);
        bytes.insert(bytes.end(), a.begin(), a.end());
        return *this;
    }
    Bytes bytes;

private:
    FileBytes& little(std::uint64_t v, int count) {
        for (int i = 0; i < count; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        return *this;
    }
};

// What the file holds: every section full under the gateway limits (G 64, S 16, E 16, D 32).
struct StoredFields {
    TypHeader header;
    std::array<TypDaliGruppe, 64> ballasts{};
    std::array<TypDaliScene, 16> scenes{};
    std::array<TypDaliEinzelGruppe, 16> groups{};
    std::array<TypDaliSceneData, 32> sceneData{};
};

// A distinct value in every stored field, each differing from its neighbours: 8-bit texts,
// empty texts, negative numbers, dates with a time of day.
StoredFields storedFields(const std::string& fileName, double lastAccess) {
    StoredFields s;
    TypHeader& h = s.header;
    h.ProjektBeschreibung = "Büro 1. OG – Nord";
    h.ProjektKennung = "K-17 §4";
    h.DateiName = fileName;
    h.phyAdr = -305419896;
    h.phyAdrString = "15.15.255";
    h.Bestellnummer = "517204";
    h.Version = "11";
    h.LetzterZugriff = lastAccess;
    h.LetzterDownload = 40179.25;
    h.LetzterUpload = -1.75;
    h.Bemerkung1 = "Straße";
    h.Bemerkung1ID = -12345;
    h.Bemerkung2 = "zweite € Bemerkung";
    h.Bemerkung2ID = "B2";
    for (std::size_t i = 0; i < s.ballasts.size(); ++i) {
        const auto n = static_cast<std::uint8_t>(i);
        const std::string no = std::to_string(i);
        TypDaliGruppe& b = s.ballasts[i];
        b.Gruppe = n % 17;
        b.pAdrL = static_cast<std::uint8_t>(0x40 + n);
        b.pAdrM = static_cast<std::uint8_t>(0x80 + n);
        b.pAdrH = static_cast<std::uint8_t>(0xC0 + n);
        b.Name = "EVG ä" + no;
        b.GrpName = "Gruppe " + std::to_string(i % 16);
        b.Index = static_cast<std::uint8_t>(100 + n);
        b.Des1 = "d1-" + no;
        b.Des2 = i % 2 ? "" : "ö2-" + no;
    }
    for (std::size_t i = 0; i < s.scenes.size(); ++i) {
        const auto n = static_cast<std::uint8_t>(i);
        s.scenes[i] = {static_cast<std::uint8_t>(0xA0 + n), static_cast<std::uint8_t>(0x10 + n),
                       static_cast<std::uint8_t>(0xE0 + n)};
    }
    for (std::size_t k = 0; k < s.groups.size(); ++k) {
        const auto n = static_cast<std::uint8_t>(k);
        TypDaliEinzelGruppe& g = s.groups[k];
        g.Name = k == 15 ? "" : "Flur ü" + std::to_string(k);
        g.EinschaltZeit = static_cast<std::uint8_t>(10 + n);
        g.AusschaltZeit = static_cast<std::uint8_t>(50 + n);
        g.Value1 = static_cast<std::uint8_t>(250 - n);
        g.Desc1 = "€ " + std::to_string(k);
        g.Index = static_cast<std::uint8_t>(0x70 + n);
    }
    for (std::size_t j = 0; j < s.sceneData.size(); ++j) {
        const auto b = [j](int n) { return static_cast<std::uint8_t>(j * 8 + static_cast<std::size_t>(n)); };
        s.sceneData[j] = {b(0), b(1), b(2), b(3), b(4), b(5), b(6), b(7), static_cast<std::uint8_t>(0x80 + j)};
    }
    return s;
}

// Section 1 of the file: the header's 14 fields.
Bytes headerBytes(const TypHeader& h) {
    FileBytes f;
    f.text(h.ProjektBeschreibung).text(h.ProjektKennung).text(h.DateiName).i32(h.phyAdr).text(h.phyAdrString);
    f.text(h.Bestellnummer).text(h.Version).date(h.LetzterZugriff).date(h.LetzterDownload).date(h.LetzterUpload);
    f.text(h.Bemerkung1).i16(h.Bemerkung1ID).text(h.Bemerkung2).text(h.Bemerkung2ID);
    return f.bytes;
}

// The whole file: the header, then the ballasts, the DALI scenes, the DALI groups, the scene data.
Bytes layOut(const StoredFields& s) {
    FileBytes f;
    f.bytes = headerBytes(s.header);
    for (const TypDaliGruppe& b : s.ballasts) {
        f.u8(b.Gruppe).u8(b.pAdrL).u8(b.pAdrM).u8(b.pAdrH).text(b.Name).text(b.GrpName);
        f.u8(b.Index).text(b.Des1).text(b.Des2);
    }
    for (const TypDaliScene& d : s.scenes) f.u8(d.Byte1).u8(d.Byte2).u8(d.Index);
    for (const TypDaliEinzelGruppe& g : s.groups) {
        f.text(g.Name).u8(g.EinschaltZeit).u8(g.AusschaltZeit).u8(g.Value1).text(g.Desc1).u8(g.Index);
    }
    for (const TypDaliSceneData& d : s.sceneData) {
        f.u8(d.Byte1).u8(d.Byte2).u8(d.Byte3).u8(d.Byte4).u8(d.Byte5).u8(d.Byte6).u8(d.Byte7).u8(d.Byte8).u8(d.Index);
    }
    return f.bytes;
}

std::array<TypDaliSceneData, 33>& sceneData(clsOrvekDali& p) { return ListsAndTablesTestAccess::sceneData(p); }

void store(clsOrvekDali& p, const StoredFields& s) {
    p.letHeader(s.header);
    for (std::int16_t i = 0; i < 64; ++i) p.letDaliGruppe(i, s.ballasts[static_cast<std::size_t>(i)]);
    for (std::int16_t i = 0; i < 16; ++i) {
        p.letDaliScene(i, s.scenes[static_cast<std::size_t>(i)]);
        p.letDaliEinzelgruppe(i, s.groups[static_cast<std::size_t>(i)]);
    }
    std::copy(s.sceneData.begin(), s.sceneData.end(), sceneData(p).begin());
}

// Entries beyond the limits, which the file does not hold.
void fillBeyondTheLimits(clsOrvekDali& p) {
    p.letDaliGruppe(64, TypDaliGruppe{1, 2, 3, 4, "spare", "", 64, "", ""});
    p.letDaliScene(16, TypDaliScene{5, 6, 16});
    p.letDaliEinzelgruppe(16, TypDaliEinzelGruppe{"spare", 7, 8, 9, "", 16});
    sceneData(p)[32] = TypDaliSceneData{1, 2, 3, 4, 5, 6, 7, 8, 32};
}
void expectBeyondTheLimitsKept(clsOrvekDali& p) {
    EXPECT_EQ(p.DaliGruppe(64), (TypDaliGruppe{1, 2, 3, 4, "spare", "", 64, "", ""}));
    EXPECT_EQ(p.DaliScene(16), (TypDaliScene{5, 6, 16}));
    EXPECT_EQ(p.DaliEinzelgruppe(16), (TypDaliEinzelGruppe{"spare", 7, 8, 9, "", 16}));
    EXPECT_EQ(sceneData(p)[32], (TypDaliSceneData{1, 2, 3, 4, 5, 6, 7, 8, 32}));
}

// Byte for byte, naming the first offset that differs.
void expectSameBytes(const Bytes& actual, const Bytes& expected) {
    const auto diff = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    if (diff.first == actual.end() && diff.second == expected.end()) return;
    ADD_FAILURE() << "sizes " << actual.size() << " and " << expected.size() << ", first difference at byte "
                  << (diff.first - actual.begin());
}

class ProjectFile : public ::testing::Test {
protected:
    ProjectFile() {
        test::size(p);
        store(p, storedFields("old.dal", 0));
    }
    std::string path(const std::string& name) const { return folder.path(name); }
    // A name of the given length (as the system counts it, in bytes) of a file in the test's
    // folder: "./" repeated, then the file's own name.
    std::string nameOfLength(std::size_t length) const {
        std::string name = folder.dir.string() + "/";
        while (length - name.size() > 6) name += "./";
        return name + std::string(length - name.size() - 4, 'n') + ".dal";
    }
    std::size_t filesInFolder() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder.dir), fs::directory_iterator()));
    }
    test::TempFolder folder;
    clsOrvekDali p;  // sized, every stored field set
};

constexpr double kNewYear2010Noon = 40179.5;  // 1 January 2010, 12:00

}  // namespace

TEST_F(ProjectFile, FieldsAreEncodedAsTheFileLayoutSays) {
    automation::ScopedClock clock([] { return kNewYear2010Noon; });
    ASSERT_EQ(automation::toOleDate({2010, 1, 1, 12, 0, 0}), kNewYear2010Noon);

    // Before any sizing (all limits 0) the file is the header alone: 48 bytes and the texts.
    clsOrvekDali bare;
    TypHeader h;
    h.ProjektBeschreibung = "abc";
    h.Bemerkung1 = std::string(300, 'x');
    bare.letHeader(h);
    const std::string name = path("p.dal");
    bare.SaveProjektData(name);
    Bytes f = read(name);
    ASSERT_EQ(f.size(), 48 + 3 + 300 + name.size());
    EXPECT_EQ(slice(f, 0, 5), (Bytes{0x03, 0x00, 0x61, 0x62, 0x63}));
    std::size_t at = 5 + 2;  // ProjektKennung empty
    EXPECT_EQ(slice(f, at, 2), (Bytes{static_cast<std::uint8_t>(name.size()), 0}));
    at += 2 + name.size() + 4 + 2 + 2 + 2;  // DateiName, phyAdr, phyAdrString, Bestellnummer, Version
    EXPECT_EQ(slice(f, at, 8), (Bytes{0x00, 0x00, 0x00, 0x00, 0x70, 0x9E, 0xE3, 0x40}));
    EXPECT_EQ(slice(f, at + 24, 2), (Bytes{0x2C, 0x01}));

    // Under the model limits: 1344 bytes besides the file name; the ballasts follow the header.
    clsOrvekDali q;
    test::size(q);
    q.letDaliGruppe(0, TypDaliGruppe{7, 1, 2, 3, "", "", 0, "", ""});
    q.SaveProjektData(name);
    f = read(name);
    EXPECT_EQ(f.size(), 1344 + name.size());
    EXPECT_EQ(slice(f, 48 + name.size(), 14),
              (Bytes{7, 1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255}));  // ballast 1 sized empty

    h = TypHeader{};
    h.ProjektBeschreibung = "Büro €";  // texts are stored in Windows-1252
    q.letHeader(h);
    q.SaveProjektData(name);
    EXPECT_EQ(slice(read(name), 0, 8), (Bytes{6, 0, 'B', 0xFC, 'r', 'o', ' ', 0x80}));
}

TEST_F(ProjectFile, ASavedProjectHoldsTheBytesOfTheFileLayout) {
    automation::ScopedClock clock([] { return kNewYear2010Noon; });
    const std::string name = path("whole.dal");
    const StoredFields fields = storedFields(name, kNewYear2010Noon);  // as the save sets them
    clsOrvekDali q;
    test::size(q);
    store(q, fields);
    fillBeyondTheLimits(q);
    test::Recorder events;
    q.setEventSink(&events);
    q.SaveProjektData(name);
    expectSameBytes(read(name), layOut(fields));
    EXPECT_EQ(events.sequence, std::vector<std::string>{"HeaderChanged"});
    EXPECT_FALSE(q.GetChangeFlag());
    EXPECT_EQ(q.Header(), fields.header);
    q.setEventSink(nullptr);
}

TEST_F(ProjectFile, AHandLaidFileOpensIntoEveryField) {
    const StoredFields fields = storedFields("D:\\Projekte\\Halle.dal", 45292.75);
    Bytes file = layOut(fields);
    file.insert(file.end(), 100, 0xEE);  // bytes after the end (left by an older, longer file) are not read
    const std::string name = path("hand.dal");
    write(name, file);
    ::chmod(name.c_str(), 0444);  // a read-only file opens

    clsOrvekDali q;
    test::size(q);
    fillBeyondTheLimits(q);
    TypSzene kept;
    kept.Name = "not filed";
    q.letSzene(0, kept);
    test::Recorder events;
    q.setEventSink(&events);
    q.OpenProjektData(name);
    EXPECT_EQ(events.sequence, std::vector<std::string>{"HeaderChanged"});
    EXPECT_FALSE(q.GetChangeFlag());
    TypHeader header = fields.header;
    header.DateiName = name;  // the path opened replaces the stored one
    EXPECT_EQ(q.Header(), header);
    for (std::int16_t i = 0; i < 64; ++i) EXPECT_EQ(q.DaliGruppe(i), fields.ballasts[static_cast<std::size_t>(i)]) << i;
    for (std::int16_t i = 0; i < 16; ++i) {
        EXPECT_EQ(q.DaliScene(i), fields.scenes[static_cast<std::size_t>(i)]) << i;
        EXPECT_EQ(q.DaliEinzelgruppe(i), fields.groups[static_cast<std::size_t>(i)]) << i;
    }
    EXPECT_TRUE(std::equal(fields.sceneData.begin(), fields.sceneData.end(), sceneData(q).begin()));
    expectBeyondTheLimitsKept(q);
    EXPECT_EQ(q.Szene(0).Name, "not filed");

    clsOrvekDali headerOnly;
    headerOnly.OpenProjektMaxData(name);
    EXPECT_EQ(headerOnly.Header(), header);
    q.setEventSink(nullptr);
}

TEST_F(ProjectFile, HeaderOnlyReadLeavesTheRestAlone) {
    const std::string name = path("h.dal");
    p.SaveProjektData(name);

    clsOrvekDali q;
    test::size(q);
    q.letDaliGruppe(3, TypDaliGruppe{1, 2, 3, 4, "mine", "", 3, "", ""});
    q.letDaliScene(3, {5, 6, 3});
    q.letDaliEinzelgruppe(3, {"my group", 1, 2, 3, "", 3});
    test::Recorder events;
    q.setEventSink(&events);
    q.OpenProjektMaxData(name);
    EXPECT_TRUE(events.sequence.empty());
    EXPECT_TRUE(q.GetChangeFlag());  // untouched
    EXPECT_EQ(q.Header(), p.Header());
    EXPECT_EQ(q.DaliGruppe(3).Name, "mine");
    EXPECT_EQ(q.DaliScene(3), (TypDaliScene{5, 6, 3}));
    EXPECT_EQ(q.DaliEinzelgruppe(3).Name, "my group");
    q.setEventSink(nullptr);
}

TEST_F(ProjectFile, ShortGarbageMissingOrUnreadableFilesAreRefusedAndTheProjectKeepsItsState) {
    const std::string good = path("good.dal");
    p.SaveProjektData(good);
    const Bytes full = read(good);
    const std::size_t headerSize = headerBytes(p.Header()).size();

    p.letDaliGruppe(0, TypDaliGruppe{1, 2, 3, 4, "before", "", 0, "", ""});
    TypHeader h;
    h.DateiName = "mine.dal";
    p.letHeader(h);
    test::Recorder events;
    p.setEventSink(&events);

    // headerRefused: the header-only read fails too (the file ends inside the header, or is none).
    const auto expectRefused = [&](const std::string& file, std::int16_t code, bool headerRefused = true) {
        events = {};
        p.OpenProjektData(file);
        EXPECT_EQ(events.sequence, std::vector<std::string>{"InterfaceError"});
        EXPECT_EQ(events.interfaceErrors, std::vector<std::int16_t>{code});
        EXPECT_TRUE(p.GetChangeFlag());
        EXPECT_EQ(p.Header(), h);
        EXPECT_EQ(p.DaliGruppe(0).Name, "before");
        if (headerRefused) {
            EXPECT_EQ(errorOf([&] { p.OpenProjektMaxData(file); }), code);
            EXPECT_EQ(p.Header(), h);
        }
    };
    // Cut inside a header text, after the header, inside a ballast and one byte before the end.
    const std::string bad = path("bad.dal");
    for (std::size_t cut : {std::size_t{3}, headerSize + 1, full.size() / 2, full.size() - 1}) {
        SCOPED_TRACE(cut);
        write(bad, slice(full, 0, cut));
        expectRefused(bad, 62, cut < headerSize);
    }
    write(bad, Bytes(200, 0xFF));  // every text length claims 65535 bytes
    expectRefused(bad, 62);
    write(bad, {});
    expectRefused(bad, 62);

    expectRefused(path("missing.dal"), 53);
    expectRefused(path("no-such-folder/x.dal"), 76);
    expectRefused(folder.dir.string(), 75);
    EXPECT_FALSE(fs::exists(path("missing.dal")));  // opening creates nothing
    EXPECT_FALSE(fs::exists(path("no-such-folder")));
    EXPECT_EQ(read(good), full);
    p.setEventSink(nullptr);
}

TEST_F(ProjectFile, AFailedSaveLeavesTheOldFileAndTheHeaderAsTheyWere) {
    automation::ScopedClock clock([] { return kNewYear2010Noon; });
    const std::string name = path("keep.dal");
    p.SaveProjektData(name);
    const Bytes before = read(name);

    test::Recorder events;
    p.setEventSink(&events);
    p.letDaliGruppeName(0, "changed");
    TypHeader header = p.Header();
    const auto expectUnchanged = [&] {
        EXPECT_EQ(p.Header(), header);  // DateiName and LetzterZugriff included
        EXPECT_TRUE(p.GetChangeFlag());
        EXPECT_TRUE(events.sequence.empty());
        EXPECT_EQ(read(name), before);
        EXPECT_EQ(filesInFolder(), 1u);  // no half-written file left behind
    };
    automation::ScopedClock later([] { return kNewYear2010Noon + 1; });
    EXPECT_EQ(errorOf([&] { p.SaveProjektData(path("no-such-folder/x.dal")); }), 76);
    expectUnchanged();
    for (const char* throughTheFile : {"keep.dal/x.dal", "keep.dal/.", "keep.dal/"}) {  // a file is no folder
        EXPECT_EQ(errorOf([&] { p.SaveProjektData(path(throughTheFile)); }), 76) << throughTheFile;
        expectUnchanged();
    }
    EXPECT_EQ(errorOf([&] { p.SaveProjektData(folder.dir.string()); }), 75);
    expectUnchanged();
    EXPECT_EQ(errorOf([&] { p.SaveProjektData(folder.dir.string() + "/"); }), 75);  // a name that ends in a folder
    expectUnchanged();
    EXPECT_EQ(errorOf([&] { p.SaveProjektData(""); }), 52);
    expectUnchanged();
    const std::string tooLong = nameOfLength(4096);  // which the system will not open
    EXPECT_EQ(::access(tooLong.c_str(), F_OK) == 0 ? 0 : errno, ENAMETOOLONG);
    EXPECT_EQ(errorOf([&] { p.SaveProjektData(tooLong); }), 75);
    expectUnchanged();

    // A write that fails part-way (the file size limit stops it after 100 bytes).
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::int32_t code = errorOf([&] { p.SaveProjektData(name); });
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &old), 0);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(code, 75);
    expectUnchanged();

    // A text the 2-byte length cannot count fails before anything is written.
    header.Bemerkung2 = std::string(65536, 'x');
    p.letHeader(header);
    events = {};
    EXPECT_EQ(errorOf([&] { p.SaveProjektData(name); }), 6);
    expectUnchanged();
    header.Bemerkung2 = std::string(65535, 'x');  // the longest that fits
    p.letHeader(header);
    p.SaveProjektData(name);
    // The longer remark and ballast name.
    EXPECT_EQ(read(name).size(), before.size() + 65535 - ansi(storedFields("", 0).header.Bemerkung2).size() +
                                     std::string("changed").size() - ansi(storedFields("", 0).ballasts[0].Name).size());

    // A smaller project replaces the larger file whole.
    clsOrvekDali empty;
    empty.SaveProjektData(name);
    EXPECT_EQ(read(name).size(), 48 + name.size());

    // Limits beyond the fixed arrays: error 9, and no file.
    clsOrvekDali wide;
    TypMaxGrenzwerte g = test::gatewayLimits();
    g.MaxDaligruppen = 66;
    test::size(wide, g);
    EXPECT_EQ(errorOf([&] { wide.SaveProjektData(path("wide.dal")); }), 9);
    EXPECT_FALSE(fs::exists(path("wide.dal")));
    p.setEventSink(nullptr);
}

// ---- Odd dates, links, permission bits and long names ----

TEST_F(ProjectFile, DatesThatAreNoDatesOpenAndAreSavedBackByteForByte) {
    // A header with empty texts: the dates follow the file name at 16 + its length.
    clsOrvekDali bare;
    test::size(bare);
    const std::string name = path("dates.dal");
    bare.SaveProjektData(name);
    const std::size_t download = 16 + name.size() + 8;
    const std::uint64_t patterns[][2] = {
        {0x7FF0000000000001, 0xFFF8000000000000},  // signalling NaN, negative quiet NaN
        {0x7FF0000000000000, 0xFFF0000000000000},  // +infinity, -infinity
        {0x7FEFFFFFFFFFFFFF, 0xC3E0000000000000},  // the largest double, -2^63
        {0x0000000000000001, 0x4146924000000000},  // the smallest denormal, 2958466 (1 January 10000)
    };
    for (const auto& [first, second] : patterns) {
        SCOPED_TRACE(first);
        Bytes f = read(name);
        for (int i = 0; i < 8; ++i) {
            f[download + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(first >> (8 * i));
            f[download + 8 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(second >> (8 * i));
        }
        write(name, f);
        clsOrvekDali q;
        test::size(q);
        test::Recorder events;
        q.setEventSink(&events);
        q.OpenProjektMaxData(name);
        q.OpenProjektData(name);
        EXPECT_EQ(events.sequence, std::vector<std::string>{"HeaderChanged"});
        q.setEventSink(nullptr);
        const std::string again = path("again.dal");
        q.SaveProjektData(again);
        EXPECT_EQ(slice(read(again), download, 16), slice(f, download, 16));
    }
}

TEST_F(ProjectFile, SavingThroughALinkReplacesItsTargetAndKeepsTheLink) {
    const std::string target = path("target.dal");
    p.SaveProjektData(target);
    const Bytes before = read(target);
    fs::create_directory(path("sub"));
    fs::create_symlink("../target.dal", path("sub/relative.dal"));    // relative to the link's folder
    fs::create_symlink(path("sub/relative.dal"), path("chain.dal"));  // a link to a link
    fs::create_symlink("new.dal", path("dangling.dal"));

    p.letDaliGruppeName(0, "through the links");
    p.SaveProjektData(path("chain.dal"));
    EXPECT_TRUE(fs::is_symlink(path("chain.dal")));
    EXPECT_TRUE(fs::is_symlink(path("sub/relative.dal")));
    EXPECT_FALSE(fs::is_symlink(target));
    EXPECT_NE(read(target), before);
    clsOrvekDali q;
    test::size(q);
    q.OpenProjektData(target);
    EXPECT_EQ(q.DaliGruppe(0).Name, "through the links");
    EXPECT_EQ(p.Header().DateiName, path("chain.dal"));  // the name saved under, not the target's

    p.SaveProjektData(path("dangling.dal"));  // the missing target is created
    EXPECT_TRUE(fs::is_symlink(path("dangling.dal")));
    const std::size_t names = path("dangling.dal").size() - path("chain.dal").size();  // the stored DateiName
    EXPECT_EQ(read(path("new.dal")).size(), read(target).size() + names);

    fs::create_symlink("loop.dal", path("loop.dal"));
    EXPECT_EQ(errorOf([&] { p.SaveProjektData(path("loop.dal")); }), 75);
    EXPECT_EQ(filesInFolder(), 6u);  // target, sub, three links, new.dal: no temporary file left

    // At most 40 links on the way, as the system's lookup: folder links ("here" names its own
    // folder) and the link the name ends in count alike; the folder's own name has none.
    fs::create_symlink(".", path("here"));
    fs::create_symlink("target.dal", path("last.dal"));
    for (const auto& [folders, lastLink, code] : {std::tuple{40, false, 0}, std::tuple{41, false, 75},
                                                  std::tuple{39, true, 0}, std::tuple{40, true, 75}}) {
        SCOPED_TRACE(folders);
        std::string name = fs::canonical(folder.dir).string();
        for (int i = 0; i < folders; ++i) name += "/here";
        name += lastLink ? "/last.dal" : "/target.dal";
        const int system = ::open(name.c_str(), O_RDONLY);  // the system's own lookup agrees
        EXPECT_EQ(system >= 0 ? 0 : errno, code ? ELOOP : 0);
        if (system >= 0) ::close(system);
        p.letDaliGruppeName(0, name);
        EXPECT_EQ(errorOf([&] { p.SaveProjektData(name); }), code);
        clsOrvekDali q;
        test::size(q);
        q.OpenProjektData(target);
        EXPECT_EQ(q.DaliGruppe(0).Name == name, code == 0);
    }
    EXPECT_EQ(filesInFolder(), 8u);

    // Names relative to the working folder, with "." and ".." among their parts; ".." after a
    // link leaves the folder the link led to, not the link's.
    const fs::path working = fs::current_path();
    fs::current_path(path("sub"));
    const std::string outOfHere = "../here/../" + folder.dir.filename().string() + "/target.dal";
    for (const std::string& relative :
         {std::string("relative.dal"), std::string("./relative.dal"), std::string("../sub//relative.dal"),
          std::string("../target.dal"), outOfHere}) {
        SCOPED_TRACE(relative);
        p.letDaliGruppeName(0, relative);
        EXPECT_EQ(errorOf([&] { p.SaveProjektData(relative); }), 0);
        clsOrvekDali q;
        test::size(q);
        q.OpenProjektData(target);
        EXPECT_EQ(q.DaliGruppe(0).Name, relative);
    }
    fs::current_path(working);
    EXPECT_EQ(filesInFolder(), 8u);
    EXPECT_TRUE(fs::is_symlink(path("sub/relative.dal")));

    // A link with an empty text (FUSE and network file systems can show one) names nothing, as
    // for the system, wherever it is met.
    const Bytes saved = read(target);
    detail::FileCalls emptyTexts;
    emptyTexts.readlinkat = [](int, const char*, char*, size_t) -> ssize_t { return 0; };
    for (const std::string& name : {path("last.dal"), path("here/target.dal"), path("sub/relative.dal")}) {
        SCOPED_TRACE(name);
        const ScopedFileCalls calls(emptyTexts);
        EXPECT_EQ(errorOf([&] { p.SaveProjektData(name); }), 76);
    }
    EXPECT_EQ(read(target), saved);
    EXPECT_EQ(filesInFolder(), 8u);
}

TEST_F(ProjectFile, AnAutomountPointOnTheWayIsMountedAsTheSystemsWalkMountsIt) {
    // The folder "share" stands empty until a lookup asks for it as a folder, as the system's walk
    // through a folder does; then the share is mounted on it (here: the folder "mounted" appears).
    static std::string mounted;
    mounted = path("mounted");
    fs::create_directory(path("share"));
    fs::create_directory(mounted);
    detail::FileCalls automount;
    automount.openat = [](int folder, const char* name, int flags, mode_t mode) {
        if (std::string_view(name) == "share" && (flags & O_DIRECTORY)) return ::open(mounted.c_str(), flags);
        return ::openat(folder, name, flags, mode);
    };
    const ScopedFileCalls calls(automount);
    for (const std::string name : {"share/p.dal", "share/../share/./p.dal"}) {
        SCOPED_TRACE(name);
        fs::remove(mounted + "/p.dal");
        EXPECT_EQ(errorOf([&] { p.SaveProjektData(path(name)); }), 0);
        EXPECT_TRUE(fs::exists(mounted + "/p.dal"));
        EXPECT_TRUE(fs::is_empty(path("share")));
    }
}

TEST_F(ProjectFile, SavingKeepsThePermissionBitsAndTakesAnyLegalFileName) {
    const std::string name = path("modes.dal");
    for (const fs::perms mode : {fs::perms(0640), fs::perms(0604), fs::perms(0700), fs::perms(0666)}) {
        p.SaveProjektData(name);
        fs::permissions(name, mode);
        p.SaveProjektData(name);
        EXPECT_EQ(fs::status(name).permissions(), mode);
    }
    const std::string longest = path(std::string(255 - 4, 'n') + ".dal");  // 255 bytes, the longest name
    p.SaveProjektData(longest);
    p.SaveProjektData(longest);  // replacing it as well
    clsOrvekDali q;
    test::size(q);
    q.OpenProjektData(longest);
    EXPECT_EQ(q.DaliGruppe(5), p.DaliGruppe(5));
    EXPECT_EQ(filesInFolder(), 2u);
    const std::string longestPath = nameOfLength(4095);  // the longest the system opens
    p.SaveProjektData(longestPath);
    clsOrvekDali r;
    test::size(r);
    r.OpenProjektData(longestPath);
    EXPECT_EQ(r.Header().DateiName, longestPath);
    EXPECT_EQ(filesInFolder(), 3u);
}

// ---- Reading once, regular files only, saves killed or run at once ----

namespace {

// What a failed read must leave alone: every filed part of the project and the change flag.
struct State {
    TypHeader header;
    std::vector<TypDaliGruppe> ballasts;
    std::vector<TypDaliScene> scenes;
    std::vector<TypDaliEinzelGruppe> groups;
    std::array<TypDaliSceneData, 33> sceneData;
    bool changed;
    bool operator==(const State&) const = default;
};
State stateOf(clsOrvekDali& p) {
    State s{p.Header(), {}, {}, {}, sceneData(p), p.GetChangeFlag()};
    for (std::int16_t i = 0; i <= 64; ++i) s.ballasts.push_back(p.DaliGruppe(i));
    for (std::int16_t i = 0; i <= 16; ++i) {
        s.scenes.push_back(p.DaliScene(i));
        s.groups.push_back(p.DaliEinzelgruppe(i));
    }
    return s;
}

// Serves the first `at` bytes, then ends, or fails as a read error does (the stream's buffer throws).
class CutStream : public std::streambuf {
public:
    CutStream(std::string& bytes, std::size_t at, bool fails) : fails_(fails) {
        setg(bytes.data(), bytes.data(), bytes.data() + at);
    }

protected:
    int_type underflow() override {
        if (fails_) throw std::ios_base::failure("read error");
        return traits_type::eof();
    }

private:
    bool fails_;
};

// Ends the test process instead of letting it wait for ever on a FIFO.
struct HangGuard {
    HangGuard() { ::alarm(20); }
    ~HangGuard() { ::alarm(0); }
};

}  // namespace

TEST_F(ProjectFile, TheLargestFileASaveCanWriteHasEveryTextAtItsLongest) {
    // 48 bytes and 9 texts of the header; per ballast 13 bytes and 4 texts, per scene 3, per group
    // 8 and 2 texts, per scene data 9; a text at most 2 + 65535 bytes.
    EXPECT_EQ(MaxProjectFileSize(TypMaxGrenzwerte{}), 48u + 9u * 65535u);
    EXPECT_EQ(MaxProjectFileSize(test::gatewayLimits()), 1344u + (9u + 64u * 4u + 16u * 2u) * 65535u);
    TypMaxGrenzwerte one{};
    one.MaxDaliScenes = 1;
    one.MaxDaliScenesData = 1;
    EXPECT_EQ(MaxProjectFileSize(one), 48u + 9u * 65535u + 3u + 9u);
}

TEST_F(ProjectFile, AStreamThatEndsOrFailsAtAnyByteLeavesTheProjectAsItWas) {
    const std::string name = path("whole.dal");
    p.SaveProjektData(name);
    std::string bytes = readFile(name);
    clsOrvekDali q;
    test::size(q);
    fillBeyondTheLimits(q);
    q.letDaliGruppeName(0, "mine");
    const State before = stateOf(q);
    for (const auto& [fails, code] : {std::pair{false, 62}, std::pair{true, 75}}) {
        for (std::size_t at = 0; at < bytes.size(); ++at) {
            CutStream cut(bytes, at, fails);
            std::istream in(&cut);
            ASSERT_EQ(errorOf([&] { q.ReadProjekt(in, "other.dal"); }), code) << at;
            ASSERT_EQ(stateOf(q), before) << at;
        }
    }
    ByteStream whole(bytes);
    q.ReadProjekt(whole, "other.dal");
    EXPECT_EQ(q.DaliGruppe(0), p.DaliGruppe(0));
    EXPECT_EQ(q.Header().DateiName, "other.dal");
    EXPECT_TRUE(q.GetChangeFlag());  // left to the caller
}

TEST_F(ProjectFile, OnlyRegularFilesAreOpenedOrReplaced) {
    HangGuard guard;
    const std::string fifo = path("fifo.dal");
    const std::string fed = path("fed.dal");
    const std::string socket = path("socket.dal");
    const std::string device = path("zero.dal");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    ASSERT_EQ(::mkfifo(fed.c_str(), 0666), 0);
    const int peer = ::open(fed.c_str(), O_RDWR | O_NONBLOCK);  // a writer and a reader, with data waiting
    ASSERT_GE(peer, 0);
    ASSERT_EQ(::write(peer, "DAL", 3), 3);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socket.size(), sizeof address.sun_path);
    std::copy(socket.begin(), socket.end(), address.sun_path);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    // A node that delivers zeros, as /dev/zero; outside the test folder only where no node can be made.
    const bool ownDevice = ::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 5)) == 0;
    fs::create_symlink(fifo, path("link.dal"));

    p.letDaliGruppeName(0, "mine");
    test::Recorder events;
    p.setEventSink(&events);
    const State before = stateOf(p);
    for (const std::string& special :
         {fifo, fed, socket, ownDevice ? device : std::string("/dev/zero"), folder.dir.string(), path("link.dal")}) {
        SCOPED_TRACE(special);
        struct stat was {};
        ASSERT_EQ(::lstat(special.c_str(), &was), 0);
        events = {};
        p.OpenProjektData(special);
        EXPECT_EQ(events.interfaceErrors, std::vector<std::int16_t>{75});
        EXPECT_EQ(errorOf([&] { p.OpenProjektMaxData(special); }), 75);
        if (special != "/dev/zero") {
            EXPECT_EQ(errorOf([&] { p.SaveProjektData(special); }), 75);
        }
        EXPECT_EQ(stateOf(p), before);
        struct stat is {};
        ASSERT_EQ(::lstat(special.c_str(), &is), 0);
        EXPECT_EQ(is.st_mode, was.st_mode);
        EXPECT_EQ(is.st_ino, was.st_ino);
    }
    char left[4] = {};
    EXPECT_EQ(::read(peer, left, sizeof left), 3);  // nothing was read from the FIFO
    ::close(peer);
    ::close(listener);
    EXPECT_EQ(filesInFolder(), ownDevice ? 5u : 4u);  // no temporary file left
    p.setEventSink(nullptr);
}

namespace {

// Locks that lock nothing (as a share locked on each machine alone); a file system without locks
// refuses them.
int locksThatLockNothing(int, int) { return 0; }

// The syncs of a save: whether each was of a folder, and whether the target held the new bytes by then.
struct Watched {
    std::string target, newBytes;
    int fileFails = 0, folderFails = 0;
    std::vector<std::pair<bool, bool>> syncs;
} watched;
int watchingFsync(int fd) {
    struct stat st {};
    ::fstat(fd, &st);
    watched.syncs.emplace_back(S_ISDIR(st.st_mode), readFile(watched.target) == watched.newBytes);
    if (const int fails = S_ISDIR(st.st_mode) ? watched.folderFails : watched.fileFails) {
        errno = fails;
        return -1;
    }
    return ::fsync(fd);
}

// Two projects saved under one name, by other processes too; each gives the same bytes every time.
class Savers : public ProjectFile {
protected:
    Savers() {
        test::size(other);
        other.letDaliGruppeName(3, "the other project");
        other.SaveProjektData(name);
        otherBytes = readFile(name);
        p.SaveProjektData(name);
        bytes = readFile(name);
    }
    bool eitherFile(const std::string& now) const { return now == bytes || now == otherBytes; }

    automation::ScopedClock clock{[] { return kNewYear2010Noon; }};
    const std::string name = path("saved.dal");
    clsOrvekDali other;
    std::string bytes, otherBytes;
};

}  // namespace

TEST_F(Savers, AKilledSaveLeavesTheOldOrTheNewBytesAndOneStrayAtMost) {
    ASSERT_NE(bytes, otherBytes);
    std::mt19937 random(19);
    for (int round = 0; round < 120; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) (i % 2 ? p : other).SaveProjektData(name);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 4000));
        ::kill(child, SIGKILL);
        ASSERT_EQ(::waitpid(child, nullptr, 0), child);
        ASSERT_TRUE(eitherFile(readFile(name))) << "round " << round;
        ASSERT_LE(filesInFolder(), 2u) << round;
    }
    p.SaveProjektData(name);  // takes a stray over
    EXPECT_EQ(filesInFolder(), 1u);
    EXPECT_EQ(readFile(name), bytes);
}

TEST_F(Savers, TwoProgramsSavingOneFileAtOnceLeaveOneOfTheirFilesWhole) {
    // With locks, with locks that lock nothing (two machines on one share) and without locks.
    for (const auto& [what, flock] :
         {std::pair{"locks", detail::fileCalls().flock}, std::pair{"locks that lock nothing", &locksThatLockNothing},
          std::pair{"no locks", &test::refused<ENOLCK, int, int>}}) {
        SCOPED_TRACE(what);
        const ScopedFileCalls calls({flock, ::fsync});
        std::vector<pid_t> children;
        for (clsOrvekDali* saver : {&p, &other}) {
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                try {
                    for (int i = 0; i < 40; ++i) saver->SaveProjektData(name);
                } catch (...) {
                    ::_exit(1);
                }
                ::_exit(0);
            }
            children.push_back(child);
        }
        // Whatever a reader sees meanwhile is one file whole.
        for (std::size_t running = children.size(); running > 0;) {
            EXPECT_TRUE(eitherFile(readFile(name)));
            for (pid_t& child : children) {
                int status = 0;
                if (child > 0 && ::waitpid(child, &status, WNOHANG) == child) {
                    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
                    child = 0;
                    --running;
                }
            }
        }
        EXPECT_TRUE(eitherFile(readFile(name)));
        EXPECT_EQ(filesInFolder(), 1u);
    }
}

TEST_F(ProjectFile, EachSyncComesInItsPlaceAndAFailedOneIsReported) {
    automation::ScopedClock clock([] { return kNewYear2010Noon; });
    const std::string name = path("synced.dal");
    const Bytes expected = layOut(storedFields(name, kNewYear2010Noon));
    const ScopedFileCalls calls({::flock, &watchingFsync});
    watched.target = name;
    watched.newBytes.assign(expected.begin(), expected.end());
    using Syncs = std::vector<std::pair<bool, bool>>;  // a folder or the file; the target's bytes new by then
    const struct {
        int fileFails, folderFails;
        std::int32_t code;
        Syncs syncs;
    } cases[] = {
        {0, 0, 0, {{false, false}, {true, true}}},       // the file before its rename, the folder after
        {0, EINVAL, 0, {{false, false}, {true, true}}},  // a file system that syncs no folder
        {0, EIO, 75, {{false, false}, {true, true}}},    // the new name may not last: the save is repeated
        {EIO, 0, 75, {{false, false}}},
        {ENOSPC, 0, 61, {{false, false}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.fileFails << " " << c.folderFails);
        writeFile(name, "old");
        watched.syncs.clear();
        watched.fileFails = c.fileFails;
        watched.folderFails = c.folderFails;
        EXPECT_EQ(errorOf([&] { p.SaveProjektData(name); }), c.code);
        EXPECT_EQ(watched.syncs, c.syncs);
        EXPECT_EQ(read(name), c.fileFails ? (Bytes{'o', 'l', 'd'}) : expected);
        EXPECT_EQ(filesInFolder(), 1u);
    }
}

TEST_F(ProjectFile, LeftoversOfKilledSavesGoAtTheNextSaveWhereLocksTellThemFromRunningOnes) {
    const std::string name = path("left.dal");
    const std::string prefix = temporaryPrefixOf(name);
    const std::string old = prefix, killed = prefix + "0123456789abcdef", running = prefix + "fedcba9876543210",
                      otherTarget = ".~dal0123456789abcdef0123456789abcdef";
    const struct {
        int (*flock)(int, int);
        bool removed;  // old and killed
    } cases[] = {
        {detail::fileCalls().flock, true}, {&test::refused<ENOLCK>, false}, {&test::refused<EOPNOTSUPP>, false},
        {&test::refused<ENOSYS>, false},         {&test::refused<EINVAL>, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.removed);
        for (const std::string& planted : {old, killed, running, otherTarget}) writeFile(path(planted), "left");
        const int held = ::open(path(running).c_str(), O_RDONLY);  // a save still writing it
        ASSERT_EQ(::flock(held, LOCK_EX), 0);
        {
            const ScopedFileCalls calls({c.flock, ::fsync});
            p.SaveProjektData(name);
        }
        ::close(held);
        EXPECT_EQ(fs::exists(path(old)), !c.removed);
        EXPECT_EQ(fs::exists(path(killed)), !c.removed);
        EXPECT_EQ(readFile(path(running)), "left");
        EXPECT_EQ(readFile(path(otherTarget)), "left");
        EXPECT_EQ(filesInFolder(), c.removed ? 3u : 5u);  // nothing else is left
        for (const std::string& planted : {old, killed, running, otherTarget}) fs::remove(path(planted));
    }
}

// ---- Folders and files of other users ----

TEST_F(ProjectFile, AWritableFileInAFolderTheUserCannotWriteIsSavedInPlace) {
    const auto user = unprivileged::testUser();
    if (!user) GTEST_SKIP() << "no user nobody to run the permission cases as";
    automation::ScopedClock clock([] { return kNewYear2010Noon; });
    fs::permissions(folder.dir, fs::perms(0755));
    // A colleague's folder (made read-only where the tests run unprivileged) and another user's
    // file in a sticky folder, as /tmp.
    const struct {
        const char* name;
        fs::perms mode;
    } folders[] = {{"colleague", fs::perms(user->other ? 0755 : 0555)}, {"sticky", fs::perms(01777)}};
    const struct {
        std::string old;
        fs::perms mode;
        rlim_t sizeLimit;
        std::int32_t code;
    } saves[] = {
        {std::string(5000, 'x'), fs::perms(0666), RLIM_INFINITY, 0},  // longer than the new file: cut
        {std::string(100, 'o'), fs::perms(0666), 1000, 75},           // a write fails part-way: the old bytes back
        {"read-only", fs::perms(0444), RLIM_INFINITY, 70},
    };
    for (const auto& f : folders) {
        for (const auto& s : saves) {
            SCOPED_TRACE(testing::Message() << f.name << " " << s.code);
            const fs::path dir = folder.dir / f.name;
            const std::string name = (dir / "p.dal").string();
            fs::create_directory(dir);
            write(name, Bytes(s.old.begin(), s.old.end()));
            fs::permissions(name, s.mode);
            fs::permissions(dir, f.mode);
            struct stat before {};
            ASSERT_EQ(::stat(name.c_str(), &before), 0);
            const int code = unprivileged::runAs(*user, [&] {
                if (s.sizeLimit != RLIM_INFINITY) {
                    std::signal(SIGXFSZ, SIG_IGN);
                    rlimit limit{};
                    ::getrlimit(RLIMIT_FSIZE, &limit);
                    limit.rlim_cur = s.sizeLimit;
                    ::setrlimit(RLIMIT_FSIZE, &limit);
                }
                return errorOf([&] { p.SaveProjektData(name); });
            });
            EXPECT_EQ(code, s.code);
            expectSameBytes(read(name),
                            s.code ? Bytes(s.old.begin(), s.old.end()) : layOut(storedFields(name, kNewYear2010Noon)));
            struct stat after {};
            ASSERT_EQ(::stat(name.c_str(), &after), 0);
            EXPECT_EQ(after.st_uid, before.st_uid);
            EXPECT_EQ(after.st_mode, before.st_mode);
            if (user->other || f.mode != fs::perms(01777)) {
                EXPECT_EQ(after.st_ino, before.st_ino);  // in place
            }
            EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
            fs::permissions(dir, fs::perms(0755));
            fs::remove_all(dir);
        }
    }
}

TEST_F(ProjectFile, FilesPlantedUnderTheTemporariesNamesAreNeitherWrittenNorTakenOver) {
    const auto user = unprivileged::testUser();
    if (!user) GTEST_SKIP() << "no user nobody to run the permission cases as";
    automation::ScopedClock clock([] { return kNewYear2010Noon; });
    fs::permissions(folder.dir, fs::perms(0755));
    const fs::path dir = folder.dir / "shared";
    const std::string name = (dir / "p.dal").string();
    const std::string prefix = temporaryPrefixOf(name);
    const mode_t umask = ::umask(0);
    ::umask(umask);
    // Files under the name all saves used to share, and under any name of the prefix, mode 0666.
    const auto plant = [&] {
        for (const std::string& planted : {prefix, prefix + "0123456789abcdef"}) {
            const int fd = ::open((dir / planted).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
            if (fd < 0 || ::fchmod(fd, 0666) != 0 || ::write(fd, "planted", 7) != 7) return 1;
            ::close(fd);
        }
        return 0;
    };
    const auto save = [&] { return errorOf([&] { p.SaveProjektData(name); }); };
    for (const bool plantedByTheOther : {true, false}) {
        SCOPED_TRACE(plantedByTheOther);
        fs::create_directory(dir);
        fs::permissions(dir, fs::perms(01777));
        ASSERT_EQ(plantedByTheOther ? unprivileged::runAs(*user, plant) : plant(), 0);
        const uid_t saver = plantedByTheOther ? ::geteuid() : user->uid;
        // A new file: 0666 less the umask; a replaced one: its old permission bits.
        for (const mode_t mode : {0666 & ~umask, mode_t{0640}}) {
            if (mode == 0640) {
                ASSERT_EQ(::chmod(name.c_str(), mode), 0);
            }
            ASSERT_EQ(plantedByTheOther ? save() : unprivileged::runAs(*user, save), 0);
            struct stat st {};
            ASSERT_EQ(::stat(name.c_str(), &st), 0);
            EXPECT_EQ(st.st_uid, saver);
            EXPECT_EQ(st.st_mode & 07777, mode);
            expectSameBytes(read(name), layOut(storedFields(name, kNewYear2010Noon)));
            for (const std::string& planted : {prefix, prefix + "0123456789abcdef"}) {
                // Another user's files stay; those of this user may have gone as a killed save's.
                if (user->other || fs::exists(dir / planted)) {
                    EXPECT_EQ(readFile(dir / planted), "planted");
                }
            }
        }
        fs::remove_all(dir);
    }
}
