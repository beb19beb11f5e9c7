// The command channel (records, levels, send and poll on the simulated gateway) and the
// physical-address check before the gateway work.
#include "GatewayCommands.h"
#include "TransferSteps.h"
#include "commissioning_fixture.h"
#include "testing/error_of.h"

#include <functional>

using namespace corvane;
using corlink::TypDaliCommand;
using corvane::test::Commissioning;

TEST(GatewayCommands, LevelsRoundHalvesToEven) {
    const std::pair<int, int> toGateway[] = {{0, 0}, {1, 3}, {10, 26}, {30, 76}, {50, 127}, {70, 178}, {100, 255}};
    for (const auto& [percent, level] : toGateway) EXPECT_EQ(LevelFromPercent(percent), level) << percent;
    const std::pair<int, int> fromGateway[] = {{1, 0}, {127, 50}, {128, 50}, {254, 100}, {255, 100}};
    for (const auto& [level, percent] : fromGateway) EXPECT_EQ(PercentFromLevel(level), percent) << level;
}

// The bytes the gateway's command property takes.
TEST(GatewayCommands, EveryCodeCarriesItsOperandsInPlace) {
    EXPECT_EQ(CmdNewInstallation(), (TypDaliCommand{1, 0, 0}));
    EXPECT_EQ(CmdPostInstallation(), (TypDaliCommand{2, 0, 0}));
    EXPECT_EQ(CmdEnd(), (TypDaliCommand{3, 0, 0}));
    EXPECT_EQ(CmdBlink(63), (TypDaliCommand{4, 63, 0}));
    EXPECT_EQ(CmdAssign(7, 16), (TypDaliCommand{5, 7, 16}));
    EXPECT_EQ(CmdStoreScene(15), (TypDaliCommand{6, 15, 0}));
    EXPECT_EQ(CmdRecallScene(3), (TypDaliCommand{7, 3, 0}));
    EXPECT_EQ(CmdGroupLevel(2, 127), (TypDaliCommand{8, 2, 127}));
    EXPECT_EQ(CmdBroadcastLevel(26), (TypDaliCommand{10, 26, 0}));  // level in the second byte
    EXPECT_EQ(CmdBallastLevel(4, 255), (TypDaliCommand{11, 4, 255}));
    EXPECT_EQ(CmdReadGroupLevel(9), (TypDaliCommand{12, 9, 0}));

    EXPECT_TRUE(IsFinished({0xFF, 5, 0}));
    EXPECT_FALSE(IsFinished({1, 0, 0}));  // the command as written
    // Command 12: the reply that is not 0xFF is the answer, its third byte the level.
    EXPECT_EQ(GroupLevelOf({12, 3, 128}), std::optional<std::uint8_t>(128));
    EXPECT_EQ(GroupLevelOf({0xFF, 3, 128}), std::nullopt);
}

// Ballasts 0..63, groups 0..15 (16 "not assigned" in command 5 alone), scenes 0..15: the ends
// of each range go out as they are, a step beyond them is refused with error 5 instead of
// addressing another ballast, group or scene once cut to a byte.
TEST(GatewayCommands, OperandsOutsideTheirRangesAreRefused) {
    struct Case {
        std::function<TypDaliCommand()> make;
        std::optional<TypDaliCommand> sent;  // nullopt: refused
    };
    const std::optional<TypDaliCommand> refused;
    const Case cases[] = {
        {[] { return CmdBlink(0); }, TypDaliCommand{4, 0, 0}},
        {[] { return CmdBlink(64); }, refused},
        {[] { return CmdBlink(256); }, refused},
        {[] { return CmdBlink(-1); }, refused},
        {[] { return CmdAssign(63, 0); }, TypDaliCommand{5, 63, 0}},
        {[] { return CmdAssign(64, 3); }, refused},
        {[] { return CmdAssign(2, 17); }, refused},
        {[] { return CmdAssign(2, -1); }, refused},
        {[] { return CmdStoreScene(0); }, TypDaliCommand{6, 0, 0}},
        {[] { return CmdStoreScene(16); }, refused},
        {[] { return CmdRecallScene(15); }, TypDaliCommand{7, 15, 0}},
        {[] { return CmdRecallScene(-1); }, refused},
        {[] { return CmdGroupLevel(15, 255); }, TypDaliCommand{8, 15, 255}},
        {[] { return CmdGroupLevel(16, 0); }, refused},
        {[] { return CmdBallastLevel(0, 0); }, TypDaliCommand{11, 0, 0}},
        {[] { return CmdBallastLevel(64, 0); }, refused},
        {[] { return CmdReadGroupLevel(0); }, TypDaliCommand{12, 0, 0}},
        {[] { return CmdReadGroupLevel(16); }, refused},
        {[] { return CmdReadGroupLevel(-1); }, refused},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        if (cases[i].sent) {
            EXPECT_EQ(cases[i].make(), *cases[i].sent);
        } else {
            EXPECT_EQ(automation::testing::errorOf(cases[i].make), 5);
        }
    }
}

TEST_F(Commissioning, SendAndPollGoThroughTheCommandPropertyOfTheGateway) {
    useGatewayAddress();
    installLine();  // the gateway knows the five ballasts of its line

    ASSERT_EQ(SendDaliCmd(*main, CmdBlink(2)), 1);
    EXPECT_EQ(DaliCmd, (TypDaliCommand{4, 2, 0}));
    EXPECT_TRUE(onLine(2).blinking);
    ASSERT_EQ(PollDaliCmd(*main, CmdBlink(2)), 1);
    EXPECT_EQ(DaliReply(*main), (TypDaliCommand{0xFF, 2, 0}));
    EXPECT_FALSE(project().GetChangeFlag());  // commands change no project data

    // A failed poll keeps the last good reply.
    line().failOpen(busdriver::openNoDevice);
    EXPECT_LT(PollDaliCmd(*main, CmdEnd()), 0);
    EXPECT_EQ(DaliReply(*main), (TypDaliCommand{0xFF, 2, 0}));
}

// The address check on every way out of it: its result, the header's address, and the change
// flag as it was before the check (an address stored there is no unsaved change; changes left
// unsaved before it, No at the save question, stay marked).
TEST_F(Commissioning, AddressCheckLeavesTheChangeFlagAsItWasOnEveryWayOut) {
    for (const std::int32_t invalid : {0, -1, 65536}) EXPECT_FALSE(IsValidPhysicalAddress(invalid)) << invalid;
    for (const std::int32_t valid : {1, 65535}) EXPECT_TRUE(IsValidPhysicalAddress(valid)) << valid;

    struct Way {
        const char* what;
        std::int32_t address;  // the header's before the check, with its text
        const char* text;
        int answer;                            // to message 910
        std::function<void(frmphyAdr&)> user;  // none: no address dialog
        bool passes;
        std::int32_t after;
    };
    const Way ways[] = {
        {"a valid address already", 65535, "15.15.255", msgOK, {}, true, 65535},
        {"message 910 not answered with OK", 0, "0.0.0", msgCancel, {}, false, 0},
        {"the dialog cancelled", 0, "0.0.0", msgOK,
         [](frmphyAdr& d) {
             d.TextphyAdr->setText("1.1.1");
             d.COMAbbruch->click();
         },
         false, 0},
        {"OK on the unchanged text", 0, "0.0.0", msgOK, [](frmphyAdr& d) { d.COMOK->click(); }, false, 0},
        {"an address stored", 0, "0.0.0", msgOK, [](frmphyAdr& d) { typeAddress(d, "1.1.1"); }, true, kGateway},
        {"65536 replaced by 15.15.255", 65536, "", msgOK, [](frmphyAdr& d) { typeAddress(d, "15.15.255"); }, true,
         65535},
    };
    for (const Way& way : ways) {
        for (const bool changed : {false, true}) {
            SCOPED_TRACE(std::string(way.what) + (changed ? ", unsaved changes before" : ", saved before"));
            editHeader([&](corlink::TypHeader& h) {
                h.phyAdr = way.address;
                h.phyAdrString = way.text;
            });
            project().ClearChangeFlag();
            if (changed) project().letDaliGruppeName(3, "Büro");
            shown.clear();
            answers = {way.answer};
            modalRuns = 0;
            QString caption;
            playAddressDialog([&](frmphyAdr& d) {
                caption = d.windowTitle();
                way.user(d);
            });
            // Only the new installation gives the dialog the caption text 201.
            EXPECT_EQ(CheckPhysicalAddress(*main, changed), way.passes);
            EXPECT_EQ(project().Header().phyAdr, way.after);
            EXPECT_EQ(project().GetChangeFlag(), changed);
            EXPECT_EQ(modalRuns, way.user ? 1 : 0);
            if (way.user) {
                EXPECT_EQ(caption.toStdString(), changed ? "phys. Adresse" : "Eingabe der physikalischen Adresse");
            }
            if (IsValidPhysicalAddress(way.address)) {
                EXPECT_TRUE(shown.empty());
            } else {
                ASSERT_EQ(texts(), std::vector<std::string>{Text(910)});
                EXPECT_EQ(shown[0].style, styleOkExclamation);
            }
        }
    }
}
