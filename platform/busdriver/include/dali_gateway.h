// The KNX-DALI gateway of the simulated line: its ballast and scene tables, its command channel,
// its identification and the DALI ballasts wired to it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace busdriver {

// Command codes of the gateway's command channel (first byte of the three command bytes).
enum GatewayCommand : std::uint8_t {
    cmdNewInstallation = 1,
    cmdPostInstallation = 2,
    cmdEnd = 3,
    cmdBlink = 4,
    cmdAssign = 5,
    cmdStoreScene = 6,
    cmdRecallScene = 7,
    cmdGroupLevel = 8,
    cmdBroadcastLevel = 10,
    cmdBallastLevel = 11,
    cmdReadGroupLevel = 12,
};

constexpr std::uint8_t kReplyDone = 0xFF;  // first reply byte of an executed command
constexpr int kTableSlots = 64;            // ballast table entries (DALI short addresses 0..63)
constexpr int kSceneCount = 16;
constexpr int kGroupCount = 16;
constexpr std::uint8_t kGroupNone = 16;    // ballast installed but in no group
constexpr std::uint8_t kSlotEmpty = 255;   // group byte of an empty table slot
constexpr std::uint8_t kNotInScene = 255;  // scene level of a ballast that does not take part

using CommandBytes = std::array<std::uint8_t, 3>;

// One ballast table entry: group, then the long address low, middle and high byte.
struct BallastEntry {
    std::uint8_t group = kSlotEmpty;
    std::uint8_t low = 0;
    std::uint8_t middle = 0;
    std::uint8_t high = 0;

    bool empty() const { return group == kSlotEmpty; }
    std::uint32_t longAddress() const { return low | (middle << 8) | (static_cast<std::uint32_t>(high) << 16); }
    static BallastEntry installed(std::uint32_t longAddress, std::uint8_t group = kGroupNone);
    bool operator==(const BallastEntry&) const = default;
};

// One scene table entry: the groups taking part, group 0 in the highest bit of byte1 (0x80) down to
// group 15 in the lowest bit of byte2 (0x01).
struct SceneEntry {
    std::uint8_t byte1 = 0;
    std::uint8_t byte2 = 0;

    bool includes(int group) const;
    bool operator==(const SceneEntry&) const = default;
};

// A DALI ballast on the line.
struct Ballast {
    std::uint32_t longAddress = 0;  // random 24-bit address, never 0 or 0xFFFFFF
    std::uint8_t level = 0;
    std::array<std::uint8_t, kSceneCount> sceneLevels{};  // kNotInScene when not part of the scene
    bool blinking = false;

    Ballast() { sceneLevels.fill(kNotInScene); }
};

// The load and run states the gateway reports (0 unloaded, 1 loaded / running, 2 loading / halted, 3 error).
struct DeviceStates {
    std::uint8_t applicationLoad = 1;
    std::uint8_t applicationRun = 1;
    std::uint8_t load = 1;
    std::uint8_t run = 1;
};

class DaliGateway {
public:
    DaliGateway();

    // A gateway as delivered: empty ballast table, empty scene masks, no command, default states.
    void clearMemory();
    // Replaces the ballasts on the line by the first `count` ballasts of the seed's sequence.
    // The gateway's tables stay as they are (a post-installation then finds the difference).
    void populateLine(int count, std::uint32_t seed);
    // Wires one more ballast to the line: the given long address, or the next one of the sequence.
    Ballast& addBallast(std::optional<std::uint32_t> longAddress = {});
    bool removeBallast(std::uint32_t longAddress);
    // The order number block for a model given as decimal digits (one digit per byte, padded with 0xFF).
    void setModel(const std::string& digits);

    // The command channel: a write starts the command, each read is one poll of its reply.
    void writeCommand(const CommandBytes& command);
    CommandBytes pollReply();
    // The reply as the next poll would see it, without counting as a poll.
    CommandBytes peekReply() const;

    // The ballast in a table slot, when the slot is filled and that ballast is on the line.
    Ballast* ballastInSlot(int slot);
    Ballast* findBallast(std::uint32_t longAddress);

    // Memory and line, open to the driver and to tests.
    std::array<BallastEntry, kTableSlots> ballastTable;
    std::array<SceneEntry, kSceneCount> sceneTable;
    std::vector<Ballast> line;
    std::array<std::uint8_t, 10> orderInfo{};
    std::array<std::uint8_t, 5> firmware{0x11, 0, 0, 0, 0};
    DeviceStates states;
    int searchPolls = 3;  // reads that still see the command bytes after a search was started

private:
    bool execute(const CommandBytes& command);
    std::uint8_t newInstallation();
    std::pair<std::uint8_t, std::uint8_t> postInstallation();
    void stopBlinking();
    void storeScene(int scene);
    std::uint8_t groupLevel(int group);
    template <typename F>
    void forEachInGroup(int group, F f);

    std::mt19937 random_;
    CommandBytes command_{};
    CommandBytes reply_{};
    int busyReads_ = 0;
};

}  // namespace busdriver
