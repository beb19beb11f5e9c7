// The group address table and the association table of the project's bindings (library
// internal). A table object lives for one operation: created empty, filled, read, released.
#pragma once

#include "corlink/SafeArray.h"
#include "variant.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace corlink {

// One binding of a group address to a communication object; a node of both chains of clsTabs.
class TabItem {
public:
    std::int32_t ObjNr = 0;
    std::int32_t groupAddr = 0;
    std::int32_t Index = 0;  // place of the address in the object's list; 0 is the sending address

private:
    friend class clsTabs;
    TabItem* NextAddrItem = nullptr;
    TabItem* NextAssozItem = nullptr;
};

// The tables' limits. An association entry is position * 256 + object number: the address's
// position in the address table in the high byte, where 254 means "no address", and the object
// number in the low byte; the association table's length is one byte as well. More distinct
// addresses or entries than fit are refused with error 6 (overflow) by the operations that
// build the tables.
inline constexpr std::int32_t kNoPosition = 254;
inline constexpr std::int32_t kMaxAddresses = kNoPosition - 1;  // positions 1..253
inline constexpr std::int32_t kMaxObjectNumber = 255;
inline constexpr std::size_t kMaxAssociations = 255;

// Keeps every binding in two chains:
// - address order: ascending groupAddr, equal addresses in the order added;
// - association order: all sending addresses (Index 0) by ascending ObjNr, then all further
//   addresses by ascending ObjNr; equal ObjNr in the order added.
// Group address 0 (no address) is never entered.
class clsTabs {
public:
    clsTabs() = default;
    clsTabs(const clsTabs&) = delete;
    clsTabs& operator=(const clsTabs&) = delete;

    // Enters the non-zero addresses of an object's address list (element 0 is its sending
    // address). A list without element 0 enters nothing.
    void Add(const SafeArray<std::int32_t>& groupAddr, std::int32_t ObjectNr);

    // The group address table as a Long array: entry 0 the number of distinct addresses + 1,
    // then the distinct addresses in ascending order. Error 6 beyond kMaxAddresses addresses.
    automation::Variant AddrTab() const;

    // The association table as a Long array of position * 256 + object number, the position
    // being the address's entry in AddrTab (254: none). Entries 0..lMaxObj-1 carry object i's
    // sending address (0xFE00 + i when it has none); every other binding follows in association
    // order (the remaining sending addresses, then the further addresses, each by ascending
    // object number). A negative lMaxObj gives Empty. Error 6 when an entry's position or
    // object number does not fit its byte, or the table has more than kMaxAssociations entries.
    automation::Variant AssozTab(std::int32_t lMaxObj) const;

    // The number of entries AssozTab(lMaxObj) lays out (0 for a negative lMaxObj), counted without
    // packing them, so no number of addresses or entries is refused.
    std::int32_t AssozCount(std::int32_t lMaxObj) const;

    // The 1-based position of the address among the distinct addresses; kNoPosition when not
    // held, error 6 when its position is beyond kMaxAddresses (and so no real position is ever
    // taken for "not held").
    std::int32_t FindTabItem(std::int32_t address) const;

private:
    // Visits the association chain in order, telling each binding whether it takes its object's
    // own entry of AssozTab(lMaxObj) (the object's first sending address, object below lMaxObj)
    // or follows the lMaxObj entries.
    template <class F>
    void forEachAssociation(std::int32_t lMaxObj, F&& visit) const;

    std::vector<std::unique_ptr<TabItem>> items_;  // owns every node
    TabItem* firstAddr_ = nullptr;
    TabItem* firstAssoz_ = nullptr;
};

}  // namespace corlink
