// The gateway's DALI behaviour, driven directly through its command channel.
#include "dali_gateway.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace busdriver;

namespace {

// A gateway with `count` ballasts of seed 7 on its line, installed by a finished new installation.
DaliGateway installedGateway(int count = 5) {
    DaliGateway g;
    g.populateLine(count, 7);
    g.searchPolls = 0;
    g.writeCommand({cmdNewInstallation, 0, 0});
    return g;
}

CommandBytes send(DaliGateway& g, std::uint8_t code, std::uint8_t a = 0, std::uint8_t b = 0) {
    g.writeCommand({code, a, b});
    return g.pollReply();
}

}  // namespace

TEST(DaliGateway, LineIsDeterministicWithDistinctLongAddresses) {
    DaliGateway a;
    DaliGateway b;
    a.populateLine(64, 42);
    b.populateLine(64, 42);
    std::set<std::uint32_t> addresses;
    for (std::size_t i = 0; i < a.line.size(); ++i) {
        EXPECT_EQ(a.line[i].longAddress, b.line[i].longAddress);
        EXPECT_GT(a.line[i].longAddress, 0u);
        EXPECT_LT(a.line[i].longAddress, 0xFFFFFFu);
        addresses.insert(a.line[i].longAddress);
    }
    EXPECT_EQ(addresses.size(), 64u);
    // A longer line of the same seed starts with the same ballasts.
    b.populateLine(3, 42);
    EXPECT_EQ(b.line[2].longAddress, a.line[2].longAddress);
    b.populateLine(3, 43);
    EXPECT_NE(b.line[0].longAddress, a.line[0].longAddress);
}

TEST(DaliGateway, NewInstallationFillsSlotsInAddressOrderAfterTheSearchPolls) {
    DaliGateway g;
    g.populateLine(5, 7);
    g.ballastTable[40] = BallastEntry::installed(0x123456, 3);
    g.line[0].sceneLevels[2] = 100;
    g.searchPolls = 2;
    g.writeCommand({cmdNewInstallation, 0, 0});
    EXPECT_EQ(g.pollReply(), (CommandBytes{1, 0, 0}));
    EXPECT_EQ(g.peekReply(), (CommandBytes{1, 0, 0}));  // peeking is no poll
    EXPECT_EQ(g.pollReply(), (CommandBytes{1, 0, 0}));
    EXPECT_EQ(g.pollReply(), (CommandBytes{0xFF, 5, 0}));
    EXPECT_EQ(g.pollReply(), (CommandBytes{0xFF, 5, 0}));

    std::vector<std::uint32_t> sorted;
    for (const Ballast& b : g.line) sorted.push_back(b.longAddress);
    std::sort(sorted.begin(), sorted.end());
    for (int slot = 0; slot < 5; ++slot) {
        EXPECT_EQ(g.ballastTable[slot].group, kGroupNone);
        EXPECT_EQ(g.ballastTable[slot].longAddress(), sorted[slot]);
        EXPECT_EQ(g.ballastTable[slot].low, sorted[slot] & 0xFF);
        EXPECT_EQ(g.ballastTable[slot].high, sorted[slot] >> 16);
    }
    for (int slot = 5; slot < kTableSlots; ++slot) EXPECT_EQ(g.ballastTable[slot], BallastEntry{});
    EXPECT_EQ(g.ballastTable[40].group, kSlotEmpty);
    EXPECT_EQ(g.line[0].sceneLevels[2], kNotInScene);
}

TEST(DaliGateway, PostInstallationReportsRemovedAndNewBallasts) {
    DaliGateway g = installedGateway(5);
    const std::uint32_t gone = g.ballastTable[1].longAddress();
    const BallastEntry kept = g.ballastTable[3];
    g.removeBallast(gone);
    g.addBallast(0x000010);
    g.addBallast(0xABCDEF);
    g.ballastTable[3].group = 7;
    EXPECT_EQ(send(g, cmdPostInstallation), (CommandBytes{0xFF, 1, 2}));
    // The lowest new address takes the freed slot, the next one the first empty slot.
    EXPECT_EQ(g.ballastTable[1], BallastEntry::installed(0x000010));
    EXPECT_EQ(g.ballastTable[5], BallastEntry::installed(0xABCDEF));
    EXPECT_EQ(g.ballastTable[3].group, 7);
    EXPECT_EQ(g.ballastTable[3].longAddress(), kept.longAddress());
    EXPECT_EQ(send(g, cmdPostInstallation), (CommandBytes{0xFF, 0, 0}));
}

TEST(DaliGateway, BlinkAssignAndRefusedCommands) {
    DaliGateway g = installedGateway(3);
    EXPECT_EQ(send(g, cmdBlink, 1), (CommandBytes{0xFF, 1, 0}));
    EXPECT_TRUE(g.ballastInSlot(1)->blinking);
    send(g, cmdBlink, 2);
    EXPECT_FALSE(g.ballastInSlot(1)->blinking);
    EXPECT_TRUE(g.ballastInSlot(2)->blinking);
    EXPECT_EQ(send(g, cmdEnd), (CommandBytes{0xFF, 0, 0}));
    EXPECT_FALSE(g.ballastInSlot(2)->blinking);

    EXPECT_EQ(send(g, cmdAssign, 2, 9), (CommandBytes{0xFF, 2, 9}));
    EXPECT_EQ(g.ballastTable[2].group, 9);
    EXPECT_EQ(send(g, cmdAssign, 2, kGroupNone), (CommandBytes{0xFF, 2, kGroupNone}));
    EXPECT_EQ(g.ballastTable[2].group, kGroupNone);

    // Refused commands are never answered: the reply stays the command.
    const CommandBytes refused[] = {{cmdAssign, 2, 17},
                                    {cmdAssign, 3, 1},
                                    {cmdAssign, 64, 1},
                                    {cmdBlink, 10, 0},
                                    {cmdBallastLevel, 3, 50},
                                    {cmdStoreScene, 16, 0},
                                    {cmdGroupLevel, 16, 1},
                                    {cmdReadGroupLevel, 16, 0},
                                    {9, 0, 0},
                                    {13, 0, 0},
                                    {0, 0, 0}};
    for (const CommandBytes& c : refused) {
        g.writeCommand(c);
        EXPECT_EQ(g.pollReply(), c) << int(c[0]);
    }
    EXPECT_EQ(g.ballastTable[3], BallastEntry{});
}

TEST(DaliGateway, LevelsScenesAndGroupLevel) {
    DaliGateway g = installedGateway(4);
    send(g, cmdAssign, 0, 2);
    send(g, cmdAssign, 1, 2);
    send(g, cmdAssign, 2, 9);
    EXPECT_EQ(send(g, cmdBroadcastLevel, 40), (CommandBytes{0xFF, 40, 0}));
    for (const Ballast& b : g.line) EXPECT_EQ(b.level, 40);
    send(g, cmdGroupLevel, 2, 200);
    EXPECT_EQ(g.ballastInSlot(0)->level, 200);
    EXPECT_EQ(g.ballastInSlot(1)->level, 200);
    EXPECT_EQ(g.ballastInSlot(2)->level, 40);
    send(g, cmdBallastLevel, 3, 77);
    EXPECT_EQ(g.ballastInSlot(3)->level, 77);

    // Level read: answered with the command code kept and the level in byte 3.
    EXPECT_EQ(send(g, cmdReadGroupLevel, 2), (CommandBytes{cmdReadGroupLevel, 2, 200}));
    EXPECT_EQ(send(g, cmdReadGroupLevel, 5), (CommandBytes{cmdReadGroupLevel, 5, 0}));

    // Scene 4 holds group 2 (byte1 0x20) and group 9 (byte2 0x40); group 0 is the highest bit.
    g.sceneTable[4] = {0x20, 0x40};
    EXPECT_EQ(send(g, cmdStoreScene, 4), (CommandBytes{0xFF, 4, 0}));
    EXPECT_EQ(g.ballastInSlot(0)->sceneLevels[4], 200);
    EXPECT_EQ(g.ballastInSlot(2)->sceneLevels[4], 40);
    EXPECT_EQ(g.ballastInSlot(3)->sceneLevels[4], kNotInScene);
    send(g, cmdBroadcastLevel, 0);
    EXPECT_EQ(send(g, cmdRecallScene, 4), (CommandBytes{0xFF, 4, 0}));
    EXPECT_EQ(g.ballastInSlot(0)->level, 200);
    EXPECT_EQ(g.ballastInSlot(2)->level, 40);
    EXPECT_EQ(g.ballastInSlot(3)->level, 0);
}
