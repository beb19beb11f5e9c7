// The group address and association tables: the table object, how the project fills it, and
// the length of the project's association table.
#include "clsTabs.h"

#include "automation_error.h"
#include "corlink/clsOrvekDali.h"

#include <algorithm>

namespace corlink {

void clsTabs::Add(const SafeArray<std::int32_t>& groupAddr, std::int32_t ObjectNr) {
    if (!groupAddr.allocated() || groupAddr.lbound() > 0 || groupAddr.ubound() < 0) return;
    for (std::int32_t k = 0; k <= groupAddr.ubound(); ++k) {
        if (groupAddr(k) == 0) continue;  // no address: binds nothing
        items_.push_back(std::make_unique<TabItem>());
        TabItem* node = items_.back().get();
        node->groupAddr = groupAddr(k);
        node->ObjNr = ObjectNr;
        node->Index = k;

        TabItem** link = &firstAddr_;
        while (*link && (*link)->groupAddr <= node->groupAddr) link = &(*link)->NextAddrItem;
        node->NextAddrItem = *link;
        *link = node;

        const bool sending = node->Index == 0;
        link = &firstAssoz_;
        while (*link) {
            const TabItem* a = *link;
            const bool aSending = a->Index == 0;
            if ((sending && !aSending) || (sending == aSending && node->ObjNr < a->ObjNr)) break;
            link = &(*link)->NextAssozItem;
        }
        node->NextAssozItem = *link;
        *link = node;
    }
}

namespace {
[[noreturn]] void overflow() { automation::raiseRuntime(automation::errOverflow); }
}  // namespace

std::int32_t clsTabs::FindTabItem(std::int32_t address) const {
    std::int32_t position = 1;
    for (const TabItem* node = firstAddr_; node; node = node->NextAddrItem) {
        if (node->groupAddr == address) {
            if (position > kMaxAddresses) overflow();
            return position;
        }
        if (node->NextAddrItem && node->NextAddrItem->groupAddr != node->groupAddr) ++position;
    }
    return kNoPosition;
}

automation::Variant clsTabs::AddrTab() const {
    std::vector<std::int32_t> t{0};
    for (const TabItem* node = firstAddr_; node; node = node->NextAddrItem) {
        if (node->groupAddr != t.back()) t.push_back(node->groupAddr);  // 0 never enters
    }
    if (t.size() - 1 > static_cast<std::size_t>(kMaxAddresses)) overflow();
    t[0] = static_cast<std::int32_t>(t.size());  // distinct addresses + 1
    return automation::Variant::longs(t);
}

template <class F>
void clsTabs::forEachAssociation(std::int32_t lMaxObj, F&& visit) const {
    std::vector<bool> hasSending(static_cast<std::size_t>(std::max(lMaxObj, 0)), false);
    for (const TabItem* node = firstAssoz_; node; node = node->NextAssozItem) {
        const bool ownEntry = node->Index == 0 && node->ObjNr >= 0 && node->ObjNr < lMaxObj &&
                              !hasSending[static_cast<std::size_t>(node->ObjNr)];
        if (ownEntry) hasSending[static_cast<std::size_t>(node->ObjNr)] = true;
        visit(*node, ownEntry);
    }
}

automation::Variant clsTabs::AssozTab(std::int32_t lMaxObj) const {
    if (lMaxObj < 0) return {};
    if (static_cast<std::size_t>(lMaxObj) > kMaxAssociations) overflow();
    const auto entry = [this](const TabItem& node) {
        if (node.ObjNr < 0 || node.ObjNr > kMaxObjectNumber) overflow();
        return FindTabItem(node.groupAddr) * 256 + node.ObjNr;
    };

    std::vector<std::int32_t> t(static_cast<std::size_t>(lMaxObj));
    for (std::int32_t i = 0; i < lMaxObj; ++i) t[static_cast<std::size_t>(i)] = 0xFE00 + i;

    // The first sending address of each object takes the object's own entry; every other
    // binding (a second sending address, an object beyond lMaxObj, a further address)
    // follows in association order.
    forEachAssociation(lMaxObj, [&](const TabItem& node, bool ownEntry) {
        if (ownEntry) {
            t[static_cast<std::size_t>(node.ObjNr)] = entry(node);
        } else {
            if (t.size() == kMaxAssociations) overflow();
            t.push_back(entry(node));
        }
    });
    return automation::Variant::longs(t);
}

std::int32_t clsTabs::AssozCount(std::int32_t lMaxObj) const {
    if (lMaxObj < 0) return 0;
    std::int32_t count = lMaxObj;
    forEachAssociation(lMaxObj, [&](const TabItem&, bool ownEntry) { count += ownEntry ? 0 : 1; });
    return count;
}

// --- the project's tables ---

namespace {

// An object's binding counts when it is switched on and its addresses are in use.
void addBinding(clsTabs& tabs, const TypObjectZuordnung& b) {
    if ((b.Active1 || b.Active2) && b.GrpAdrActive) tabs.Add(b.GrpAdr, b.ObjNo);
}

template <class Group>
void addGroups(clsTabs& tabs, const SafeArray<Group>& groups, std::int32_t count) {
    for (std::int32_t i = 0; i < count; ++i) {
        for (const TypObjectZuordnung& b : groups(i).Objekte) addBinding(tabs, b);
    }
}

// One kind of bindings; a kind that cannot be read (not sized yet) is left out.
template <class F>
void tryStep(F&& step) {
    try {
        step();
    } catch (const automation::AutomationError&) {
    }
}

}  // namespace

void clsOrvekDali::FillTabs(clsTabs& tabs) const {
    const TypMaxGrenzwerte& g = mGrenzwerte;
    tryStep([&] { addGroups(tabs, mBeleuchtungsGruppe, g.MaxBeleuchtungsgruppen); });
    tryStep([&] { addGroups(tabs, mBelueftungsGruppe, g.MaxBelueftungsgruppen); });
    tryStep([&] { addGroups(tabs, mTemperaturGruppe, g.MaxTemperaturgruppen); });
    tryStep([&] { addGroups(tabs, mJalousieGruppe, g.MaxJalousiegruppen); });
    tryStep([&] { addGroups(tabs, mMeldeGruppe, g.MaxMeldegruppen); });
    tryStep([&] {
        for (const TypObjectZuordnung& b : mZeiten(0).ObjekteDatumZeitLCD) addBinding(tabs, b);
    });
    tryStep([&] {
        for (std::int32_t i = 0; i < g.MaxSzenen; ++i) addBinding(tabs, mSzene(i).ObjNebenstelle);
    });
}

automation::Variant clsOrvekDali::GetAssozLen() {
    try {
        // The count of the entries, not the packed table: the count has no byte to outgrow.
        clsTabs tabs;
        FillTabs(tabs);
        return automation::Variant(tabs.AssozCount(mGrenzwerte.MaxObjekte));
    } catch (const automation::AutomationError& e) {
        raiseInterfaceError(e.number());
        return {};
    }
}

}  // namespace corlink
