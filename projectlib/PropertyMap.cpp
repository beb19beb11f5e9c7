// The gateway's property map: which interface-object properties the gateway operations write
// and read, how their values are built from the project, and how a reply is taken back.
//
//   ballast table     object 4, property 51, PT_GENERIC_04, 64 elements: group, long address L, M, H
//   scene table       object 4, property 56, PT_GENERIC_02, 16 elements: the two group-mask bytes
//   command           object 4, property 59, PT_GENERIC_03, the three command bytes
//   order number      object 5, property 15, PT_CHAR_BLOCK (10 bytes)
//   firmware version  object 5, property 202, PT_GENERIC_05 (5 bytes)
//   load / run states objects 6 and 3, properties 5 and 6, PT_UNSIGNED_CHAR
//   address length    object 4, property 201 (taken back when present, never asked for)
//
// A read-back first builds the changed records aside; the project takes them over only when the
// whole reply was usable, so a short, empty or out-of-range reply changes nothing.
#include "GatewayDetail.h"
#include "automation_error.h"
#include "brimcorbin.h"
#include "corbus/brim_eib.h"
#include "corlink/clsOrvekDali.h"

#include <initializer_list>

namespace corlink {

namespace {

using automation::Variant;
using namespace corbus;

constexpr std::int32_t kBallastTable = PID_OBJECT_TYPE_SPECIFIC_BASE;    // 51
constexpr std::int32_t kSceneTable = PID_OBJECT_TYPE_SPECIFIC_BASE + 5;  // 56
constexpr std::int32_t kCommand = PID_OBJECT_TYPE_SPECIFIC_BASE + 8;     // 59
constexpr std::int32_t kFirmware = PID_APPLICATION_SPECIFIC_BASE + 1;    // 202
constexpr std::int32_t kAddressLength = PID_APPLICATION_SPECIFIC_BASE;   // 201
constexpr std::int32_t kBallastElements = 64;
constexpr std::int32_t kSceneElements = 16;

bool is(const brimPropItem& item, std::int32_t objectId, std::int32_t propertyId) {
    return item.ObjectID() == objectId && item.PropertyId() == propertyId;
}

void putBytes(Variant& block, std::initializer_list<std::uint8_t> bytes) {
    std::int32_t k = 0;
    for (std::uint8_t b : bytes) block.set(k++, Variant(b));
}

// One byte of a reply: a number 0..255. Empty or an array is a type mismatch (13), a number
// outside the range an overflow (6).
std::uint8_t replyByte(const Variant& value) {
    if (value.isEmpty() || value.isArray()) automation::raiseRuntime(automation::errTypeMismatch);
    return automation::toByte(value);
}

// Byte k of a block (9 when the block is too short, 13 when it is no array).
std::uint8_t blockByte(const Variant& block, std::int32_t k) { return replyByte(block.at(k)); }

// The scene table's elements 0..count-1 into scenes (entries 0..count-1).
void takeSceneTable(const Variant& table, SafeArray<TypDaliScene>& scenes, std::int32_t count) {
    for (std::int32_t i = 0; i < count; ++i) {
        const Variant& element = table.at(i);
        TypDaliScene& scene = scenes(i);
        scene.Byte1 = blockByte(element, 0);
        scene.Byte2 = blockByte(element, 1);
        scene.Index = static_cast<std::uint8_t>(i);
    }
}

// The first item of a reply job, when it is the given property.
const brimPropItem* firstItemIf(const brimDevice& dev, std::int32_t objectId, std::int32_t propertyId) {
    const std::shared_ptr<brimPropItem> first = dev.PropItems()->head();
    return first && is(*first, objectId, propertyId) ? first.get() : nullptr;
}

// All bytes of a block of at least `size` bytes, as upper-case hex digits, without those of
// value 255 when skip255.
std::string blockHex(const Variant& block, std::int32_t size, bool skip255) {
    blockByte(block, size - 1);
    std::string text;
    for (const Variant& v : block.elements()) {
        const std::uint8_t b = replyByte(v);
        if (!(skip255 && b == 255)) text += detail::hexText(b);
    }
    return text;
}

}  // namespace

std::string detail::orderNumberText(const Variant& block) { return blockHex(block, 10, true); }
std::string detail::firmwareText(const Variant& block) { return blockHex(block, 5, false).substr(0, 2); }

// --- builders ---

void clsOrvekDali::BuildLoadItems(brimDevice& dev) const {
    dev.setTargetAddress(Variant(mHeader.phyAdr));
    Variant ballasts = mRiduDIV->genEibData(PT_GENERIC_04, kBallastElements - 1);
    for (std::int32_t i = 0; i < mGrenzwerte.MaxDaligruppen; ++i) {
        const TypDaliGruppe& g = fixedAt(mDaliGruppe, i);
        putBytes(ballasts.at(i), {g.Gruppe, g.pAdrL, g.pAdrM, g.pAdrH});
    }
    dev.Add(objAddressConnect, kBallastTable, PT_GENERIC_04, ballasts, false, true);
    BuildSceneItem(dev);
}

void clsOrvekDali::BuildSceneItem(brimDevice& dev) const {
    dev.setTargetAddress(Variant(mHeader.phyAdr));
    Variant scenes = mRiduDIV->genEibData(PT_GENERIC_02, kSceneElements - 1);
    for (std::int32_t i = 0; i < mGrenzwerte.MaxDaliScenes; ++i) {
        const TypDaliScene& s = mDaliScene(i);
        putBytes(scenes.at(i), {s.Byte1, s.Byte2});
    }
    dev.Add(objAddressConnect, kSceneTable, PT_GENERIC_02, scenes, false, true);
}

void clsOrvekDali::BuildDeviceInfoItems(brimDevice& dev) const {
    dev.setTargetAddress(Variant(mHeader.phyAdr));
    const std::int32_t items[][3] = {
        {objDeviceObject, PID_ORDER_INFO, PT_CHAR_BLOCK},
        {objDeviceObject, kFirmware, PT_GENERIC_05},
        {objControlObject, PID_LOAD_STATE_CONTROL, PT_UNSIGNED_CHAR},
        {objControlObject, PID_RUN_STATE_CONTROL, PT_UNSIGNED_CHAR},
        {OBJ_ID_PGM, PID_LOAD_STATE_CONTROL, PT_UNSIGNED_CHAR},
        {OBJ_ID_PGM, PID_RUN_STATE_CONTROL, PT_UNSIGNED_CHAR},
    };
    for (const auto& item : items) dev.Add(item[0], item[1], item[2], mRiduDIV->genEibData(item[2]), false, false);
}

void clsOrvekDali::BuildCommandItem(brimDevice& dev, const TypDaliCommand& dCommand) const {
    dev.setTargetAddress(Variant(mHeader.phyAdr));
    Variant command = mRiduDIV->genEibData(PT_GENERIC_03);
    putBytes(command, {dCommand.Byte1, dCommand.Byte2, dCommand.Byte3});
    dev.Add(objAddressConnect, kCommand, PT_GENERIC_03, command, false, false);
}

// --- read-backs ---

void clsOrvekDali::ReadLoadItems(const brimDevice& dev) {
    const brimcorbin::Converter converter;
    std::array<TypDaliGruppe, 65> ballasts = mDaliGruppe;
    SafeArray<TypDaliScene> scenes = mDaliScene;
    for (const std::shared_ptr<brimPropItem>& item : dev.PropItems()->NewEnum()) {
        if (is(*item, objAddressConnect, kBallastTable)) {
            for (std::int32_t i = 0; i < mGrenzwerte.MaxDaligruppen; ++i) {
                const Variant& element = item->Data().at(i);
                TypDaliGruppe& g = fixedAt(ballasts, i);
                g.Gruppe = blockByte(element, 0);
                g.pAdrL = blockByte(element, 1);
                g.pAdrM = blockByte(element, 2);
                g.pAdrH = blockByte(element, 3);
                g.Index = static_cast<std::uint8_t>(i);
            }
        } else if (is(*item, objAddressConnect, kSceneTable)) {
            takeSceneTable(item->Data(), scenes, mGrenzwerte.MaxDaliScenes);
        }
    }
    TypHeader header = mHeader;
    header.phyAdr = automation::toLong(dev.TargetAddress());
    header.phyAdrString = converter.PhyAdrToText(header.phyAdr);
    header.LetzterUpload = dev.LastUpdated();

    mDaliGruppe = std::move(ballasts);
    mDaliScene = std::move(scenes);
    mHeader = std::move(header);
}

TypDeviceInfo clsOrvekDali::DeviceInfoReadBack(const brimDevice& dev) const {
    TypDeviceInfo info = mDeviceInfo;
    for (const std::shared_ptr<brimPropItem>& item : dev.PropItems()->NewEnum()) {
        const Variant& value = item->Data();
        if (is(*item, objDeviceObject, PID_ORDER_INFO)) {
            info.Bestellnummer = detail::orderNumberText(value);
        } else if (is(*item, objDeviceObject, kFirmware)) {
            info.FirmwareVersion = detail::firmwareText(value);
        } else if (is(*item, objControlObject, PID_LOAD_STATE_CONTROL)) {
            info.AppLoadState = replyByte(value);
        } else if (is(*item, objControlObject, PID_RUN_STATE_CONTROL)) {
            info.AppRunState = replyByte(value);
        } else if (is(*item, OBJ_ID_PGM, PID_LOAD_STATE_CONTROL)) {
            info.LoadState = replyByte(value);
        } else if (is(*item, OBJ_ID_PGM, PID_RUN_STATE_CONTROL)) {
            info.RunState = replyByte(value);
        } else if (is(*item, objAddressConnect, kAddressLength)) {
            info.AdrLaenge = replyByte(value);
        }
    }
    info.phyAdr = automation::toLong(dev.TargetAddress());
    return info;
}

void clsOrvekDali::ReadCommandReply(const brimDevice& dev) {
    const brimPropItem* item = firstItemIf(dev, objAddressConnect, kCommand);
    if (!item) return;
    const Variant& reply = item->Data();
    mdaliCommand = TypDaliCommand{blockByte(reply, 0), blockByte(reply, 1), blockByte(reply, 2)};
}

void clsOrvekDali::ReadSceneReply(const brimDevice& dev) {
    const brimPropItem* item = firstItemIf(dev, objAddressConnect, kSceneTable);
    if (!item) return;
    SafeArray<TypDaliScene> scenes = mDaliScene;
    takeSceneTable(item->Data(), scenes, mGrenzwerte.MaxDaliScenes);
    mDaliScene = std::move(scenes);
}

}  // namespace corlink
