// The German texts of the engine's events and the item logs.
#include "GatewayDetail.h"
#include "corbus/devices.h"
#include "gateway_support.h"
#include "tables_test_access.h"

#include <algorithm>

using namespace corlink;
using namespace corlink::test;
using corlink::detail::itemLogLine;
using corlink::detail::progressText;

namespace {

using ItemLog = GatewayTest;
using BusEventHandlers = GatewayTest;

std::shared_ptr<corbus::brimPropItem> item(std::int32_t objectId, std::int32_t propertyId, std::int32_t dataType,
                                           const automation::Variant& data, bool update = false) {
    auto i = std::make_shared<corbus::brimPropItem>();
    i->setObjectID(objectId);
    i->setPropertyId(propertyId);
    i->setDataType(dataType);
    i->setData(data);
    i->SetUpdate(update);
    return i;
}

}  // namespace

TEST(BusEventTexts, ProgressTextsOfEveryEventId) {
    EXPECT_EQ(progressText(1, 5, 6), "Allgemeine Lade-Meldung:");
    EXPECT_EQ(progressText(2, 4, 51), "Property geladen\t\tObj.ID:4\t\tProp.ID:51");
    EXPECT_EQ(progressText(3, 2, 0), "Beginn Upload\t\tProps:0/2");
    EXPECT_EQ(progressText(4, 2, 1), "Ende Upload\t\tProps:1/2");
    EXPECT_EQ(progressText(5, 5, 1), "Property überprüft\t\tObj.ID:5\t\tProp.ID:1");
    EXPECT_EQ(progressText(6, 4, 56), "Property geschrieben\tObj.ID:4\t\tProp.ID:56");
    EXPECT_EQ(progressText(7, 2, 0), "Begin Download\t\tProps:0/2");
    EXPECT_EQ(progressText(8, 2, 2), "Ende Download\t\tProps:2/2");
    EXPECT_EQ(progressText(9, 4353, 32), "Masken Version geprüft\tPhys.Addr:1101\tMaske:20");
    EXPECT_EQ(progressText(10, 4353, 0), "Verbindung geöffnet\t\tPhys.Addr:1101");
    EXPECT_EQ(progressText(11, -1, 0), "Verbindung geschlossen\tPhys.Addr:FFFFFFFF");
    EXPECT_EQ(progressText(12, 0, 0), "Keine Geräte für Upload");
    EXPECT_EQ(progressText(13, 0, 0), "Keine Geräte für Download");
    EXPECT_EQ(progressText(14, 0, 7), "Download Adress-Tabelle\tAdressen:0/7");
    EXPECT_EQ(progressText(15, 7, 7), "Adress-Tabelle geladen\tAdressen:7/7");
    EXPECT_EQ(progressText(16, 0, 12), "Download Verbindungs-Tabelle\tAdressen:0/12");
    EXPECT_EQ(progressText(17, 12, 12), "Verbindungs-Tabelle geladen\tAdressen:12/12");
    EXPECT_EQ(progressText(18, -1, 2), "Change LoadCtrl\t\tVor:-1\tNach:2");
    for (std::int32_t id : {0, 19, 26, 28, -1}) EXPECT_EQ(progressText(id, 1, 2), "") << id;
}

TEST_F(BusEventHandlers, EachEngineEventRunsTheMessagesOnceAroundItsText) {
    pumpAction = [this] { events.sequence.push_back("pump"); };
    corbus::brimEibEvents& engineSink = ListsAndTablesTestAccess::busEvents(p);
    const auto raise = [&](std::int32_t id, std::int32_t p1, std::int32_t p2) {
        events = Recorder{};
        engineSink.EventError(static_cast<corbus::enumEventID>(id), p1, p2, kBuilt);
    };
    const auto expect = [&](std::int32_t id, std::int32_t p1, std::int32_t p2, const std::string& text,
                            LoadError code) {
        raise(id, p1, p2);
        EXPECT_EQ(events.sequence, (std::vector<std::string>{"LoadErrorEvent", "pump"})) << id;
        ASSERT_EQ(events.loadErrors.size(), 1u) << id;
        EXPECT_EQ(events.loadErrors[0].first, text) << id;
        EXPECT_EQ(events.loadErrors[0].second, code) << id;
    };
    expect(19, static_cast<std::int32_t>(0x80004005u), 7, "Allgemeiner Fehler Param1:\t80004005\tParam2:7",
           ERR_COMMUNICATION);
    expect(20, 4353, -1, "Keine Verbindung Phys.Adr:\t1101\tTip:-1", ERR_NOCONNECTION);
    expect(21, 4353, 3, "Verbindung unterbrochen Phys.Adr:\t1101\tTip:3", ERR_CONNECTIONFAILD);
    expect(22, 4353, -1, "Falsche Maskenversion Phys.Adr:\t1101\tTip:FFFFFFFF", ERR_MASKVERSION);
    expect(23, 5, 1, "Property nicht verifiziert!! Obj.ID:\t5\tProp.ID:1", ERR_PROPERTYVERIFY);
    expect(24, 4, 51, "Fehler beim Lesen des Property!! Obj.ID:\t4\tProp.ID:51", ERR_PROPERTYREAD);
    expect(25, 4, 56, "Fehler beim Schreiben Property!! Obj.ID:\t4\tProp.ID:56", ERR_PROPERTYWRITE);
    expect(26, 3, 4, "Abbruch durch Anwender!!", ERR_USER);
    expect(27, 0, 1, "Load Error\t\tAktuell:0\tAngefragt:1", ERR_LOAD);
    // Any other id raises nothing, but the messages still run once.
    for (std::int32_t id : {0, 1, 18, 28, -1}) {
        raise(id, 1, 2);
        EXPECT_EQ(events.sequence, std::vector<std::string>{"pump"}) << id;
    }
    // A progress event runs them first, then raises its text after one blank (a blank alone
    // for an id outside 1..18).
    for (const auto& [id, text] : {std::pair<std::int32_t, std::string>{3, " Beginn Upload\t\tProps:0/2"}, {19, " "}}) {
        events = Recorder{};
        engineSink.EventLoad(static_cast<corbus::enumEventID>(id), 2, 0, kBuilt);
        EXPECT_EQ(events.sequence, (std::vector<std::string>{"pump", "LoadEvent"})) << id;
        EXPECT_EQ(events.loads, std::vector<std::string>{text}) << id;
    }
}

TEST(IdentificationTexts, OrderNumberSkipsFFAndFirmwareKeepsTwoDigits) {
    using automation::Variant;
    using corlink::detail::firmwareText;
    using corlink::detail::orderNumberText;
    EXPECT_EQ(orderNumberText(Variant::bytes({0x01, 0x23, 0x0A, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xAB})), "123AAB");
    EXPECT_EQ(firmwareText(Variant::bytes({0x01, 0x01, 0x00, 0x00, 0x00})), "11");
    EXPECT_EQ(firmwareText(Variant::bytes({0x00, 0xFF, 0x00, 0x00, 0x00})), "0F");
    EXPECT_EQ(errorOf([] { orderNumberText(Variant::bytes(std::vector<std::uint8_t>(9, 1))); }), 9);
    EXPECT_EQ(errorOf([] { firmwareText(Variant()); }), 13);
    EXPECT_EQ(errorOf([] { firmwareText(Variant::longs({1, 2, 256, 4, 5})); }), 6);
}

TEST(ItemLogLine, EveryFieldStandsAtItsColumn) {
    EXPECT_EQ(itemLogLine(*item(6, 5, 2, std::int32_t{3}, true)), " 6    5     2    True    3");
    EXPECT_EQ(itemLogLine(*item(4, 59, 19, automation::Variant::bytes({1, 0, 0}))), " 4    59    19   False   1 0 0 ");
    EXPECT_EQ(itemLogLine(*item(5, 15, 12, {})), " 5    15    12   False   ");
    EXPECT_EQ(itemLogLine(*item(-5, 201, 4, std::int32_t{-1})), "-5    201   4    False   FFFFFFFF");
    // A field that does not fit before the next column pushes that column to a new line.
    EXPECT_EQ(itemLogLine(*item(123456, 7, 2, std::int16_t{-1})), " 123456 \r\n      7     2    False   FFFF");
    EXPECT_EQ(errorOf([] { itemLogLine(*item(4, 59, 19, "text")); }), 13);
}

TEST_F(ItemLog, TheLogsHoldOneLinePerItemBeforeAndAfterTheTransfer) {
    fillTables(p);
    ASSERT_EQ(p.StartDownUpLoad(pdDownLoad, kEdi, kPara, true), 1);
    // Ballast 0 of fillTables: group 0, long address 00 40 80; ballast 1: 01 01 41 81.
    EXPECT_EQ(readLog("BTSToDO").rfind(" 4    51    20   False   0 0 40 80 1 1 41 81 ", 0), 0u);
    const std::string after = readLog("BTSLog");
    EXPECT_EQ(after.rfind(" 4    51    20   True    0 0 40 80 1 1 41 81 ", 0), 0u);
    EXPECT_NE(after.find("C 3F 7F BF \r\n 4    56    18   True    0 80 1 81 "),
              std::string::npos);                            // ballast 63, scene 0
    EXPECT_EQ(after.substr(after.size() - 7), "F 8F \r\n");  // scene 15
    EXPECT_EQ(std::count(after.begin(), after.end(), '\n'), 2);
}

TEST_F(ItemLog, AFailingItemKeepsTheLinesBeforeIt) {
    corbus::brimDevice job;
    job.Add(6, 5, 2, std::int32_t{1});
    job.Add(6, 6, 2, "no number");
    EXPECT_EQ(errorOf([&] { detail::WriteLoadLog("BTSLog", job); }), 13);
    EXPECT_EQ(readLog("BTSLog"), " 6    5     2    False   1\r\n");
    setProgramFolder({});
    EXPECT_TRUE(fs::is_directory(programFolder()));  // the default: the executable's folder
}
