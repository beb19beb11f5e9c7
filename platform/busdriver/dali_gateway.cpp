#include "dali_gateway.h"

#include <algorithm>

namespace busdriver {

BallastEntry BallastEntry::installed(std::uint32_t longAddress, std::uint8_t group) {
    return {group, static_cast<std::uint8_t>(longAddress & 0xFF), static_cast<std::uint8_t>((longAddress >> 8) & 0xFF),
            static_cast<std::uint8_t>((longAddress >> 16) & 0xFF)};
}

bool SceneEntry::includes(int group) const {
    if (group < 0 || group >= kGroupCount) return false;
    const std::uint8_t mask = group < 8 ? byte1 : byte2;
    return (mask >> (7 - group % 8)) & 1;
}

DaliGateway::DaliGateway() { clearMemory(); }

void DaliGateway::clearMemory() {
    ballastTable.fill(BallastEntry{});
    sceneTable.fill(SceneEntry{});
    states = DeviceStates{};
    command_ = {};
    reply_ = {};
    busyReads_ = 0;
}

void DaliGateway::populateLine(int count, std::uint32_t seed) {
    random_.seed(seed);
    line.clear();
    for (int i = 0; i < count; ++i) addBallast();
}

Ballast& DaliGateway::addBallast(std::optional<std::uint32_t> longAddress) {
    std::uint32_t address = longAddress.value_or(0);
    while (!longAddress && (address == 0 || address == 0xFFFFFF || findBallast(address)))
        address = random_() & 0xFFFFFF;
    Ballast ballast;
    ballast.longAddress = address;
    line.push_back(ballast);
    return line.back();
}

bool DaliGateway::removeBallast(std::uint32_t longAddress) {
    const auto it =
        std::find_if(line.begin(), line.end(), [&](const Ballast& b) { return b.longAddress == longAddress; });
    if (it == line.end()) return false;
    line.erase(it);
    return true;
}

void DaliGateway::setModel(const std::string& digits) {
    orderInfo.fill(0xFF);
    for (std::size_t i = 0; i < digits.size() && i < orderInfo.size(); ++i)
        orderInfo[i] = static_cast<std::uint8_t>(digits[i] - '0');
}

Ballast* DaliGateway::findBallast(std::uint32_t longAddress) {
    for (Ballast& b : line)
        if (b.longAddress == longAddress) return &b;
    return nullptr;
}

Ballast* DaliGateway::ballastInSlot(int slot) {
    if (slot < 0 || slot >= kTableSlots || ballastTable[slot].empty()) return nullptr;
    return findBallast(ballastTable[slot].longAddress());
}

template <typename F>
void DaliGateway::forEachInGroup(int group, F f) {
    for (int slot = 0; slot < kTableSlots; ++slot)
        if (ballastTable[slot].group == group)
            if (Ballast* b = ballastInSlot(slot)) f(*b);
}

void DaliGateway::writeCommand(const CommandBytes& command) {
    command_ = command;
    busyReads_ = 0;
    // A command the gateway cannot carry out is never answered: its reply stays the command itself.
    if (!execute(command)) reply_ = command;
    if (command[0] == cmdNewInstallation || command[0] == cmdPostInstallation) busyReads_ = searchPolls;
}

CommandBytes DaliGateway::pollReply() {
    if (busyReads_ > 0) {
        --busyReads_;
        return command_;
    }
    return reply_;
}

CommandBytes DaliGateway::peekReply() const { return busyReads_ > 0 ? command_ : reply_; }

bool DaliGateway::execute(const CommandBytes& command) {
    const std::uint8_t a = command[1];
    const std::uint8_t b = command[2];
    const CommandBytes done{kReplyDone, a, b};
    switch (command[0]) {
    case cmdNewInstallation: reply_ = {kReplyDone, newInstallation(), 0}; return true;
    case cmdPostInstallation: {
        const auto [removed, added] = postInstallation();
        reply_ = {kReplyDone, removed, added};
        return true;
    }
    case cmdEnd: stopBlinking(); break;
    case cmdBlink: {
        Ballast* ballast = ballastInSlot(a);
        if (!ballast) return false;
        stopBlinking();
        ballast->blinking = true;
        break;
    }
    case cmdAssign:
        if (a >= kTableSlots || ballastTable[a].empty() || b > kGroupNone) return false;
        ballastTable[a].group = b;
        break;
    case cmdStoreScene:
        if (a >= kSceneCount) return false;
        storeScene(a);
        break;
    case cmdRecallScene:
        if (a >= kSceneCount) return false;
        for (Ballast& ballast : line)
            if (ballast.sceneLevels[a] != kNotInScene) ballast.level = ballast.sceneLevels[a];
        break;
    case cmdGroupLevel:
        if (a >= kGroupCount) return false;
        forEachInGroup(a, [&](Ballast& ballast) { ballast.level = b; });
        break;
    case cmdBroadcastLevel:
        for (Ballast& ballast : line) ballast.level = a;
        break;
    case cmdBallastLevel: {
        Ballast* ballast = ballastInSlot(a);
        if (!ballast) return false;
        ballast->level = b;
        break;
    }
    case cmdReadGroupLevel:
        // Answered with the command code still in place and the level in the third byte.
        if (a >= kGroupCount) return false;
        reply_ = {cmdReadGroupLevel, a, groupLevel(a)};
        return true;
    default: return false;
    }
    reply_ = done;
    return true;
}

std::uint8_t DaliGateway::newInstallation() {
    stopBlinking();
    ballastTable.fill(BallastEntry{});
    std::vector<Ballast*> found;
    for (Ballast& ballast : line) {
        ballast.sceneLevels.fill(kNotInScene);
        found.push_back(&ballast);
    }
    // The search finds the lowest long address first.
    std::sort(found.begin(), found.end(),
              [](const Ballast* x, const Ballast* y) { return x->longAddress < y->longAddress; });
    if (found.size() > static_cast<std::size_t>(kTableSlots)) found.resize(kTableSlots);
    for (std::size_t slot = 0; slot < found.size(); ++slot)
        ballastTable[slot] = BallastEntry::installed(found[slot]->longAddress);
    return static_cast<std::uint8_t>(found.size());
}

std::pair<std::uint8_t, std::uint8_t> DaliGateway::postInstallation() {
    std::uint8_t removed = 0;
    for (BallastEntry& entry : ballastTable) {
        if (!entry.empty() && !findBallast(entry.longAddress())) {
            entry = BallastEntry{};
            ++removed;
        }
    }
    std::vector<std::uint32_t> fresh;
    for (const Ballast& ballast : line) {
        const bool known = std::any_of(ballastTable.begin(), ballastTable.end(), [&](const BallastEntry& e) {
            return !e.empty() && e.longAddress() == ballast.longAddress;
        });
        if (!known) fresh.push_back(ballast.longAddress);
    }
    std::sort(fresh.begin(), fresh.end());
    std::uint8_t added = 0;
    auto address = fresh.begin();
    for (BallastEntry& entry : ballastTable) {
        if (address == fresh.end()) break;
        if (!entry.empty()) continue;
        entry = BallastEntry::installed(*address++);
        ++added;
    }
    return {removed, added};
}

void DaliGateway::stopBlinking() {
    for (Ballast& ballast : line) ballast.blinking = false;
}

void DaliGateway::storeScene(int scene) {
    for (int slot = 0; slot < kTableSlots; ++slot) {
        Ballast* ballast = ballastInSlot(slot);
        if (!ballast) continue;
        const bool takesPart = sceneTable[scene].includes(ballastTable[slot].group);
        ballast->sceneLevels[scene] = takesPart ? ballast->level : kNotInScene;
    }
}

std::uint8_t DaliGateway::groupLevel(int group) {
    std::optional<std::uint8_t> level;
    forEachInGroup(group, [&](Ballast& ballast) {
        if (!level) level = ballast.level;
    });
    return level.value_or(0);
}

}  // namespace busdriver
