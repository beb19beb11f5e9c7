// The communication objects of every group kind and of the device (number, name, default
// flags), and the gateway's interface-object ids. Numbers and ids are fixed: with the limits of
// both models the objects run 0..110 and the interface objects 7..48 without gaps.
#include "GatewayModels.h"

#include "ModelTables.h"
#include "StringTable.h"

#include <span>

namespace corvane {

namespace {

// Default flags (KNX configuration byte): C communication, R read, W write, T transmit,
// U update; every object has low priority.
constexpr std::uint8_t kCWTU = 0xD7;
constexpr std::uint8_t kCWU = 0x97;
constexpr std::uint8_t kCWU5 = 0xB7;  // and bit 5
constexpr std::uint8_t kCRWU = 0x9F;
constexpr std::uint8_t kAll = 0xFF;

constexpr std::uint8_t kSwitchDimValueFeedback[] = {kCWTU, kCWTU, kCWTU, kCWU};
constexpr std::uint8_t kTemperature[] = {kCWTU, kCWTU, kCWTU, kCWTU, kCWTU, kCWTU, kCWTU};
constexpr std::uint8_t kBlind[] = {kCWTU, kCWTU, kCWTU, kCWTU};
constexpr std::uint8_t kMessage[] = {kCWU5};
constexpr std::uint8_t kScene[] = {kAll};

// Groups 0..count-1 of a list sized 0..count; group g holds flags.size() objects numbered
// base + g * flags.size() + k, named by the texts firstText + k, in an Objects array 0..objectsUpper.
void fillGroups(SafeArray<ObjectGroupRec>& list, std::int32_t count, std::int32_t base, std::int32_t objectsUpper,
                std::int32_t firstText, std::span<const std::uint8_t> flags) {
    list.redim(0, count);
    const auto perGroup = static_cast<std::int32_t>(flags.size());
    for (std::int32_t g = 0; g < count; ++g) {
        SafeArray<ObjectRec>& objects = list(g).Objects;
        objects.redim(0, objectsUpper);
        for (std::int32_t k = 0; k < perGroup; ++k) {
            objects(k) = {static_cast<std::int16_t>(base + g * perGroup + k), Text(firstText + k),
                          flags[static_cast<std::size_t>(k)]};
        }
    }
}

// Entry i of a kind's id array 0..limit is base + i; sets the kind's object-type code.
void fillIds(SafeArray<std::int32_t>& ids, std::int32_t& typeCode, std::int32_t limit, std::int32_t base,
             std::int32_t code) {
    ids.redim(0, limit);
    for (std::int32_t i = 0; i <= limit; ++i) ids(i) = base + i;
    typeCode = code;
}

}  // namespace

void GatewayModelDefinition::CreateObjectList(ModelTables& m) {
    const corlink::TypMaxGrenzwerte& g = m.MaxLimits;
    fillGroups(m.LightingObjectList, g.MaxBeleuchtungsgruppen, 0, 4, 150, kSwitchDimValueFeedback);
    fillGroups(m.VentilationObjectList, g.MaxBelueftungsgruppen, 40, 4, 154, kSwitchDimValueFeedback);
    fillGroups(m.TemperatureObjectList, g.MaxTemperaturgruppen, 52, 7, 158, kTemperature);
    fillGroups(m.BlindObjectList, g.MaxJalousiegruppen, 66, 4, 165, kBlind);

    m.DeviceObjectList.redim(0, 3);                   // entry 3 stays empty
    m.DeviceObjectList(0) = {108, Text(169), kCWU5};  // time
    m.DeviceObjectList(1) = {109, Text(170), kCWU5};  // date
    m.DeviceObjectList(2) = {110, Text(171), kCRWU};  // display lighting

    fillGroups(m.MessageObjectList, g.MaxMeldegruppen, 98, 1, 172, kMessage);
    fillGroups(m.SceneObjectList, g.MaxSzenen, 90, 0, 173, kScene);
}

void GatewayModelDefinition::CreateObjectNumberTables(ModelTables& m) {
    const corlink::TypMaxGrenzwerte& g = m.MaxLimits;
    corlink::TypPropertyObjID& p = m.PropertyObjectIds;
    fillIds(p.ObjIDBeleuchtung, p.ObjKennungBeleuchtung, g.MaxBeleuchtungsgruppen, 8, 50024);
    fillIds(p.ObjIDBelueftung, p.ObjKennungBelueftung, g.MaxBelueftungsgruppen, 18, 50025);
    fillIds(p.ObjIDTemperatur, p.ObjKennungTemperatur, g.MaxTemperaturgruppen, 21, 50026);
    fillIds(p.ObjIDJalousie, p.ObjKennungJalousie, g.MaxJalousiegruppen, 23, 50027);
    fillIds(p.ObjIDMeldung, p.ObjKennungMedung, g.MaxMeldegruppen, 38, 50030);
    fillIds(p.ObjIDSzene, p.ObjKennungSzene, g.MaxSzenen, 29, 50028);
    // All push buttons share interface object 37 (entry 0); no one reads the further entries.
    fillIds(p.ObjIDTasten, p.ObjKennungTasten, g.MaxTasten, 37, 50029);

    p.ObjIDSprache = 48;
    p.ObjKennungSprache = 50032;

    fillIds(p.ObjIDApplicationData, p.ObjKennungApplicationData, 0, 7, 50023);
}

}  // namespace corvane
