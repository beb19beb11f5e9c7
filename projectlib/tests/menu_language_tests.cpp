#include "corbus/devices.h"
#include "corbus/errors.h"
#include "corlink/GatewayHooks.h"
#include "tables_test_access.h"
#include "test_support.h"

#include <filesystem>

using namespace corlink;
using corlink::test::errorOf;
using Access = ListsAndTablesTestAccess;

namespace {

class MenuLanguage : public ::testing::Test {
protected:
    void SetUp() override {
        setProgramFolder(temp.dir);
        test::size(project);
    }
    void TearDown() override { setProgramFolder({}); }

    void write(const std::string& name, const std::string& bytes) const { test::writeFile(temp.dir / name, bytes); }
    void chooseLanguage(const std::string& name, std::uint8_t id) {
        TypZeiten z = project.Zeiten();
        z.MenuSprache = name;
        z.MenuSpracheID = id;
        project.letZeiten(z);
    }
    SafeArray<TypMenuText> readList() {
        SafeArray<TypMenuText> items;
        Access::ReadLanguageFile(project, items);
        return items;
    }

    test::TempFolder temp;
    clsOrvekDali project;
};

SafeArray<TypMenuText> list(std::initializer_list<TypMenuText> entries) {
    SafeArray<TypMenuText> items(0, static_cast<std::int32_t>(entries.size()) - 1);
    std::int32_t i = 0;
    for (const TypMenuText& e : entries) items(i++) = e;
    return items;
}

std::vector<std::int32_t> dataOf(const corbus::brimPropItem& item) {
    std::vector<std::int32_t> out;
    const automation::Variant& d = item.Data();
    for (std::int32_t i = d.lowerBound(); i <= d.upperBound(); ++i) out.push_back(automation::toLong(d.at(i)));
    return out;
}

// The 17 data bytes of a menu text: 16 characters padded with blanks, then 0.
std::vector<std::int32_t> textData(const std::string& ansi) {
    std::vector<std::int32_t> out(17, 32);
    for (std::size_t i = 0; i < ansi.size(); ++i) out[i] = static_cast<unsigned char>(ansi[i]);
    out[16] = 0;
    return out;
}

}  // namespace

TEST_F(MenuLanguage, ReadsAHandWrittenFile) {
    chooseLanguage("Deutsch", 3);
    write("Deutsch.m3",
          "Nr1,Nr2,Frei,Text\r\n"
          "1,10,x,\"Men\xFC\"\r\n"
          "  2 , 20 ,\"a, b\",Zeit  \r\n"
          "3,30,,\"Datum, Uhr\"\r\n"
          "4\r\n40\r\ny\r\n\"\"\r\n"  // a record may run over line ends
          "-5,32767,z,\"Licht\"\n\r\n\r\n");
    const SafeArray<TypMenuText> items = readList();
    ASSERT_EQ(items.lbound(), 0);
    ASSERT_EQ(items.ubound(), 4);
    EXPECT_EQ(items(0), (TypMenuText{1, 10, "Menü"}));
    EXPECT_EQ(items(1), (TypMenuText{2, 20, "Zeit"}));
    EXPECT_EQ(items(2), (TypMenuText{3, 30, "Datum, Uhr"}));
    EXPECT_EQ(items(3), (TypMenuText{4, 40, ""}));
    EXPECT_EQ(items(4), (TypMenuText{-5, 32767, "Licht"}));

    chooseLanguage("Deutsch", 12);  // the extension is the number without leading zeros
    write("Deutsch.m12", "header only\r\n");
    EXPECT_TRUE(readList().allocated());
    EXPECT_EQ(readList().size(), 0u);

    // CR alone, LF alone and CR LF each end a line, the header line too.
    for (const char* end : {"\r", "\n", "\r\n"}) {
        const std::string e = end;
        write("Deutsch.m12", "1,1,header" + e + "7" + e + "8,x" + e + "\"Licht\"" + e + "9,10,y,Aus" + e);
        const SafeArray<TypMenuText> two = readList();
        ASSERT_EQ(two.size(), 2u) << testing::PrintToString(e);
        EXPECT_EQ(two(0), (TypMenuText{7, 8, "Licht"}));
        EXPECT_EQ(two(1), (TypMenuText{9, 10, "Aus"}));
    }
}

TEST_F(MenuLanguage, BadFilesRaiseTheirErrorsAndLeaveTheList) {
    chooseLanguage("Francais", 1);
    EXPECT_EQ(errorOf([&] { readList(); }), 53);
    const std::pair<const char*, std::int32_t> files[] = {{"", 62},  // not even a header line
                                                          {"h\r\n1,2,3,\"a\"\r\n4,5\r\n", 62},  // a record cut short
                                                          {"h\r\neins,2,3,a\r\n", 13},
                                                          {"h\r\n1,40000,3,a\r\n", 6}};
    for (const auto& [content, error] : files) {
        write("Francais.m1", content);
        SafeArray<TypMenuText> items = list({{1, 2, "kept"}});
        EXPECT_EQ(errorOf([&] { Access::ReadLanguageFile(project, items); }), error) << content;
        EXPECT_EQ(items(0).Text, "kept");
    }
    // A folder named like the file, and a file that opens but fails to read, give 75.
    std::filesystem::create_directory(temp.dir / "Ordner.m4");
    chooseLanguage("Ordner", 4);
    EXPECT_EQ(errorOf([&] { readList(); }), 75);
    std::filesystem::create_symlink("/proc/self/mem", temp.dir / "Speicher.m4");  // reading at 0 fails
    chooseLanguage("Speicher", 4);
    EXPECT_EQ(errorOf([&] { readList(); }), 75);

    // MenuSprache is a file name of the program folder: nothing else is read.
    const test::TempFolder outside("outside");
    test::writeFile(outside.dir / "secret.m1", "h\r\n1,2,3,\"outside\"\r\n");
    write("x.m1", "h\r\n1,2,3,\"inside\"\r\n");
    const std::string relative = std::filesystem::relative(outside.dir / "secret", temp.dir).string();
    for (const std::string& name : {(outside.dir / "secret").string(), relative, std::string("sub/x"),
                                    std::string("sub\\x"), std::string("C:secret"), std::string("x\0", 2)}) {
        chooseLanguage(name, 1);
        EXPECT_EQ(errorOf([&] { readList(); }), 52) << name;
    }
    ASSERT_EQ(relative.rfind("../", 0), 0u);

    chooseLanguage("Francais", 1);
    setProgramFolder(temp.dir / "missing");
    EXPECT_EQ(errorOf([&] { readList(); }), 76);
}

TEST_F(MenuLanguage, WritesOneLinePerTextWithoutHeader) {
    Access::WriteLanguageFile(project, list({{1, 2, "Eins"}, {-3, 400, "Grün, hell"}, {5, 6, ""}}));
    EXPECT_EQ(test::readFile(temp.dir / "MenuSprache.m00"), "1,2,\"Eins\"\r\n-3,400,\"Gr\xFCn, hell\"\r\n5,6,\"\"\r\n");
    EXPECT_EQ(errorOf([&] { Access::WriteLanguageFile(project, SafeArray<TypMenuText>{}); }), 9);
    setProgramFolder(temp.dir / "missing");
    EXPECT_EQ(errorOf([&] { Access::WriteLanguageFile(project, list({{1, 2, "x"}})); }), 76);
}

TEST_F(MenuLanguage, ItemsLoadTheMenuTextsAndTheAddressTable) {
    corbus::brimDevice dev;
    EXPECT_NE(errorOf([&] { Access::BuildLanguageItems(project, dev); }), 0);  // no physical address
    EXPECT_EQ(dev.PropItems()->Count(), 0);

    TypHeader header;
    header.phyAdr = 0x1105;
    project.letHeader(header);
    TypBeleuchtungsGruppe light;
    light.Objekte[0] = {true, false, 0, SafeArray<std::int32_t>(0, 1), true, "", 0};
    light.Objekte[0].GrpAdr(0) = 0x0A01;
    light.Objekte[0].GrpAdr(1) = 0x0901;
    project.letBeleuchtungsGruppe(0, light);
    chooseLanguage("Nowhere", 9);
    EXPECT_EQ(errorOf([&] { Access::BuildLanguageItems(project, dev); }), 53);
    EXPECT_EQ(dev.PropItems()->Count(), 4);  // the items before the texts stay

    chooseLanguage("English", 2);
    // The third text is longer than the display: it is cut, and the texts after it still load.
    write("English.m2",
          "h\r\n1,1,a,\"Exactly 16 chars\"\r\n2,2,b,\"\"\r\n3,3,c,\"Seventeen chars!!\"\r\n"
          "4,4,d,\"Men\xFC\"\r\n");
    corbus::brimDevice loaded;
    Access::BuildLanguageItems(project, loaded);
    EXPECT_EQ(loaded.TargetAddress(), automation::Variant(std::int32_t{0x1105}));

    struct Expected {
        std::int32_t object, property, dataType, itemType;
    };
    using namespace corbus;
    const Expected expected[] = {
        {objControlObject, 5, PT_CONTROL, brimItemStandard},
        {OBJ_ID_ADDR, 5, PT_CONTROL, brimItemLoadCtl},
        {objAddressConnect, 201, PT_UNSIGNED_INT, brimItemAddress},
        {OBJ_ID_ADDR, 5, PT_CONTROL, brimItemLoadCtl},
        {objSprache, 202, PT_UNSIGNED_CHAR, brimItemArray},
        {objSprache, 203, PT_UNSIGNED_CHAR, brimItemArray},
        {objSprache, 204, PT_UNSIGNED_CHAR, brimItemArray},
        {objSprache, 205, PT_UNSIGNED_CHAR, brimItemArray},
        {OBJ_ID_ADDR, 5, PT_CONTROL, brimItemLoadCtl},
        {objAddressConnect, 201, PT_UNSIGNED_INT, brimItemAddress},
        {OBJ_ID_ADDR, 5, PT_CONTROL, brimItemLoadCtl},
        {objControlObject, 5, PT_CONTROL, brimItemLoadCtl},
    };
    const auto items = loaded.PropItems()->NewEnum();
    ASSERT_EQ(items.size(), std::size(expected));
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(items[i]->ObjectID(), expected[i].object);
        EXPECT_EQ(items[i]->PropertyId(), expected[i].property);
        EXPECT_EQ(items[i]->DataType(), expected[i].dataType);
        EXPECT_EQ(items[i]->ItemType(), expected[i].itemType);
        EXPECT_FALSE(items[i]->Verify());
    }
    // Load-state controls: ten bytes, the first one the event (1 start loading, 2 completed).
    const std::pair<std::size_t, std::uint8_t> controls[] = {{0, 1}, {1, 1}, {3, 2}, {8, 1}, {10, 2}, {11, 2}};
    for (const auto& [i, state] : controls) {
        std::vector<std::uint8_t> bytes(10, 0);
        bytes[0] = state;
        EXPECT_EQ(items[i]->Data().toBytes(), bytes) << i;
    }
    EXPECT_EQ(dataOf(*items[2]), std::vector<std::int32_t>{0});
    EXPECT_EQ(dataOf(*items[4]), textData("Exactly 16 chars"));
    EXPECT_EQ(dataOf(*items[5]), textData(""));
    EXPECT_EQ(dataOf(*items[6]), textData("Seventeen chars!"));
    EXPECT_EQ(dataOf(*items[7]), textData("Men\xFC"));
    EXPECT_EQ(dataOf(*items[9]), (std::vector<std::int32_t>{3, 0x0901, 0x0A01}));
}
