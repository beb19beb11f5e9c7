#include "GatewayCommands.h"

#include "ModDefinition.h"
#include "automation_error.h"
#include "frm01.h"

#include <algorithm>
#include <cmath>

namespace corvane {

corlink::TypDaliCommand DaliCmd;

namespace {

corlink::TypDaliCommand command(DaliCommandCode code, int b2 = 0, int b3 = 0) {
    return {code, static_cast<std::uint8_t>(b2), static_cast<std::uint8_t>(b3)};
}

}  // namespace

corlink::TypDaliCommand CmdNewInstallation() { return command(cmdNewInstallation); }
corlink::TypDaliCommand CmdPostInstallation() { return command(cmdPostInstallation); }
corlink::TypDaliCommand CmdEnd() { return command(cmdEnd); }
corlink::TypDaliCommand CmdBlink(int ballast) { return command(cmdBlink, ballast); }
corlink::TypDaliCommand CmdAssign(int ballast, int group) { return command(cmdAssign, ballast, group); }
corlink::TypDaliCommand CmdStoreScene(int scene) { return command(cmdStoreScene, scene); }
corlink::TypDaliCommand CmdRecallScene(int scene) { return command(cmdRecallScene, scene); }
corlink::TypDaliCommand CmdGroupLevel(int group, std::uint8_t level) { return command(cmdGroupLevel, group, level); }
corlink::TypDaliCommand CmdBroadcastLevel(std::uint8_t level) { return command(cmdBroadcastLevel, level); }
corlink::TypDaliCommand CmdBallastLevel(int ballast, std::uint8_t level) {
    return command(cmdBallastLevel, ballast, level);
}
corlink::TypDaliCommand CmdReadGroupLevel(int group) { return command(cmdReadGroupLevel, group); }

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

corlink::clsOrvekDali& Project() {
    frm01* main = frm01::Instance();
    if (!main) automation::raiseRuntime(automation::errObjectNotSet, "Corvane");
    return main->mDali();
}

bool LogFlag() {
    const frm01* main = frm01::Instance();
    return main && main->LogFileFlag();
}

std::int16_t SendDaliCmd(const corlink::TypDaliCommand& cmd) {
    DaliCmd = cmd;
    return Project().StartNeuinstallation(corlink::pdDownLoad, EDI, EDIPara, DaliCmd, LogFlag());
}

std::int16_t PollDaliCmd(const corlink::TypDaliCommand& cmd) {
    DaliCmd = cmd;
    return Project().StartNeuinstallation(corlink::pdupLoad, EDI, EDIPara, DaliCmd, LogFlag());
}

corlink::TypDaliCommand DaliReply() { return Project().daliCommand(); }

}  // namespace corvane
