// The known gateway models and the selection of a model's definition.
#pragma once

#include "ModelTables.h"
#include "corlink/SafeArray.h"

#include <cstdint>
#include <optional>
#include <string>

namespace corvane {

// A known gateway model: order number and firmware versions (only Firmware(0) is consulted).
struct DeviceRec {
    std::string OrderNo;
    corlink::SafeArray<std::string> Firmware;
};

// Entries 0 "517104" and 1 "517204", firmware "11" each; entry 2 stays empty.
extern corlink::SafeArray<DeviceRec> DeviceTable;
void CreateDeviceTable();

// Builds the model tables of the model with this order number and firmware and returns true.
// An order number that no model carries ("305719", "0", "") gets model 517104. A known model
// with another firmware shows message 916 and returns false; so does a definition that fails
// part-way (after the error message). On false the tables of the previous model stay in force.
bool SelectDeviceDefinition(const std::string& OrderNo, const std::string& Firmware);
// The same, with the tables built aside: those in force are not touched. Nothing when refused.
std::optional<ModelTables> ChooseDeviceDefinition(const std::string& OrderNo, const std::string& Firmware);

// The text of the first actuator type 0..8 whose ActorCode equals Code; "" when none does.
std::string GetActorTypeText(std::int16_t Code);

}  // namespace corvane
