#include "variant.h"

#include "automation_error.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace automation {

namespace {

const char* kSource = "automation.Variant";

Variant zeroOf(VarType type) {
    switch (type) {
    case vtInteger: return Variant(static_cast<std::int16_t>(0));
    case vtLong: return Variant(static_cast<std::int32_t>(0));
    case vtDouble: return Variant(0.0);
    case vtDate: return Variant::date(0.0);
    case vtString: return Variant(std::string());
    case vtBoolean: return Variant(false);
    case vtByte: return Variant(static_cast<std::uint8_t>(0));
    default: return Variant();
    }
}

Variant convertTo(VarType type, const Variant& v) {
    switch (type) {
    case vtInteger: return Variant(toInteger(v));
    case vtLong: return Variant(toLong(v));
    case vtDouble: return Variant(toDouble(v));
    case vtDate: return Variant::date(toDouble(v));
    case vtString: return Variant(toText(v));
    case vtBoolean: return Variant(toBoolean(v));
    case vtByte: return Variant(toByte(v));
    case vtObject:
        if (!v.isObject()) raiseRuntime(errTypeMismatch, kSource);
        return v;
    default: return v;  // vtVariant holds anything
    }
}

double roundHalfEven(double v) {
    double r = std::nearbyint(v);  // the default rounding mode rounds halves to even
    return r;
}

}  // namespace

Variant::Variant(std::int16_t v) : type_(vtInteger), int_(v) {}
Variant::Variant(std::int32_t v) : type_(vtLong), int_(v) {}
Variant::Variant(double v) : type_(vtDouble), real_(v) {}
Variant::Variant(bool v) : type_(vtBoolean), int_(v ? -1 : 0) {}
Variant::Variant(std::uint8_t v) : type_(vtByte), int_(v) {}
Variant::Variant(std::string v) : type_(vtString), text_(std::move(v)) {}
Variant::Variant(const char* v) : type_(vtString), text_(v ? v : "") {}
Variant::Variant(std::shared_ptr<Object> v) : type_(vtObject), object_(std::move(v)) {}

Variant Variant::null() {
    Variant v;
    v.type_ = vtNull;
    return v;
}

Variant Variant::date(double oleDate) {
    Variant v;
    v.type_ = vtDate;
    v.real_ = oleDate;
    return v;
}

Variant Variant::array(VarType elementType, std::size_t count, std::int32_t lowerBound) {
    Variant v;
    v.type_ = static_cast<std::uint16_t>(vtArray | elementType);
    v.lowerBound_ = lowerBound;
    v.elements_.assign(count, zeroOf(elementType));
    return v;
}

Variant Variant::bytes(const std::vector<std::uint8_t>& values, std::int32_t lowerBound) {
    Variant v = array(vtByte, 0, lowerBound);
    v.elements_.reserve(values.size());
    for (std::uint8_t b : values) v.elements_.emplace_back(b);
    return v;
}

Variant Variant::longs(const std::vector<std::int32_t>& values, std::int32_t lowerBound) {
    Variant v = array(vtLong, 0, lowerBound);
    v.elements_.reserve(values.size());
    for (std::int32_t x : values) v.elements_.emplace_back(x);
    return v;
}

Variant Variant::doubles(const std::vector<double>& values, std::int32_t lowerBound) {
    Variant v = array(vtDouble, 0, lowerBound);
    v.elements_.reserve(values.size());
    for (double x : values) v.elements_.emplace_back(x);
    return v;
}

Variant Variant::variants(std::vector<Variant> values, std::int32_t lowerBound) {
    Variant v = array(vtVariant, 0, lowerBound);
    v.elements_ = std::move(values);
    return v;
}

bool Variant::isNumber() const noexcept {
    switch (type_) {
    case vtInteger:
    case vtLong:
    case vtDouble:
    case vtDate:
    case vtBoolean:
    case vtByte: return true;
    default: return false;
    }
}

VarType Variant::elementType() const {
    if (!isArray()) raiseRuntime(errTypeMismatch, kSource);
    return static_cast<VarType>(type_ & ~vtArray);
}

std::int32_t Variant::lowerBound() const {
    if (!isArray()) raiseRuntime(errTypeMismatch, kSource);
    return lowerBound_;
}

std::int32_t Variant::upperBound() const {
    if (!isArray()) raiseRuntime(errTypeMismatch, kSource);
    return lowerBound_ + static_cast<std::int32_t>(elements_.size()) - 1;
}

std::size_t Variant::count() const {
    if (!isArray()) raiseRuntime(errTypeMismatch, kSource);
    return elements_.size();
}

const Variant& Variant::at(std::int32_t index) const {
    if (!isArray()) raiseRuntime(errTypeMismatch, kSource);
    const std::int64_t pos = static_cast<std::int64_t>(index) - lowerBound_;
    if (pos < 0 || pos >= static_cast<std::int64_t>(elements_.size())) raiseRuntime(errSubscript, kSource);
    return elements_[static_cast<std::size_t>(pos)];
}

Variant& Variant::at(std::int32_t index) { return const_cast<Variant&>(static_cast<const Variant&>(*this).at(index)); }

void Variant::set(std::int32_t index, const Variant& value) {
    Variant& slot = at(index);
    slot = convertTo(elementType(), value);
}

std::vector<std::uint8_t> Variant::toBytes() const {
    if (type_ != (vtArray | vtByte)) raiseRuntime(errTypeMismatch, kSource);
    std::vector<std::uint8_t> out;
    out.reserve(elements_.size());
    for (const Variant& e : elements_) out.push_back(static_cast<std::uint8_t>(e.int_));
    return out;
}

const std::vector<Variant>& Variant::elements() const {
    if (!isArray()) raiseRuntime(errTypeMismatch, kSource);
    return elements_;
}

const std::string& Variant::str() const {
    if (type_ != vtString) raiseRuntime(errTypeMismatch, kSource);
    return text_;
}

const std::shared_ptr<Object>& Variant::object() const {
    if (type_ != vtObject) raiseRuntime(errTypeMismatch, kSource);
    return object_;
}

double Variant::number() const {
    switch (type_) {
    case vtEmpty: return 0.0;
    case vtInteger:
    case vtLong:
    case vtBoolean:
    case vtByte: return static_cast<double>(int_);
    case vtDouble:
    case vtDate: return real_;
    default: raiseRuntime(errTypeMismatch, kSource);
    }
}

bool Variant::operator==(const Variant& other) const {
    if (type_ != other.type_) return false;
    if (isArray()) return lowerBound_ == other.lowerBound_ && elements_ == other.elements_;
    switch (type_) {
    case vtDouble:
    case vtDate: return real_ == other.real_;
    case vtString: return text_ == other.text_;
    case vtObject: return object_ == other.object_;
    default: return int_ == other.int_;
    }
}

bool parseNumber(const std::string& text, double& out) {
    std::size_t b = text.find_first_not_of(" \t");
    if (b == std::string::npos) return false;
    std::size_t e = text.find_last_not_of(" \t");
    const std::string core = text.substr(b, e - b + 1);
    // Decimal digits with optional sign, point and exponent; no hexadecimal, no "inf"/"nan".
    for (char c : core) {
        if (!((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E')) return false;
    }
    const char* begin = core.c_str();
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(begin, &end);
    if (end == begin || *end != '\0' || errno == ERANGE) return false;
    out = v;
    return true;
}

bool isNumeric(const Variant& v) {
    if (v.isEmpty() || v.isNumber()) return true;
    double ignored;
    return v.isString() && parseNumber(v.str(), ignored);
}

double toDouble(const Variant& v) {
    if (v.isString()) {
        double d;
        if (!parseNumber(v.str(), d)) raiseRuntime(errTypeMismatch, kSource);
        return d;
    }
    return v.number();
}

std::uint8_t toByte(double v) {
    const double r = roundHalfEven(v);
    if (!(r >= 0.0 && r <= 255.0)) raiseRuntime(errOverflow, kSource);
    return static_cast<std::uint8_t>(r);
}

std::int16_t toInteger(double v) {
    const double r = roundHalfEven(v);
    if (!(r >= -32768.0 && r <= 32767.0)) raiseRuntime(errOverflow, kSource);
    return static_cast<std::int16_t>(r);
}

std::int32_t toLong(double v) {
    const double r = roundHalfEven(v);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) raiseRuntime(errOverflow, kSource);
    return static_cast<std::int32_t>(r);
}

std::uint8_t toByte(const Variant& v) { return toByte(toDouble(v)); }
std::int16_t toInteger(const Variant& v) { return toInteger(toDouble(v)); }
std::int32_t toLong(const Variant& v) { return toLong(toDouble(v)); }

bool toBoolean(const Variant& v) {
    if (v.isString()) {
        if (v.str() == "True" || v.str() == "true") return true;
        if (v.str() == "False" || v.str() == "false") return false;
    }
    return toDouble(v) != 0.0;
}

std::string toText(const Variant& v) {
    switch (v.varType()) {
    case vtEmpty: return {};
    case vtString: return v.str();
    case vtBoolean: return v.number() != 0.0 ? "True" : "False";
    case vtInteger:
    case vtLong:
    case vtByte: return std::to_string(static_cast<std::int64_t>(v.number()));
    case vtDouble:
    case vtDate: {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.15g", v.number());
        return buf;
    }
    default: raiseRuntime(errTypeMismatch, kSource);
    }
}

bool scalarEquals(const Variant& a, const Variant& b) {
    if (a.isArray() || b.isArray()) return false;
    if (a.isString() && b.isString()) return a.str() == b.str();
    if ((a.isNumber() || a.isEmpty()) && (b.isNumber() || b.isEmpty())) return a.number() == b.number();
    if (a.isNull() || b.isNull()) return false;
    if (a.isObject() && b.isObject()) return a.object() == b.object();
    return false;
}

}  // namespace automation
