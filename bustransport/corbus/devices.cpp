#include "corbus/devices.h"

#include "corbus/errors.h"
#include "oledate.h"

#include <cstddef>

namespace corbus {

namespace {

// "area.line.device": exactly three parts of decimal digits only (no sign, blank, comma or
// exponent), area and line 0..15, device 0..255, not all three 0.
bool isPhysicalAddressText(const std::string& text) {
    const int limits[3] = {15, 15, 255};
    int values[3] = {0, 0, 0};
    std::size_t begin = 0;
    for (int part = 0; part < 3; ++part) {
        const std::size_t dot = text.find('.', begin);
        if ((part < 2) == (dot == std::string::npos)) return false;  // two dots, exactly
        const std::size_t end = part < 2 ? dot : text.size();
        if (end == begin) return false;
        int value = 0;
        for (std::size_t i = begin; i < end; ++i) {
            const char c = text[i];
            if (c < '0' || c > '9') return false;
            value = value * 10 + (c - '0');
            if (value > limits[part]) return false;
        }
        values[part] = value;
        begin = end + 1;
    }
    return values[0] != 0 || values[1] != 0 || values[2] != 0;
}

}  // namespace

brimDevice::brimDevice() : propItems_(std::make_shared<brimPropItems>()), created_(automation::now()) {}

void brimDevice::setTargetAddress(const automation::Variant& value) {
    switch (value.varType()) {
    case automation::vtLong:
    case automation::vtInteger:
        if (value.number() < 1.0 || value.number() > 65535.0) raiseCorbusError(CorbusError::TargetAddressRange);
        break;
    case automation::vtString:
        if (!isPhysicalAddressText(value.str())) raiseCorbusError(CorbusError::TargetAddressText);
        break;
    default: raiseCorbusError(CorbusError::TargetAddressType);
    }
    targetAddress_ = value;
    state_ = pdStateReady;
}

std::shared_ptr<brimPropItem> brimDevice::Add(std::int32_t nObjectID, std::int32_t nPropertyID, std::int32_t nDataType,
                                              const automation::Variant& vData, bool bVerify, bool bArray,
                                              const std::string& sKey) {
    auto item = std::make_shared<brimPropItem>();
    item->setObjectID(nObjectID);
    item->setPropertyId(nPropertyID);
    item->setDataType(nDataType);
    item->setIsArray(bArray);
    item->setData(vData);
    item->setVerify(bVerify);
    return propItems_->Add(item, sKey);
}

brimDevices::brimDevices() : list_("brimEib.brimDevices", CorbusError::DevicesItem, CorbusError::DevicesRemove) {}

std::shared_ptr<brimDevice> brimDevices::Add(const std::shared_ptr<brimDevice>& pdDevice, const std::string& sKey) {
    list_.add(pdDevice, sKey);
    return pdDevice;
}

std::shared_ptr<brimDevice> brimDevices::Item(const automation::Variant& vntIndexKey) const {
    return list_.item(vntIndexKey);
}

void brimDevices::Remove(const automation::Variant& vntIndexKey) { list_.remove(vntIndexKey); }

}  // namespace corbus
