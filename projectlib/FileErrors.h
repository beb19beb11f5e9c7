// The run-time errors of the library's own files (project file, item logs, menu-language file).
#pragma once

#include "automation_error.h"

#include <cerrno>

namespace corlink::detail {

inline constexpr const char* kSource = "DaliInterface";

// The error of a failed system call on a file: 76 path not found, 70 permission denied,
// 75 any other.
[[noreturn]] inline void raiseFileError(int err) {
    switch (err) {
    case ENOENT:
    case ENOTDIR: automation::raiseRuntime(automation::errPathNotFound, kSource);
    case EACCES:
    case EPERM:
    case EROFS: automation::raiseRuntime(automation::errPermissionDenied, kSource);
    default: automation::raiseRuntime(automation::errPathFileAccess, kSource);
    }
}

}  // namespace corlink::detail
