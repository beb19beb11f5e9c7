// A table transfer end to end: project object -> job engine -> bus driver -> simulated line,
// checked by the line's trace of driver calls and by the events that come back.
#include "gateway_support.h"

#include <array>

using namespace corlink;
using namespace corlink::test;

namespace {

using GatewayLine = GatewayTest;

// The property calls of both tables: each table's element count at index 0, then pieces of one
// telegram (2 ballast entries of 4 bytes, 5 scene entries of 2 bytes).
std::vector<std::string> tableCalls(const std::string& verb, const std::string& countType) {
    std::vector<std::string> out;
    for (const auto& [property, dataType, elements, perTelegram] :
         {std::array{51, 20, 64, 2}, std::array{56, 18, 16, 5}}) {
        const std::string prefix = verb + " 4/" + std::to_string(property) + " type ";
        out.push_back(prefix + countType + " start 0 count 1");
        for (int start = 1; start <= elements; start += perTelegram) {
            out.push_back(prefix + std::to_string(dataType) + " start " + std::to_string(start) + " count " +
                          std::to_string(std::min(perTelegram, elements - start + 1)));
        }
    }
    return out;
}

}  // namespace

TEST_F(GatewayLine, TableDownloadWrites38PiecesAndTableUploadReads38) {
    fillTables(p);
    ASSERT_EQ(p.StartDownUpLoad(pdDownLoad, kEdi, kPara), 1);
    EXPECT_EQ(propertyCalls("Write").size(), 38u);
    EXPECT_EQ(propertyCalls("Write"), tableCalls("Write", "3"));
    EXPECT_TRUE(propertyCalls("Read").empty());
    EXPECT_EQ(line().openConnections(), 0);
    // Engine events 7, 6, 6, 8, 11; its result 9 (DownloadDone) comes back as pdDownLoad.
    EXPECT_EQ(events.loads,
              (std::vector<std::string>{" Begin Download\t\tProps:0/2", " Property geschrieben\tObj.ID:4\t\tProp.ID:51",
                                        " Property geschrieben\tObj.ID:4\t\tProp.ID:56", " Ende Download\t\tProps:2/2",
                                        " Verbindung geschlossen\tPhys.Addr:1101"}));
    ASSERT_EQ(events.downUpLoads.size(), 1u);
    EXPECT_EQ(events.downUpLoads[0].TypLoad, pdDownLoad);

    line().clearTrace();
    events = Recorder{};
    ASSERT_EQ(p.StartDownUpLoad(pdupLoad, kEdi, kPara), 1);
    EXPECT_EQ(propertyCalls("Read").size(), 38u);
    EXPECT_EQ(propertyCalls("Read"), tableCalls("Read", "4"));
    EXPECT_TRUE(propertyCalls("Write").empty());
    // Engine events 3, 2, 2, 4, 11; its result 8 (UploadDone) comes back as pdupLoad.
    EXPECT_EQ(events.loads,
              (std::vector<std::string>{" Beginn Upload\t\tProps:0/2", " Property geladen\t\tObj.ID:4\t\tProp.ID:51",
                                        " Property geladen\t\tObj.ID:4\t\tProp.ID:56", " Ende Upload\t\tProps:2/2",
                                        " Verbindung geschlossen\tPhys.Addr:1101"}));
    ASSERT_EQ(events.downUpLoads.size(), 1u);
    EXPECT_EQ(events.downUpLoads[0].TypLoad, pdupLoad);
    // The connection took the interface and the job's target as the project passed them.
    const auto& trace = line().trace();
    for (const char* call : {"Open 1 \"1\"", "RemoteAddress 4353", "RetryCount 2"})
        EXPECT_NE(std::find(trace.begin(), trace.end(), call), trace.end()) << call;
}
