#include "corbus/coding.h"

#include "automation_error.h"
#include "corbus/errors.h"
#include "property_types.h"

#include <new>
#include <vector>

#include <unistd.h>

namespace corbus::coding {

namespace {

using automation::Variant;
using busdriver::PropertyType;
using busdriver::propertyType;
using Shape = busdriver::ValueShape;

Variant zeroBlock(std::int32_t size) {
    return Variant::bytes(std::vector<std::uint8_t>(static_cast<std::size_t>(size), 0));
}

// Same bounds and equal elements by the scalar rule.
bool sameElements(const Variant& a, const Variant& b) {
    if (a.lowerBound() != b.lowerBound() || a.upperBound() != b.upperBound()) return false;
    const auto& ea = a.elements();
    const auto& eb = b.elements();
    for (std::size_t i = 0; i < ea.size(); ++i) {
        if (!automation::scalarEquals(ea[i], eb[i])) return false;
    }
    return true;
}

}  // namespace

std::int32_t ElementSize(std::int32_t dataType) { return propertyType(dataType).elementSize; }

std::int32_t ElementsPerTelegram(std::int32_t dataType) { return propertyType(dataType).perTelegram; }

bool IsBlockType(std::int32_t dataType) {
    const PropertyType type = propertyType(dataType);
    return type.shape == Shape::Block || type.shape == Shape::Control ||
           (type.shape == Shape::None && type.elementSize > 0);
}

namespace {

// Throws std::bad_alloc, as a failed allocation would, when `count` values of `bytesEach` bytes
// exceed the machine's memory: before anything is allocated, which could otherwise succeed on
// overcommitted memory and end the program when it is filled.
void requireMemory(std::size_t count, std::size_t bytesEach) {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) return;  // unknown: left to the allocation
    const auto memory = static_cast<std::size_t>(pages) * static_cast<std::size_t>(pageSize);
    if (count > memory / bytesEach) throw std::bad_alloc();
}

Variant zeroArray(const PropertyType& type, std::size_t count) {
    switch (type.shape) {
    case Shape::Long:
    case Shape::Double:
        requireMemory(count, sizeof(Variant));
        return Variant::array(type.shape == Shape::Long ? automation::vtLong : automation::vtDouble, count);
    case Shape::Block: {
        requireMemory(count, sizeof(Variant) * (1 + static_cast<std::size_t>(type.elementSize)));
        std::vector<Variant> blocks(count);
        for (Variant& block : blocks) block = zeroBlock(type.elementSize);
        return Variant::variants(std::move(blocks));
    }
    case Shape::Control:
    case Shape::None: break;
    }
    return {};
}

}  // namespace

Variant genEibData(std::int32_t dataType, std::int32_t bound) {
    const PropertyType type = propertyType(dataType);
    if (bound >= 0) {
        try {
            return zeroArray(type, static_cast<std::size_t>(bound) + 1);
        } catch (const std::bad_alloc&) {
            automation::raiseRuntime(automation::errOutOfMemory, kEngineSource);
        }
    }
    switch (type.shape) {
    case Shape::Long: return Variant(std::int32_t{0});
    case Shape::Double: return Variant(0.0);
    case Shape::Control:
    case Shape::Block: return zeroBlock(type.elementSize);
    case Shape::None: break;
    }
    return {};
}

bool IsArrayData(std::int32_t dataType, const Variant& data) {
    switch (propertyType(dataType).shape) {
    case Shape::Long:
    case Shape::Double: return data.isArray();
    case Shape::Block: return (data.varType() & 12) == 12;
    case Shape::Control:
        if (data.isArray() && (data.varType() & 17) == 17) return false;
        raiseTbd();
    case Shape::None: break;
    }
    return false;
}

Variant ToElement(std::int32_t dataType, const Variant& element) {
    switch (propertyType(dataType).shape) {
    case Shape::Long: return Variant(automation::toLong(element));
    case Shape::Double: return Variant(automation::toDouble(element));
    default: return element;
    }
}

bool CompareData(const Variant& a, const Variant& b) {
    if (!a.isArray() && !b.isArray()) return automation::scalarEquals(a, b);
    if (a.varType() != b.varType()) return false;
    if ((a.varType() & 12) != 12) return sameElements(a, b);

    // Arrays of variants: block by block.
    if (a.count() == 0 || b.count() == 0) return a.count() == b.count() && a.lowerBound() == b.lowerBound();
    if (a.elements().front().varType() != b.elements().front().varType()) return false;
    if (a.lowerBound() != b.lowerBound() || a.upperBound() != b.upperBound()) return false;
    const auto& ea = a.elements();
    const auto& eb = b.elements();
    for (std::size_t i = 0; i < ea.size(); ++i) {
        const bool equal =
            ea[i].isArray() && eb[i].isArray() ? sameElements(ea[i], eb[i]) : automation::scalarEquals(ea[i], eb[i]);
        if (!equal) return false;
    }
    return true;
}

}  // namespace corbus::coding
