// The gateway's command channel as the commissioning dialogs use it: the one command record
// DaliCmd, the command codes with their operands, the finished test, the level scale of the
// sliders, and the send and poll calls through a main window's project object.
#pragma once

#include "corlink/Records.h"

#include <cstdint>
#include <optional>

namespace corvane {

class MainWindowServices;

// The command record of all commissioning dialogs; a sender fills it right before each call.
extern corlink::TypDaliCommand DaliCmd;

// First byte of a command.
enum DaliCommandCode : std::uint8_t {
    cmdNewInstallation = 1,   // search every ballast anew
    cmdPostInstallation = 2,  // search removed and new ballasts
    cmdEnd = 3,               // end an installation run, end blinking
    cmdBlink = 4,             // one ballast blinks
    cmdAssign = 5,            // ballast to group (16: to none)
    cmdStoreScene = 6,        // sent right after the scene table
    cmdRecallScene = 7,
    cmdGroupLevel = 8,
    cmdBroadcastLevel = 10,  // level in the second byte
    cmdBallastLevel = 11,
    cmdReadGroupLevel = 12,
};

// First byte of a reply: the gateway has executed the command.
constexpr std::uint8_t kDaliFinished = 0xFF;
// Group operand of command 5 that removes the ballast from every group.
constexpr std::uint8_t kGroupNotAssigned = 16;

// The record of each command, operands in their places (an unused operand is 0). Ballasts
// 0..63, groups 0..15 (16 not assigned, command 5 only), scenes 0..15, levels 0..255; an
// operand outside its range raises error 5.
corlink::TypDaliCommand CmdNewInstallation();
corlink::TypDaliCommand CmdPostInstallation();
corlink::TypDaliCommand CmdEnd();
corlink::TypDaliCommand CmdBlink(int ballast);
corlink::TypDaliCommand CmdAssign(int ballast, int group);
corlink::TypDaliCommand CmdStoreScene(int scene);
corlink::TypDaliCommand CmdRecallScene(int scene);
corlink::TypDaliCommand CmdGroupLevel(int group, std::uint8_t level);
corlink::TypDaliCommand CmdBroadcastLevel(std::uint8_t level);
corlink::TypDaliCommand CmdBallastLevel(int ballast, std::uint8_t level);
corlink::TypDaliCommand CmdReadGroupLevel(int group);

// A reply whose first byte is 0xFF: the command was executed; anything else is not finished.
bool IsFinished(const corlink::TypDaliCommand& reply);
// Command 12 is answered the other way round: a reply whose first byte is not 0xFF carries the
// group's level in its third byte; a 0xFF reply is passed over.
std::optional<std::uint8_t> GroupLevelOf(const corlink::TypDaliCommand& reply);

// Slider positions 0..100 and DALI levels 0..255: x 2.55 and back, halves rounded to even.
std::uint8_t LevelFromPercent(int percent);
int PercentFromLevel(int level);

// Send: DaliCmd = command, written to the gateway. Poll: DaliCmd = command, the gateway's
// reply read into the project's daliCommand. Both go through the main window's project object
// with EDI, EDIPara and its log flag (the check mark of its download-log item), read afresh for
// every call; a result below 0 is a failure.
std::int16_t SendDaliCmd(MainWindowServices& main, const corlink::TypDaliCommand& command);
std::int16_t PollDaliCmd(MainWindowServices& main, const corlink::TypDaliCommand& command);
// The reply of the last successful poll.
corlink::TypDaliCommand DaliReply(MainWindowServices& main);

}  // namespace corvane
