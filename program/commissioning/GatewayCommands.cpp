#include "GatewayCommands.h"

#include "MainWindowServices.h"
#include "ModDefinition.h"
#include "automation_error.h"
#include "corlink/clsOrvekDali.h"

#include <algorithm>
#include <cmath>

namespace corvane {

corlink::TypDaliCommand DaliCmd;

namespace {

constexpr int kLastBallast = 63;
constexpr int kLastGroup = 15;
constexpr int kLastScene = 15;

// An operand as its byte; one outside 0..last would address another ballast, group or scene
// once cut to a byte, so it is refused (error 5) before anything goes to the bus.
std::uint8_t operand(int value, int last) {
    if (value < 0 || value > last) automation::raiseRuntime(automation::errInvalidCall, "Corvane");
    return static_cast<std::uint8_t>(value);
}

corlink::TypDaliCommand command(DaliCommandCode code, std::uint8_t b2 = 0, std::uint8_t b3 = 0) {
    return {code, b2, b3};
}

}  // namespace

corlink::TypDaliCommand CmdNewInstallation() { return command(cmdNewInstallation); }
corlink::TypDaliCommand CmdPostInstallation() { return command(cmdPostInstallation); }
corlink::TypDaliCommand CmdEnd() { return command(cmdEnd); }
corlink::TypDaliCommand CmdBlink(int ballast) { return command(cmdBlink, operand(ballast, kLastBallast)); }
corlink::TypDaliCommand CmdAssign(int ballast, int group) {
    return command(cmdAssign, operand(ballast, kLastBallast), operand(group, kGroupNotAssigned));
}
corlink::TypDaliCommand CmdStoreScene(int scene) { return command(cmdStoreScene, operand(scene, kLastScene)); }
corlink::TypDaliCommand CmdRecallScene(int scene) { return command(cmdRecallScene, operand(scene, kLastScene)); }
corlink::TypDaliCommand CmdGroupLevel(int group, std::uint8_t level) {
    return command(cmdGroupLevel, operand(group, kLastGroup), level);
}
corlink::TypDaliCommand CmdBroadcastLevel(std::uint8_t level) { return command(cmdBroadcastLevel, level); }
corlink::TypDaliCommand CmdBallastLevel(int ballast, std::uint8_t level) {
    return command(cmdBallastLevel, operand(ballast, kLastBallast), level);
}
corlink::TypDaliCommand CmdReadGroupLevel(int group) { return command(cmdReadGroupLevel, operand(group, kLastGroup)); }

bool IsFinished(const corlink::TypDaliCommand& reply) { return reply.Byte1 == kDaliFinished; }

std::optional<std::uint8_t> GroupLevelOf(const corlink::TypDaliCommand& reply) {
    if (IsFinished(reply)) return std::nullopt;
    return reply.Byte3;
}

// std::nearbyint rounds in the default mode, to nearest with halves to even.
std::uint8_t LevelFromPercent(int percent) {
    const double level = std::nearbyint(static_cast<double>(percent) * 2.55);
    return static_cast<std::uint8_t>(std::clamp(level, 0.0, 255.0));
}

int PercentFromLevel(int level) { return static_cast<int>(std::nearbyint(static_cast<double>(level) / 255.0 * 100.0)); }

namespace {

// One call of the command channel in either direction, with DaliCmd = cmd.
std::int16_t commandChannel(MainWindowServices& main, corlink::TypLoadProc direction,
                            const corlink::TypDaliCommand& cmd) {
    DaliCmd = cmd;
    return main.mDali().StartNeuinstallation(direction, EDI, EDIPara, DaliCmd, main.LogFileFlag());
}

}  // namespace

std::int16_t SendDaliCmd(MainWindowServices& main, const corlink::TypDaliCommand& cmd) {
    return commandChannel(main, corlink::pdDownLoad, cmd);
}

std::int16_t PollDaliCmd(MainWindowServices& main, const corlink::TypDaliCommand& cmd) {
    return commandChannel(main, corlink::pdupLoad, cmd);
}

corlink::TypDaliCommand DaliReply(MainWindowServices& main) { return main.mDali().daliCommand(); }

}  // namespace corvane
