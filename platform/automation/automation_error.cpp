#include "automation_error.h"

namespace automation {

AutomationError::AutomationError(std::int32_t number, std::string source, std::string description)
    : std::runtime_error(description.empty() ? "Automation error " + std::to_string(number) : description),
      number_(number),
      source_(std::move(source)),
      description_(std::move(description)) {}

std::string runtimeDescription(std::int32_t number) {
    switch (number) {
    case errInvalidCall: return "Invalid procedure call or argument";
    case errOverflow: return "Overflow";
    case errOutOfMemory: return "Out of memory";
    case errSubscript: return "Subscript out of range";
    case errTypeMismatch: return "Type mismatch";
    case errBadFileName: return "Bad file name or number";
    case errFileNotFound: return "File not found";
    case errInputPastEnd: return "Input past end of file";
    case errPermissionDenied: return "Permission denied";
    case errPathFileAccess: return "Path/File access error";
    case errPathNotFound: return "Path not found";
    case errTbd: return "tbd";
    case errObjectNotSet: return "Object variable or With block variable not set";
    case errDuplicateKey: return "This key is already associated with an element of this collection";
    default: return {};
    }
}

void raiseRuntime(std::int32_t number, const std::string& source) {
    throw AutomationError(number, source, runtimeDescription(number));
}

void raise(std::int32_t number, const std::string& source, const std::string& description) {
    throw AutomationError(number, source, description);
}

}  // namespace automation
