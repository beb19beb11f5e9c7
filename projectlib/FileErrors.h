// The run-time errors of the library's own files (project file, item logs, menu-language file).
#pragma once

#include "automation_error.h"

#include <cerrno>
#include <filesystem>
#include <fstream>

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

// The error for a file to be read that is not there: 53 when its folder is, 76 when that is missing too.
[[noreturn]] inline void raiseMissing(const std::filesystem::path& path) {
    std::error_code ec;
    const std::filesystem::path folder = path.parent_path();
    automation::raiseRuntime(folder.empty() || std::filesystem::is_directory(folder, ec) ? automation::errFileNotFound
                                                                                         : automation::errPathNotFound,
                             kSource);
}

// Opens an existing file for reading only: 53 when it is missing, 76 when its folder is, 75 for
// a folder; nothing is created.
inline std::ifstream openForReading(const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (!fs::exists(st)) raiseMissing(path);
    if (fs::is_directory(st)) automation::raiseRuntime(automation::errPathFileAccess, kSource);
    std::ifstream in(path, std::ios::binary);
    if (!in) raiseFileError(errno);
    return in;
}

}  // namespace corlink::detail
