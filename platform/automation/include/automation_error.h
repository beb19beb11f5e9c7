// Numbered automation errors: the one exception type every library raises.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace automation {

// Run-time error numbers the libraries raise or pass on.
enum RuntimeError : std::int32_t {
    errInvalidCall = 5,  // invalid procedure call or argument; also "key not present"
    errOverflow = 6,
    errOutOfMemory = 7,
    errSubscript = 9,  // subscript out of range
    errTypeMismatch = 13,
    errBadFileName = 52,
    errFileNotFound = 53,
    errInputPastEnd = 62,
    errPermissionDenied = 70,
    errPathFileAccess = 75,
    errPathNotFound = 76,
    errTbd = 88,  // raised by the transport with source and description "tbd"
    errObjectNotSet = 91,
    errDuplicateKey = 457,
};

// Base of the errors the bus transport raises itself (0x80040000 + 3000).
constexpr std::int32_t vbBrimEibError = static_cast<std::int32_t>(0x80040BB8u);

class AutomationError : public std::runtime_error {
public:
    AutomationError(std::int32_t number, std::string source, std::string description);

    std::int32_t number() const noexcept { return number_; }
    const std::string& source() const noexcept { return source_; }
    const std::string& description() const noexcept { return description_; }

private:
    std::int32_t number_;
    std::string source_;
    std::string description_;
};

// The English description of a run-time error number ("" for unknown numbers).
std::string runtimeDescription(std::int32_t number);

// Raises a run-time error with its standard description.
[[noreturn]] void raiseRuntime(std::int32_t number, const std::string& source = {});

[[noreturn]] void raise(std::int32_t number, const std::string& source, const std::string& description);

}  // namespace automation
