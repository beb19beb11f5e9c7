// Property items: one property of one interface object that a job reads or writes, and the
// ordered, keyed list of the items of one device job.
#pragma once

#include "corbus/enums.h"
#include "corbus/keyed_chain.h"
#include "variant.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace corbus {

class brimPropItem : public automation::Object {
public:
    bool Verify() const { return verify_; }
    void setVerify(bool value) { verify_ = value; }
    bool bDebug() const { return debug_; }
    void setbDebug(bool value) { debug_ = value; }

    // A copy of the value; an object reference is kept as the reference itself.
    const automation::Variant& Data() const { return data_; }
    void setData(const automation::Variant& value) { data_ = value; }

    std::int32_t DataType() const { return dataType_; }
    void setDataType(std::int32_t value) { dataType_ = value; }
    std::int32_t PropertyId() const { return propertyId_; }
    void setPropertyId(std::int32_t value) { propertyId_ = value; }
    std::int32_t ObjectID() const { return objectId_; }
    void setObjectID(std::int32_t value) { objectId_ = value; }

    // True exactly when ItemType is brimItemArray; setting it chooses brimItemArray or brimItemStandard.
    bool IsArray() const { return itemType_ == brimItemArray; }
    void setIsArray(bool value) { itemType_ = value ? brimItemArray : brimItemStandard; }
    // 0..4; any other value raises 88 ("tbd") and keeps the old kind.
    std::int32_t ItemType() const { return itemType_; }
    void setItemType(std::int32_t value);

    // Set by the jobs: False when a transfer starts, True once the item was handled.
    bool Update() const { return update_; }
    void SetUpdate(bool value) { update_ = value; }

    // Chain neighbours in the owning list (nothing at the ends or outside a list).
    std::shared_ptr<brimPropItem> NextItem() const { return links_.next.lock(); }
    std::shared_ptr<brimPropItem> PrevItem() const { return links_.prev.lock(); }
    ChainLinks<brimPropItem>& chainLinks() { return links_; }

private:
    bool verify_ = false;
    bool debug_ = false;
    std::int32_t objectId_ = 0;
    std::int32_t propertyId_ = 0;
    std::int32_t dataType_ = 0;
    automation::Variant data_;
    bool update_ = false;
    std::int32_t itemType_ = brimItemArray;
    ChainLinks<brimPropItem> links_;
};

class brimPropItems : public automation::Object {
public:
    brimPropItems();

    // Appends the item (under sKey when not empty) and takes the caller's reference over:
    // propItem is empty afterwards. A key already present raises 457 and changes nothing.
    std::shared_ptr<brimPropItem> Add(std::shared_ptr<brimPropItem>& propItem, const std::string& sKey = {});
    // By position (a number or numeric text, 1..Count; else vbBrimEibError + 1) or by key
    // (error 5 when not present).
    std::shared_ptr<brimPropItem> Item(const automation::Variant& vntIndexKey) const;
    std::int32_t Count() const { return list_.count(); }
    // As Item, with vbBrimEibError + 2 for a position out of range.
    void Remove(const automation::Variant& vntIndexKey);
    // The items in insertion order.
    std::vector<std::shared_ptr<brimPropItem>> NewEnum() const { return list_.elements(); }

    std::shared_ptr<brimPropItem> head() const { return list_.head(); }
    std::shared_ptr<brimPropItem> tail() const { return list_.tail(); }
    // Moment of the last Add or Remove; 0 until then.
    double ChangedAt() const { return changedAt_; }

private:
    KeyedChain<brimPropItem> list_;
    double changedAt_ = 0.0;
};

}  // namespace corbus
