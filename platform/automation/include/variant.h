// The automation variant: the value shapes that travel between the libraries
// (scalars, texts, dates, object references and one-dimensional arrays with bounds).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace automation {

// Variant type codes as automation clients see them (an array adds vtArray to its element type).
enum VarType : std::uint16_t {
    vtEmpty = 0,
    vtNull = 1,
    vtInteger = 2,  // signed 16-bit
    vtLong = 3,     // signed 32-bit
    vtDouble = 5,
    vtDate = 7,
    vtString = 8,
    vtObject = 9,
    vtBoolean = 11,
    vtVariant = 12,  // only as an array's element type
    vtByte = 17,
    vtArray = 0x2000,
};

// Base of every object a variant can refer to.
class Object {
public:
    virtual ~Object() = default;
};

class Variant {
public:
    Variant() = default;  // Empty
    Variant(std::int16_t v);
    Variant(std::int32_t v);
    Variant(double v);
    Variant(bool v);
    Variant(std::uint8_t v);
    Variant(std::string v);
    Variant(const char* v);
    Variant(std::shared_ptr<Object> v);

    static Variant null();
    static Variant date(double oleDate);

    // A one-dimensional array lowerBound..lowerBound+count-1 of zero elements of the given type.
    static Variant array(VarType elementType, std::size_t count, std::int32_t lowerBound = 0);
    static Variant bytes(const std::vector<std::uint8_t>& values, std::int32_t lowerBound = 0);
    static Variant longs(const std::vector<std::int32_t>& values, std::int32_t lowerBound = 0);
    static Variant doubles(const std::vector<double>& values, std::int32_t lowerBound = 0);
    static Variant variants(std::vector<Variant> values, std::int32_t lowerBound = 0);

    // The variant type code (vtArray | element type for arrays).
    std::uint16_t varType() const noexcept { return type_; }
    bool isEmpty() const noexcept { return type_ == vtEmpty; }
    bool isNull() const noexcept { return type_ == vtNull; }
    bool isArray() const noexcept { return (type_ & vtArray) != 0; }
    bool isObject() const noexcept { return type_ == vtObject; }
    bool isString() const noexcept { return type_ == vtString; }
    // A scalar number, Boolean or date.
    bool isNumber() const noexcept;

    // Arrays (error 13 when the value is not an array).
    VarType elementType() const;
    std::int32_t lowerBound() const;
    std::int32_t upperBound() const;  // lowerBound - 1 when the array has no elements
    std::size_t count() const;
    // Element access by index; error 9 outside the bounds.
    const Variant& at(std::int32_t index) const;
    Variant& at(std::int32_t index);
    // Stores a value converted to the array's element type (errors 6 / 13 as the conversion says).
    void set(std::int32_t index, const Variant& value);
    // The elements of a byte array (error 13 for any other value).
    std::vector<std::uint8_t> toBytes() const;
    const std::vector<Variant>& elements() const;

    // Scalars as stored; the accessor must match the type.
    const std::string& str() const;
    const std::shared_ptr<Object>& object() const;
    // The numeric value of a number, Boolean (-1 / 0), date or Empty (0); error 13 otherwise.
    double number() const;

    // Exact equality: same type code and same value (arrays element by element, bounds included).
    bool operator==(const Variant& other) const;
    bool operator!=(const Variant& other) const { return !(*this == other); }

private:
    std::uint16_t type_ = vtEmpty;
    std::int64_t int_ = 0;  // Integer, Long, Byte, Boolean
    double real_ = 0.0;     // Double, Date
    std::string text_;
    std::shared_ptr<Object> object_;
    std::int32_t lowerBound_ = 0;
    std::vector<Variant> elements_;
};

// Conversions with the automation rules: numbers round half to even, numeric texts are read,
// a value outside the target range raises 6 (overflow), a value of the wrong kind 13.
std::uint8_t toByte(const Variant& v);
std::int16_t toInteger(const Variant& v);
std::int32_t toLong(const Variant& v);
double toDouble(const Variant& v);
bool toBoolean(const Variant& v);
std::string toText(const Variant& v);

std::uint8_t toByte(double v);
std::int16_t toInteger(double v);
std::int32_t toLong(double v);

// True for numbers, Booleans, dates, Empty and texts that read as a number.
bool isNumeric(const Variant& v);
// Reads a whole text as a decimal number (surrounding blanks allowed); false when it is none.
bool parseNumber(const std::string& text, double& out);

// Equality of two scalar values: numbers by value whatever their width, texts exactly.
bool scalarEquals(const Variant& a, const Variant& b);

}  // namespace automation
