#include "oledate.h"
#include "test_support.h"

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace corlink;
using corlink::test::errorOf;
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

// Every stored field set to a value of its own.
void fillStoredFields(clsOrvekDali& p) {
    p.letHeader(TypHeader{"Büro 1. OG", "K-17", "old.dal", 0x1105, "1.1.5", "517204", "11", 0, 40179.25, 40180.75,
                          "erste", -12345, "zweite", "B2"});
    for (std::int16_t i = 0; i < 64; ++i) {
        const auto b = static_cast<std::uint8_t>(i);
        p.letDaliGruppe(i, TypDaliGruppe{static_cast<std::uint8_t>(i % 17), b, static_cast<std::uint8_t>(b + 1),
                                         static_cast<std::uint8_t>(b + 2), "EVG " + std::to_string(i),
                                         "G" + std::to_string(i % 16), b, "d1-" + std::to_string(i), i % 2 ? "" : "d2"});
    }
    for (std::int16_t i = 0; i < 16; ++i) {
        const auto b = static_cast<std::uint8_t>(i);
        p.letDaliScene(i, TypDaliScene{static_cast<std::uint8_t>(0xA0 + b), static_cast<std::uint8_t>(0x0F - b), b});
        p.letDaliEinzelgruppe(i, TypDaliEinzelGruppe{"Gruppe " + std::to_string(i), b, static_cast<std::uint8_t>(b + 100),
                                                     static_cast<std::uint8_t>(255 - b), "€ " + std::to_string(i), b});
    }
}

class ProjectFile : public ::testing::Test {
protected:
    ProjectFile() {
        test::size(p);
        fillStoredFields(p);
    }
    std::string path(const std::string& name) const { return folder.path(name); }
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
    EXPECT_EQ(slice(f, 48 + name.size(), 14), (Bytes{7, 1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255}));  // ballast 1 sized empty

    h = TypHeader{};
    h.ProjektBeschreibung = "Büro €";  // texts are stored in Windows-1252
    q.letHeader(h);
    q.SaveProjektData(name);
    EXPECT_EQ(slice(read(name), 0, 8), (Bytes{6, 0, 'B', 0xFC, 'r', 'o', ' ', 0x80}));
}

TEST_F(ProjectFile, SaveThenOpenGivesBackEveryStoredField) {
    automation::ScopedClock clock([] { return kNewYear2010Noon; });
    test::Recorder savedEvents;
    p.setEventSink(&savedEvents);
    const std::string name = path("round.dal");
    p.SaveProjektData(name);
    EXPECT_FALSE(p.GetChangeFlag());
    EXPECT_EQ(savedEvents.count("HeaderChanged"), 1);
    const TypHeader expected = p.Header();
    EXPECT_EQ(expected.DateiName, name);
    EXPECT_EQ(expected.LetzterZugriff, kNewYear2010Noon);

    // Scene data exist only in the file: patch them in, and read them back through a save.
    // Bytes after the end (left by an older, longer file) are not read; the file may be read-only.
    Bytes f = read(name);
    const std::size_t sceneData = f.size() - 32 * 9;
    for (std::size_t i = 0; i < 32 * 9; ++i) f[sceneData + i] = static_cast<std::uint8_t>(i * 7);
    write(name, f);
    {
        Bytes stale = f;
        stale.insert(stale.end(), 100, 0xEE);
        write(path("stale.dal"), stale);
    }
    ::chmod(name.c_str(), 0444);

    clsOrvekDali q;
    test::size(q);
    TypSzene kept;
    kept.Name = "not filed";
    q.letSzene(0, kept);
    q.letDaliGruppe(64, TypDaliGruppe{1, 1, 1, 1, "spare", "", 64, "", ""});
    test::Recorder events;
    q.setEventSink(&events);
    q.OpenProjektData(name);
    EXPECT_EQ(events.sequence, std::vector<std::string>{"HeaderChanged"});
    EXPECT_FALSE(q.GetChangeFlag());
    EXPECT_EQ(q.Header(), expected);
    for (std::int16_t i = 0; i < 64; ++i) EXPECT_EQ(q.DaliGruppe(i), p.DaliGruppe(i));
    for (std::int16_t i = 0; i < 16; ++i) {
        EXPECT_EQ(q.DaliScene(i), p.DaliScene(i));
        EXPECT_EQ(q.DaliEinzelgruppe(i), p.DaliEinzelgruppe(i));
    }
    EXPECT_EQ(q.DaliGruppe(64).Name, "spare");
    EXPECT_EQ(q.Szene(0).Name, "not filed");

    q.SaveProjektData(path("again.dal"));
    EXPECT_EQ(slice(read(path("again.dal")), sceneData, 32 * 9), slice(f, sceneData, 32 * 9));

    events = {};
    q.OpenProjektData(path("stale.dal"));
    EXPECT_TRUE(events.interfaceErrors.empty());
    EXPECT_EQ(q.DaliGruppe(63), p.DaliGruppe(63));
    q.setEventSink(nullptr);
    p.setEventSink(nullptr);
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
    const std::size_t headerSize = 48 + good.size() + 40;
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
    EXPECT_EQ(errorOf([&] { p.SaveProjektData(folder.dir.string()); }), 75);
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
    header.Bemerkung2 = std::string(65536, 'x');
    p.letHeader(header);
    events = {};
    EXPECT_EQ(errorOf([&] { p.SaveProjektData(name); }), 6);
    expectUnchanged();
    header.Bemerkung2 = std::string(65535, 'x');  // the longest that fits
    p.letHeader(header);
    p.SaveProjektData(name);
    EXPECT_EQ(read(name).size(), before.size() + (65535 - 6) + (7 - 5));  // the longer remark and ballast name

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
    fs::create_symlink("../target.dal", path("sub/relative.dal"));  // relative to the link's folder
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
}
