// Device jobs: the physical address of one bus device, its property items and the dates of what
// happened to it; and the ordered, keyed list in which jobs wait and end.
#pragma once

#include "corbus/enums.h"
#include "corbus/keyed_chain.h"
#include "corbus/prop_items.h"
#include "variant.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace corbus {

class brimDevice : public automation::Object {
public:
    brimDevice();

    // pdStateEmpty until a valid TargetAddress was set, then pdStateReady.
    std::int32_t State() const { return state_; }
    double Created() const { return created_; }
    double LastError() const { return lastError_; }
    // When the item list last changed (Add or Remove); 0 if never.
    double LastUpdated() const { return propItems_->ChangedAt(); }
    double LastLoaded() const { return lastLoaded_; }

    const automation::Variant& TargetAddress() const { return targetAddress_; }
    // A Long or Integer 1..65535, or a text "area.line.device" (decimal digits, area and line
    // 0..15, device 0..255, not 0.0.0). Stored as given; State becomes pdStateReady. Refused
    // values raise vbBrimEibError + 5 (type), + 6 (number range) or + 7 (text) and change nothing.
    void setTargetAddress(const automation::Variant& value);

    const std::shared_ptr<brimPropItems>& PropItems() const { return propItems_; }

    // Builds one item (kind brimItemArray when bArray, else brimItemStandard) and appends it.
    std::shared_ptr<brimPropItem> Add(std::int32_t nObjectID, std::int32_t nPropertyID, std::int32_t nDataType,
                                      const automation::Variant& vData = {}, bool bVerify = false, bool bArray = false,
                                      const std::string& sKey = {});

    // Set by the jobs.
    void SetState(std::int32_t value) { state_ = value; }
    void SetLastError(double value) { lastError_ = value; }
    void SetLastLoaded(double value) { lastLoaded_ = value; }

    std::shared_ptr<brimDevice> NextDevice() const { return links_.next.lock(); }
    std::shared_ptr<brimDevice> PrevDevice() const { return links_.prev.lock(); }
    ChainLinks<brimDevice>& chainLinks() { return links_; }

private:
    std::shared_ptr<brimPropItems> propItems_;
    std::int32_t state_ = pdStateEmpty;
    double created_;
    double lastLoaded_ = 0.0;
    double lastError_ = 0.0;
    automation::Variant targetAddress_;
    ChainLinks<brimDevice> links_;
};

class brimDevices : public automation::Object {
public:
    brimDevices();

    // Appends the device (under sKey when not empty); the caller's reference stays valid.
    std::shared_ptr<brimDevice> Add(const std::shared_ptr<brimDevice>& pdDevice, const std::string& sKey = {});
    // By position (1..Count; else vbBrimEibError + 3) or key (error 5 when not present).
    std::shared_ptr<brimDevice> Item(const automation::Variant& vntIndexKey) const;
    std::int32_t Count() const { return list_.count(); }
    // As Item, with vbBrimEibError + 4 for a position out of range.
    void Remove(const automation::Variant& vntIndexKey);
    std::vector<std::shared_ptr<brimDevice>> NewEnum() const { return list_.elements(); }

    std::shared_ptr<brimDevice> head() const { return list_.head(); }
    std::shared_ptr<brimDevice> tail() const { return list_.tail(); }

private:
    KeyedChain<brimDevice> list_;
};

}  // namespace corbus
