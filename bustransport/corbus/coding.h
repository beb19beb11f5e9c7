// Coding of property values by data type: element sizes, how many elements one telegram
// carries, zero values, when a value counts as array data, and how two values compare.
#pragma once

#include "variant.h"

#include <cstdint>

namespace corbus::coding {

// Bytes per element; 0 for types without a size (PT_UNDEFINED, 15, 16, unknown values).
std::int32_t ElementSize(std::int32_t dataType);
// Elements per property read or write (never more than 10 data bytes); 0 exactly where
// ElementSize is 0.
std::int32_t ElementsPerTelegram(std::int32_t dataType);
// True for the types whose one element is a byte block rather than a number: PT_CONTROL,
// PT_DATE, PT_TIME, PT_CHAR_BLOCK, PT_POLL_GROUP_SETTINGS, PT_SHORT_CHAR_BLOCK and the generic types.
bool IsBlockType(std::int32_t dataType);

// The zero value (bound < 0) or the zero array 0..bound of a data type: Long or Double numbers
// and arrays, byte-array blocks, or arrays of variants holding one block each; Empty for the
// types without a value shape. A zero array that the memory cannot hold raises 7 (out of memory).
automation::Variant genEibData(std::int32_t dataType, std::int32_t bound = -1);

// Whether Data holds several elements of the type: any array for the number types, an array of
// variants for the block types, never for the rest. PT_CONTROL requires a byte array (one
// element) and raises 88 for anything else.
bool IsArrayData(std::int32_t dataType, const automation::Variant& data);

// One element as a job writes it: converted to Long for the integer types and to Double for
// the float types; any other element (a block) unchanged.
automation::Variant ToElement(std::int32_t dataType, const automation::Variant& element);

// Equality of two property values: scalars by value, arrays only of the same type and bounds,
// element by element (arrays of variants block by block).
bool CompareData(const automation::Variant& a, const automation::Variant& b);

}  // namespace corbus::coding
