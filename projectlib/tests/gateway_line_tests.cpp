// A table transfer end to end: project object -> job engine -> bus driver -> simulated line,
// checked by the line's trace of driver calls and by the events that come back.
#include "gateway_support.h"

#include <algorithm>

using namespace corlink;
using namespace corlink::test;

namespace {

using GatewayLine = GatewayTest;

// The property calls of one table: its element count at index 0, then pieces of one telegram
// (2 ballast entries of 4 bytes, 5 scene entries of 2 bytes).
void expectTable(const std::vector<std::string>& calls, std::size_t& at, const std::string& verb,
                 const std::string& countType, int property, int dataType, int elements, int perTelegram) {
    const std::string prefix = verb + " 4/" + std::to_string(property) + " type ";
    ASSERT_LT(at, calls.size());
    EXPECT_EQ(calls[at++], prefix + countType + " start 0 count 1");
    for (int start = 1; start <= elements; start += perTelegram) {
        const int count = std::min(perTelegram, elements - start + 1);
        ASSERT_LT(at, calls.size());
        EXPECT_EQ(calls[at++], prefix + std::to_string(dataType) + " start " + std::to_string(start) + " count " +
                                   std::to_string(count));
    }
}

// Both tables in 38 pieces (1 + 32 and 1 + 4), and the engine's five progress events ending
// in the project's DownUpLoad of the direction.
void expectTransfer(const Recorder& events, const std::string& verb, const std::string& countType,
                    const std::vector<std::string>& progress, TypLoadProc load) {
    const std::vector<std::string> calls = propertyCalls(verb);
    EXPECT_EQ(calls.size(), 38u);
    std::size_t at = 0;
    expectTable(calls, at, verb, countType, 51, 20, 64, 2);
    expectTable(calls, at, verb, countType, 56, 18, 16, 5);
    EXPECT_EQ(events.loads, progress);
    ASSERT_EQ(events.downUpLoads.size(), 1u);
    EXPECT_EQ(events.downUpLoads[0].TypLoad, load);
}

}  // namespace

TEST_F(GatewayLine, TableDownloadWrites38PiecesAndTableUploadReads38) {
    fillTables(p);
    ASSERT_EQ(p.StartDownUpLoad(pdDownLoad, kEdi, kPara), 1);
    // Engine events 7, 6, 6, 8, 11; its result 9 (DownloadDone) comes back as pdDownLoad.
    expectTransfer(events, "Write", "3",
                   {" Begin Download\t\tProps:0/2", " Property geschrieben\tObj.ID:4\t\tProp.ID:51",
                    " Property geschrieben\tObj.ID:4\t\tProp.ID:56", " Ende Download\t\tProps:2/2",
                    " Verbindung geschlossen\tPhys.Addr:1101"},
                   pdDownLoad);
    EXPECT_TRUE(propertyCalls("Read").empty());
    EXPECT_EQ(line().openConnections(), 0);

    line().clearTrace();
    events = Recorder{};
    ASSERT_EQ(p.StartDownUpLoad(pdupLoad, kEdi, kPara), 1);
    // Engine events 3, 2, 2, 4, 11; its result 8 (UploadDone) comes back as pdupLoad.
    expectTransfer(events, "Read", "4",
                   {" Beginn Upload\t\tProps:0/2", " Property geladen\t\tObj.ID:4\t\tProp.ID:51",
                    " Property geladen\t\tObj.ID:4\t\tProp.ID:56", " Ende Upload\t\tProps:2/2",
                    " Verbindung geschlossen\tPhys.Addr:1101"},
                   pdupLoad);
    EXPECT_TRUE(propertyCalls("Write").empty());
    // The connection took the interface and the job's target as the project passed them.
    const auto& trace = line().trace();
    EXPECT_NE(std::find(trace.begin(), trace.end(), "Open 1 \"1\""), trace.end());
    EXPECT_NE(std::find(trace.begin(), trace.end(), "RemoteAddress 4353"), trace.end());
    EXPECT_NE(std::find(trace.begin(), trace.end(), "RetryCount 2"), trace.end());
}
