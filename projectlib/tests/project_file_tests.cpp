#include "oledate.h"
#include "test_support.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <sys/resource.h>
#include <unistd.h>

using namespace corlink;
using corlink::test::errorOf;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

class ProjectFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("corlink-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string path(const std::string& name) const { return (dir / name).string(); }

    static Bytes read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    static void write(const std::string& file, const Bytes& bytes) {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::size_t filesInFolder() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }

    fs::path dir;
};

// Every stored field set to a value of its own.
void fillStoredFields(clsOrvekDali& p) {
    TypHeader h;
    h.ProjektBeschreibung = "Büro 1. OG";  // ü is one byte in the file
    h.ProjektKennung = "K-17";
    h.DateiName = "old.dal";
    h.phyAdr = 0x1105;
    h.phyAdrString = "1.1.5";
    h.Bestellnummer = "517204";
    h.Version = "11";
    h.LetzterDownload = 40179.25;
    h.LetzterUpload = 40180.75;
    h.Bemerkung1 = "erste";
    h.Bemerkung1ID = -12345;
    h.Bemerkung2 = "zweite";
    h.Bemerkung2ID = "B2";
    p.letHeader(h);
    for (std::int16_t i = 0; i < 64; ++i) {
        const auto b = static_cast<std::uint8_t>(i);
        p.letDaliGruppe(i, TypDaliGruppe{static_cast<std::uint8_t>(i % 17), b, static_cast<std::uint8_t>(b + 1),
                                         static_cast<std::uint8_t>(b + 2), "EVG " + std::to_string(i),
                                         "G" + std::to_string(i % 16), b, "d1-" + std::to_string(i),
                                         i % 2 ? "" : "d2"});
    }
    for (std::int16_t i = 0; i < 16; ++i) {
        const auto b = static_cast<std::uint8_t>(i);
        p.letDaliScene(i, TypDaliScene{static_cast<std::uint8_t>(0xA0 + b), static_cast<std::uint8_t>(0x0F - b), b});
        p.letDaliEinzelgruppe(i, TypDaliEinzelGruppe{"Gruppe " + std::to_string(i), b,
                                                     static_cast<std::uint8_t>(b + 100),
                                                     static_cast<std::uint8_t>(255 - b), "€ " + std::to_string(i), b});
    }
    // Scene data have no property; the file fills them. Their round trip is checked on bytes.
}

constexpr double kNewYear2010Noon = 40179.5;  // 1 January 2010, 12:00

}  // namespace

TEST_F(ProjectFile, FieldsAreEncodedAsTheFileLayoutSays) {
    automation::ScopedClock clock([] { return kNewYear2010Noon; });
    ASSERT_EQ(automation::toOleDate({2010, 1, 1, 12, 0, 0}), kNewYear2010Noon);

    // Before any sizing (all limits 0) the file is the header alone: 48 bytes and the texts.
    clsOrvekDali p;
    TypHeader h;
    h.ProjektBeschreibung = "abc";
    h.Bemerkung1 = std::string(300, 'x');
    p.letHeader(h);
    const std::string name = path("p.dal");
    p.SaveProjektData(name);
    Bytes f = read(name);
    ASSERT_EQ(f.size(), 48 + 3 + 300 + name.size());
    EXPECT_EQ(Bytes(f.begin(), f.begin() + 5), (Bytes{0x03, 0x00, 0x61, 0x62, 0x63}));
    std::size_t at = 5 + 2;  // ProjektKennung empty
    EXPECT_EQ(f[at], name.size() & 0xFF);
    EXPECT_EQ(f[at + 1], name.size() >> 8);
    at += 2 + name.size() + 4 + 2 + 2 + 2;  // DateiName, phyAdr, phyAdrString, Bestellnummer, Version
    EXPECT_EQ(Bytes(f.begin() + at, f.begin() + at + 8), (Bytes{0x00, 0x00, 0x00, 0x00, 0x70, 0x9E, 0xE3, 0x40}));
    at += 3 * 8;
    EXPECT_EQ(f[at], 0x2C);
    EXPECT_EQ(f[at + 1], 0x01);

    // Under the model limits: 1344 bytes besides the file name; the ballasts follow the header.
    clsOrvekDali q;
    test::size(q);
    q.letDaliGruppe(0, TypDaliGruppe{7, 1, 2, 3, "", "", 0, "", ""});
    q.SaveProjektData(name);
    f = read(name);
    EXPECT_EQ(f.size(), 1344 + name.size());
    const std::size_t ballasts = 48 + name.size();
    EXPECT_EQ(Bytes(f.begin() + ballasts, f.begin() + ballasts + 13),
              (Bytes{7, 1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(f[ballasts + 13], 255);  // ballast 1, sized empty
    EXPECT_EQ(f[ballasts + 13 + 8], 1);  // its Index

    // Texts are stored in Windows-1252.
    h = q.Header();
    h.ProjektBeschreibung = "Büro €";
    q.letHeader(h);
    q.SaveProjektData(name);
    f = read(name);
    EXPECT_EQ(Bytes(f.begin(), f.begin() + 8), (Bytes{6, 0, 'B', 0xFC, 'r', 'o', ' ', 0x80}));
}

TEST_F(ProjectFile, SaveThenOpenGivesBackEveryStoredField) {
    automation::ScopedClock clock([] { return kNewYear2010Noon; });
    clsOrvekDali p;
    test::size(p);
    fillStoredFields(p);
    test::EventLog savedEvents;
    p.setEventSink(&savedEvents);
    const std::string name = path("round.dal");
    p.SaveProjektData(name);
    EXPECT_FALSE(p.GetChangeFlag());
    EXPECT_EQ(savedEvents.headerChanged, 1);
    TypHeader expected = p.Header();
    EXPECT_EQ(expected.DateiName, name);
    EXPECT_EQ(expected.LetzterZugriff, kNewYear2010Noon);

    // Scene data exist only in the file: patch them in, and read them back through a save.
    Bytes f = read(name);
    const std::size_t sceneData = f.size() - 32 * 9;
    for (std::size_t i = 0; i < 32 * 9; ++i) f[sceneData + i] = static_cast<std::uint8_t>(i * 7);
    write(name, f);

    clsOrvekDali q;
    test::size(q);
    TypSzene kept;
    kept.Name = "not filed";
    q.letSzene(0, kept);
    q.letDaliGruppe(64, TypDaliGruppe{1, 1, 1, 1, "spare", "", 64, "", ""});
    test::EventLog events;
    q.setEventSink(&events);
    q.OpenProjektData(name);
    EXPECT_TRUE(events.interfaceErrors.empty());
    EXPECT_EQ(events.headerChanged, 1);
    EXPECT_FALSE(q.GetChangeFlag());
    EXPECT_EQ(q.Header(), expected);
    for (std::int16_t i = 0; i <= 64; ++i) EXPECT_EQ(q.DaliGruppe(i), i < 64 ? p.DaliGruppe(i) : q.DaliGruppe(64));
    EXPECT_EQ(q.DaliGruppe(64).Name, "spare");
    for (std::int16_t i = 0; i < 16; ++i) {
        EXPECT_EQ(q.DaliScene(i), p.DaliScene(i));
        EXPECT_EQ(q.DaliEinzelgruppe(i), p.DaliEinzelgruppe(i));
    }
    EXPECT_EQ(q.Szene(0).Name, "not filed");

    const std::string again = path("again.dal");
    q.SaveProjektData(again);
    const Bytes g = read(again);
    EXPECT_EQ(Bytes(g.end() - 32 * 9, g.end()), Bytes(f.begin() + static_cast<std::ptrdiff_t>(sceneData), f.end()));
    q.setEventSink(nullptr);
    p.setEventSink(nullptr);
}

TEST_F(ProjectFile, AFileOfTheWindowsToolOpensEvenWithStaleBytesAfterItsEnd) {
    // Header with Bestellnummer "517104", a 1252 text, then 64 + 16 + 16 + 32 entries, then junk
    // that an earlier, longer file left behind.
    Bytes f = {3, 0, 'H', 0xE4, 'h', 0, 0, 0, 0, 0x05, 0x11, 0, 0, 0, 0, 6, 0, '5', '1', '7', '1', '0', '4',
               2, 0, '1', '1'};
    for (int d = 0; d < 3; ++d) f.insert(f.end(), {0x00, 0x00, 0x00, 0x00, 0x70, 0x9E, 0xE3, 0x40});
    f.insert(f.end(), {0, 0, 0x39, 0x30, 0, 0, 2, 0, 'i', 'd'});
    for (int i = 0; i < 64; ++i) f.insert(f.end(), {2, 0xAA, 0xBB, 0xCC, 1, 0, 'n', 0, 0, static_cast<std::uint8_t>(i), 0, 0, 0, 0});
    for (int i = 0; i < 16; ++i) f.insert(f.end(), {0x01, 0x80, static_cast<std::uint8_t>(i)});
    for (int i = 0; i < 16; ++i) f.insert(f.end(), {0, 0, 10, 20, 30, 0, 0, static_cast<std::uint8_t>(i)});
    for (int i = 0; i < 32 * 9; ++i) f.push_back(1);
    f.insert(f.end(), 500, 0xEE);
    const std::string name = path("windows.dal");
    write(name, f);

    clsOrvekDali p;
    p.OpenProjektMaxData(name);
    EXPECT_EQ(p.Header().Bestellnummer, "517104");
    test::size(p);
    test::EventLog events;
    p.setEventSink(&events);
    p.OpenProjektData(name);
    EXPECT_TRUE(events.interfaceErrors.empty());
    const TypHeader h = p.Header();
    EXPECT_EQ(h.ProjektBeschreibung, "Häh");
    EXPECT_EQ(h.DateiName, name);
    EXPECT_EQ(h.phyAdr, 0x1105);
    EXPECT_EQ(h.LetzterUpload, kNewYear2010Noon);
    EXPECT_EQ(h.Bemerkung1ID, 12345);
    EXPECT_EQ(h.Bemerkung2ID, "id");
    EXPECT_EQ(p.DaliGruppe(63), (TypDaliGruppe{2, 0xAA, 0xBB, 0xCC, "n", "", 63, "", ""}));
    EXPECT_EQ(p.DaliScene(15), (TypDaliScene{0x01, 0x80, 15}));
    EXPECT_EQ(p.DaliEinzelgruppe(15), (TypDaliEinzelGruppe{"", 10, 20, 30, "", 15}));
    p.setEventSink(nullptr);
}

TEST_F(ProjectFile, HeaderOnlyReadLeavesTheRestAlone) {
    clsOrvekDali p;
    test::size(p);
    fillStoredFields(p);
    const std::string name = path("h.dal");
    p.SaveProjektData(name);

    clsOrvekDali q;
    test::size(q);
    q.letDaliGruppe(3, TypDaliGruppe{1, 2, 3, 4, "mine", "", 3, "", ""});
    q.letDaliScene(3, {5, 6, 3});
    q.letDaliEinzelgruppe(3, {"my group", 1, 2, 3, "", 3});
    test::EventLog events;
    q.setEventSink(&events);
    q.OpenProjektMaxData(name);
    EXPECT_EQ(events.headerChanged, 0);
    EXPECT_TRUE(q.GetChangeFlag());  // untouched
    EXPECT_EQ(q.Header(), p.Header());
    EXPECT_EQ(q.DaliGruppe(3).Name, "mine");
    EXPECT_EQ(q.DaliScene(3), (TypDaliScene{5, 6, 3}));
    EXPECT_EQ(q.DaliEinzelgruppe(3).Name, "my group");
    q.setEventSink(nullptr);
}

TEST_F(ProjectFile, ShortGarbageMissingOrUnreadableFilesAreRefusedAndTheProjectKeepsItsState) {
    clsOrvekDali source;
    test::size(source);
    fillStoredFields(source);
    const std::string good = path("good.dal");
    source.SaveProjektData(good);
    const Bytes full = read(good);

    clsOrvekDali p;
    test::size(p);
    p.letDaliGruppe(0, TypDaliGruppe{1, 2, 3, 4, "before", "", 0, "", ""});
    TypHeader h;
    h.DateiName = "mine.dal";
    h.ProjektBeschreibung = "mine";
    p.letHeader(h);
    const TypHeader header = p.Header();
    test::EventLog events;
    p.setEventSink(&events);

    const std::string bad = path("bad.dal");
    // headerRefused: the header-only read fails too (the file ends inside the header, or is none).
    const auto expectRefused = [&](const std::string& file, std::int16_t code, bool headerRefused = true) {
        events = {};
        p.OpenProjektData(file);
        EXPECT_EQ(events.interfaceErrors, std::vector<std::int16_t>{code});
        EXPECT_EQ(events.headerChanged, 0);
        EXPECT_TRUE(p.GetChangeFlag());
        EXPECT_EQ(p.Header(), header);
        EXPECT_EQ(p.DaliGruppe(0).Name, "before");
        EXPECT_EQ(p.DaliGruppe(1).Gruppe, 255);
        if (headerRefused) {
            EXPECT_EQ(errorOf([&] { p.OpenProjektMaxData(file); }), code);
            EXPECT_EQ(p.Header(), header);
        }
    };
    // Cut inside a header text, after the header, inside a ballast and one byte before the end.
    const std::size_t headerSize = 48 + source.Header().DateiName.size() + 40;
    write(bad, Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(headerSize)));
    clsOrvekDali headerOnly;
    headerOnly.OpenProjektMaxData(bad);
    ASSERT_EQ(headerOnly.Header().Bemerkung2ID, "B2");
    for (std::size_t cut : {std::size_t{3}, headerSize + 1, full.size() / 2, full.size() - 1}) {
        SCOPED_TRACE(cut);
        write(bad, Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut)));
        expectRefused(bad, 62, cut < headerSize);
    }
    write(bad, Bytes(200, 0xFF));  // every text length claims 65535 bytes
    expectRefused(bad, 62);
    write(bad, {});
    expectRefused(bad, 62);

    expectRefused(path("missing.dal"), 53);
    expectRefused(path("no-such-folder/x.dal"), 76);
    expectRefused(dir.string(), 75);
    EXPECT_FALSE(fs::exists(path("missing.dal")));  // opening creates nothing
    EXPECT_FALSE(fs::exists(path("no-such-folder")));
    EXPECT_EQ(read(good), full);
    p.setEventSink(nullptr);
}

TEST_F(ProjectFile, AFailedSaveLeavesTheOldFileAndTheHeaderAsTheyWere) {
    automation::ScopedClock clock([] { return kNewYear2010Noon; });
    clsOrvekDali p;
    test::size(p);
    fillStoredFields(p);
    const std::string name = path("keep.dal");
    p.SaveProjektData(name);
    const Bytes before = read(name);

    test::EventLog events;
    p.setEventSink(&events);
    p.letDaliGruppeName(0, "changed");
    const TypHeader header = p.Header();
    const auto expectUnchanged = [&] {
        EXPECT_EQ(p.Header(), header);  // DateiName and LetzterZugriff included
        EXPECT_TRUE(p.GetChangeFlag());
        EXPECT_EQ(events.headerChanged, 0);
        EXPECT_EQ(read(name), before);
        EXPECT_EQ(filesInFolder(), 1u);  // no half-written file left behind
    };
    {
        automation::ScopedClock later([] { return kNewYear2010Noon + 1; });
        EXPECT_EQ(errorOf([&] { p.SaveProjektData(path("no-such-folder/x.dal")); }), 76);
        expectUnchanged();
        EXPECT_EQ(errorOf([&] { p.SaveProjektData(dir.string()); }), 75);
        expectUnchanged();
        EXPECT_EQ(errorOf([&] { p.SaveProjektData(""); }), 52);
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
        TypHeader longText = header;
        longText.Bemerkung2 = std::string(65536, 'x');
        p.letHeader(longText);
        events = {};
        EXPECT_EQ(errorOf([&] { p.SaveProjektData(name); }), 6);
        EXPECT_EQ(p.Header(), longText);
        EXPECT_EQ(read(name), before);
        EXPECT_EQ(filesInFolder(), 1u);
        longText.Bemerkung2 = std::string(65535, 'x');  // the longest that fits
        p.letHeader(longText);
    }
    p.SaveProjektData(name);
    EXPECT_EQ(read(name).size(), before.size() + (65535 - 6) + (7 - 5));  // the longer remark and ballast name

    // Limits beyond the fixed arrays: error 9, and no file.
    clsOrvekDali wide;
    TypMaxGrenzwerte g = test::gatewayLimits();
    g.MaxDaligruppen = 66;
    test::size(wide, g);
    EXPECT_EQ(errorOf([&] { wide.SaveProjektData(path("wide.dal")); }), 9);
    EXPECT_FALSE(fs::exists(path("wide.dal")));
    p.setEventSink(nullptr);
}

TEST_F(ProjectFile, ASmallerProjectReplacesALargerFileWhole) {
    clsOrvekDali large;
    test::size(large);
    fillStoredFields(large);
    const std::string name = path("shrink.dal");
    large.SaveProjektData(name);
    const auto largeSize = read(name).size();

    clsOrvekDali small;  // all limits 0: the header alone
    small.SaveProjektData(name);
    const Bytes f = read(name);
    EXPECT_EQ(f.size(), 48 + name.size());
    EXPECT_LT(f.size(), largeSize);

    clsOrvekDali q;
    q.OpenProjektMaxData(name);
    EXPECT_EQ(q.Header(), small.Header());
}
