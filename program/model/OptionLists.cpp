// The value options of every actuator type, and the push-button functions with their press
// actions and LED display modes. Both gateway models build the same lists.
#include "GatewayModels.h"

#include "ModelTables.h"
#include "StringTable.h"

#include <span>

namespace corvane {

namespace {

// One option or press action; textId 0 stands for the empty text. Number is its place + 1.
struct Option {
    std::int32_t textId;
    std::int32_t kind;
    std::uint8_t value;
    std::uint8_t flag;
};

// Options 0..n-1 of a list sized 0..n: the last entry stays empty.
void fillOptions(SafeArray<OptionRec>& target, std::span<const Option> options) {
    target.redim(0, static_cast<std::int32_t>(options.size()));
    for (std::int32_t j = 0; j < static_cast<std::int32_t>(options.size()); ++j) {
        const Option& o = options[static_cast<std::size_t>(j)];
        OptionRec& rec = target(j);
        rec.Text = o.textId == 0 ? std::string() : Text(o.textId);
        rec.Kind = o.kind;
        rec.Value = o.value;
        rec.Flag = o.flag;
        rec.Number = static_cast<std::int16_t>(j + 1);
    }
}

// --- value options, rows 1..8 of ValueOptionList (row r belongs to ActorTypeList(r)) ---

constexpr Option kSwitchLighting[] = {{580, 0, 1, 0}, {581, 0, 0, 1}};
constexpr Option kDimLighting[] = {{582, 2, 0, 0}};
constexpr Option kSwitchVentilation[] = {{583, 0, 1, 0}, {584, 0, 0, 1}};
constexpr Option kDimVentilation[] = {{585, 2, 0, 0}};
constexpr Option kTemperatureMode[] = {{588, 0, 0, 0}, {587, 0, 1, 0}, {586, 0, 2, 0}};  // night, standby, comfort
constexpr Option kBlindMove[] = {{589, 0, 0, 0}, {590, 0, 1, 0}};
constexpr Option kBlindPosition[] = {{591, 3, 0, 0}};  // position and slat position
constexpr Option kRollerPosition[] = {{593, 2, 0, 0}};

constexpr std::span<const Option> kValueOptionRows[] = {
    kSwitchLighting,  kDimLighting, kSwitchVentilation, kDimVentilation,
    kTemperatureMode, kBlindMove,   kBlindPosition,     kRollerPosition,
};
constexpr std::int32_t kSlatPositionText = 592;  // Text2 of the blind position (row 7)

// --- push-button functions, rows 0..17 of ButtonFunctionList and ButtonActionList ---

constexpr Option kSwitchSingle[] = {{610, 0, 1, 3}, {611, 0, 0, 3}, {612, 0, 2, 3}, {613, 0, 1, 0}, {614, 0, 0, 1}};
constexpr Option kSwitchDouble[] = {{615, 0, 1, 0}, {616, 0, 0, 1}};
constexpr Option kDimSingle[] = {{617, 0, 0, 0}};
constexpr Option kDimDouble[] = {{619, 0, 9, 0}, {620, 0, 1, 0}};
constexpr Option kDimAbsolute[] = {{621, 3, 0, 0}};
constexpr Option kBlindDouble[] = {{622, 0, 1, 3}, {623, 0, 0, 3}};
constexpr Option kBlindAbsolute[] = {{0, 4, 0, 0}};
constexpr Option kRollerAbsolute[] = {{0, 5, 0, 0}};
constexpr Option kOperatingMode[] = {{625, 0, 0, 0}, {624, 0, 2, 2}, {627, 0, 1, 1},
                                     {628, 0, 2, 1}, {629, 0, 2, 0}, {630, 0, 1, 0}};
constexpr Option kSceneRecall[] = {{626, 0, 0, 0}};

// LED display modes (codes of DisplayModeList).
constexpr std::uint8_t kLedNone[] = {0};
constexpr std::uint8_t kLedSwitch[] = {0, 1, 3};
constexpr std::uint8_t kLedDim[] = {0, 1, 2, 3};
constexpr std::uint8_t kLedBlind[] = {0, 7, 8};
constexpr std::uint8_t kLedBlindAbsolute[] = {0, 7, 8, 9};
constexpr std::uint8_t kLedMode[] = {0, 4};
constexpr std::uint8_t kLedScene[] = {0, 1};

struct ButtonFunction {
    std::int32_t textId;
    std::uint8_t functionCode;
    std::uint8_t actorCode;  // an ActorTypeList code, 100 for scene recall
    std::span<const Option> actions;
    std::span<const std::uint8_t> ledModes;
    std::uint8_t auxByte1;
    std::uint8_t auxByte2;
};

const ButtonFunction kButtonFunctions[] = {
    {550, 0, 0, {}, kLedNone, 0, 0},
    {551, 1, 10, kSwitchSingle, kLedSwitch, 2, 1},
    {552, 2, 10, kSwitchDouble, kLedSwitch, 0, 1},
    {553, 3, 11, kDimSingle, kLedDim, 0, 1},
    {554, 4, 11, kDimDouble, kLedDim, 0, 1},
    {555, 5, 11, kDimAbsolute, kLedDim, 0, 1},
    {556, 6, 20, kSwitchSingle, kLedSwitch, 2, 1},
    {557, 7, 20, kSwitchDouble, kLedSwitch, 0, 1},
    {558, 8, 21, kDimSingle, kLedDim, 0, 1},
    {559, 9, 21, kDimDouble, kLedDim, 0, 1},
    {560, 10, 21, kDimAbsolute, kLedDim, 0, 1},
    {561, 11, 40, kBlindDouble, kLedBlind, 1, 2},
    {562, 12, 41, kBlindAbsolute, kLedBlindAbsolute, 0, 2},
    {563, 13, 42, kRollerAbsolute, kLedBlindAbsolute, 0, 2},
    {564, 14, 30, kOperatingMode, kLedMode, 1, 1},
    {565, 15, 100, kSceneRecall, kLedScene, 0, 1},
    {561, 11, 41, kBlindDouble, kLedBlind, 1, 2},  // the two-plate blind function for the 8-bit actuators
    {561, 11, 42, kBlindDouble, kLedBlind, 1, 2},
};

}  // namespace

void GatewayModelDefinition::CreateValueOptionList(ModelTables& m) {
    m.ValueOptionList.redim(0, m.ActorTypeList.ubound());
    m.ValueOptionList(0).Options.redim(0, 0);  // "no actuator": one empty option
    for (std::int32_t r = 1; r <= 8; ++r) {
        ValueOptionRec& row = m.ValueOptionList(r);
        row.ActorCode = m.ActorTypeList(r).ActorCode;
        fillOptions(row.Options, kValueOptionRows[r - 1]);
    }
    m.ValueOptionList(7).Options(0).Text2 = Text(kSlatPositionText);
    // The last row (the empty end entry of ActorTypeList) gets no options.
}

void GatewayModelDefinition::CreateButtonFunctionList(ModelTables& m) {
    m.ButtonFunctionList.redim(0, m.MaxLimits.MaxFunktionen);
    m.ButtonActionList.redim(0, m.MaxLimits.MaxFunktionen);
    std::int32_t row = 0;
    for (const ButtonFunction& f : kButtonFunctions) {
        m.ButtonFunctionList(row) = {Text(f.textId), f.functionCode, f.actorCode};
        ButtonActionRec& rec = m.ButtonActionList(row++);
        rec.LedModes.redim(0, static_cast<std::int32_t>(f.ledModes.size()));  // last entry stays 0
        std::int32_t k = 0;
        for (std::uint8_t code : f.ledModes) rec.LedModes(k++) = code;
        rec.AuxByte2 = f.auxByte2;
        rec.AuxByte1 = f.auxByte1;
        fillOptions(rec.Actions, f.actions);
    }
}

}  // namespace corvane
