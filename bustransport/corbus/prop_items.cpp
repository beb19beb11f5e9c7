#include "corbus/prop_items.h"

#include "corbus/errors.h"
#include "oledate.h"

namespace corbus {

void brimPropItem::setItemType(std::int32_t value) {
    if (value < brimItemStandard || value > brimItemLoadCtl) raiseTbd();
    itemType_ = value;
}

brimPropItems::brimPropItems()
    : list_("brimEib.brimPropItems", CorbusError::PropItemsItem, CorbusError::PropItemsRemove) {}

std::shared_ptr<brimPropItem> brimPropItems::Add(std::shared_ptr<brimPropItem>& propItem, const std::string& sKey) {
    list_.add(propItem, sKey);
    std::shared_ptr<brimPropItem> item = std::move(propItem);  // leaves the caller's reference empty
    changedAt_ = automation::now();
    return item;
}

std::shared_ptr<brimPropItem> brimPropItems::Item(const automation::Variant& vntIndexKey) const {
    return list_.item(vntIndexKey);
}

void brimPropItems::Remove(const automation::Variant& vntIndexKey) {
    list_.remove(vntIndexKey);
    changedAt_ = automation::now();
}

}  // namespace corbus
