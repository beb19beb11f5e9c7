#include "DeviceSelection.h"

#include "GatewayModels.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "ModelTables.h"

namespace corvane {

corlink::SafeArray<DeviceRec> DeviceTable;

void CreateDeviceTable() {
    DeviceTable.redim(0, 2);
    const char* const orderNumbers[] = {"517104", "517204"};
    for (std::int32_t i = 0; i < 2; ++i) {
        DeviceTable(i).OrderNo = orderNumbers[i];
        DeviceTable(i).Firmware.redim(0, 1);
        DeviceTable(i).Firmware(0) = "11";
    }
}

bool SelectDeviceDefinition(const std::string& OrderNo, const std::string& Firmware) {
    std::optional<ModelTables> chosen = ChooseDeviceDefinition(OrderNo, Firmware);
    if (!chosen) return false;
    Model = std::move(*chosen);
    return true;
}

std::optional<ModelTables> ChooseDeviceDefinition(const std::string& OrderNo, const std::string& Firmware) {
    std::optional<ModelTables> chosen;
    // Half-built tables are dropped with the error's report.
    Trap([&] {
        const DeviceRec& model104 = DeviceTable(0);
        const DeviceRec& model204 = DeviceTable(1);
        const bool knownFirmware = OrderNo == model104.OrderNo   ? Firmware == model104.Firmware(0)
                                   : OrderNo == model204.OrderNo ? Firmware == model204.Firmware(0)
                                                                 : true;
        if (!knownFirmware) {
            ShowMessage(1, MessageText(MessageTexts.MsgUnknownFirmware, 916));
            return;
        }
        ModelTables tables;
        if (OrderNo == model204.OrderNo) {
            ClsG517204().G517204V11(tables);
        } else {
            ClsG517104().G517104V11(tables);
        }
        chosen = std::move(tables);
    });
    return chosen;
}

std::string GetActorTypeText(std::int16_t Code) {
    std::string text;
    Trap([&] {
        // The last entry is the empty end entry and is not searched.
        for (std::int32_t i = 0; i <= ActorTypeList.ubound() - 1; ++i) {
            if (ActorTypeList(i).ActorCode == Code) {
                text = ActorTypeList(i).Text;
                return;
            }
        }
    });
    return text;
}

}  // namespace corvane
