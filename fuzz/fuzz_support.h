// What the fuzz targets share: a check that ends the run with a report, and a scratch folder.
#pragma once

#include "corlink/clsOrvekDali.h"
#include "gateway_limits.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

// A finding: the condition does not hold for the input just run.
#define FUZZ_CHECK(condition) ((condition) ? void() : corvane_fuzz::failed(#condition, __FILE__, __LINE__))

namespace corvane_fuzz {

[[noreturn]] inline void failed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

// A new folder of the process in memory (/dev/shm) or under the temporary folder; removed when
// the process ends. The path is never destroyed, so that the handler at exit can still read it.
inline const std::filesystem::path& scratchFolder() {
    static const std::filesystem::path* const folder = [] {
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string name = (base / "corvane-fuzz-XXXXXX").string();
        if (!::mkdtemp(name.data())) failed("mkdtemp", __FILE__, __LINE__);
        return new std::filesystem::path(name);
    }();
    static const bool removedAtExit = std::atexit([] {
                                          std::error_code ec;
                                          std::filesystem::remove_all(*folder, ec);
                                      }) == 0;
    (void)removedAtExit;
    return *folder;
}

// The header's three dates by their bits, so that a NaN compares equal to itself.
inline std::array<std::uint64_t, 3> dateBits(const corlink::TypHeader& h) {
    return {std::bit_cast<std::uint64_t>(h.LetzterZugriff), std::bit_cast<std::uint64_t>(h.LetzterDownload),
            std::bit_cast<std::uint64_t>(h.LetzterUpload)};
}

inline void writeBytes(const std::filesystem::path& file, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    FUZZ_CHECK(out.good());
}

}  // namespace corvane_fuzz
