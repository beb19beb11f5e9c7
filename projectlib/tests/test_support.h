// Helpers shared by the Corlink tests.
#pragma once

#include "FileCalls.h"
#include "SafeFile.h"
#include "automation_error.h"
#include "corlink/clsOrvekDali.h"
#include "gateway_limits.h"
#include "testing/error_of.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

namespace corlink::test {

namespace fs = std::filesystem;

using automation::testing::errorOf;

// A fresh folder for the running test, removed afterwards.
struct TempFolder {
    fs::path dir;
    // suffix: a second folder of the same test.
    explicit TempFolder(const std::string& suffix = {})
        : dir(fs::temp_directory_path() / ("corlink-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name() + suffix)) {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    ~TempFolder() { fs::remove_all(dir); }
    std::string path(const std::string& name) const { return (dir / name).string(); }
};

inline std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
inline void writeFile(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// The calls by which a file is replaced, replaced for one test.
class ScopedFileCalls {
public:
    explicit ScopedFileCalls(detail::FileCalls calls) : saved_(std::exchange(detail::fileCalls(), calls)) {}
    ~ScopedFileCalls() { detail::fileCalls() = saved_; }

private:
    detail::FileCalls saved_;
};

// A file call refused with the error Err, as a file system refuses it.
template <int Err, class... Args>
int refused(Args...) {
    errno = Err;
    return -1;
}

// The hidden prefix of the temporaries of a target's saves, as a save shows it: the name of the
// file it creates without the 16 digits that each save draws.
inline std::string temporaryPrefixOf(const std::string& target) {
    static std::string created;
    const fs::path probe = fs::temp_directory_path() / ("corlink-probe-" + std::to_string(::getpid()));
    fs::create_directory(probe);
    {
        detail::FileCalls calls;
        calls.openat = [](int folder, const char* name, int flags, mode_t mode) {
            if (flags & O_CREAT) created = name;
            return ::openat(folder, name, flags, mode);
        };
        const ScopedFileCalls scoped(calls);
        detail::ReplaceFile((probe / fs::path(target).filename()).string(), "probe");
    }
    fs::remove_all(probe);
    EXPECT_EQ(created.size(), 5u + 16u + 16u) << created;
    EXPECT_EQ(created.substr(0, 5), ".~dal");
    return created.substr(0, created.size() - 16);
}

struct DownUpLoadEvent {
    DeviceState status;
    double Datum;
    automation::Variant phyAdr;
    TypLoadProc TypLoad;
};

// Records every event; `sequence` keeps their order by name.
struct Recorder : clsOrvekDaliEvents {
    std::vector<std::string> sequence;
    std::vector<std::int16_t> interfaceErrors;
    std::vector<DownUpLoadEvent> downUpLoads;
    std::vector<TypDeviceInfo> deviceInfos;
    std::vector<std::string> loads;
    std::vector<std::pair<std::string, LoadError>> loadErrors;
    std::function<void()> onLoad;  // runs inside every LoadEvent

    void HeaderChanged() override { sequence.push_back("HeaderChanged"); }
    void InterfaceError(std::int16_t code) override {
        sequence.push_back("InterfaceError");
        interfaceErrors.push_back(code);
    }
    void DeviceInfoEvent(TypDeviceInfo& info, DeviceState, double, const automation::Variant&) override {
        sequence.push_back("DeviceInfoEvent");
        deviceInfos.push_back(info);
    }
    void DownUpLoad(DeviceState status, double Datum, const automation::Variant& phyAdr, TypLoadProc TypLoad) override {
        sequence.push_back("DownUpLoad");
        downUpLoads.push_back({status, Datum, phyAdr, TypLoad});
    }
    void LoadEvent(const std::string& text, std::int32_t, std::int32_t, double) override {
        sequence.push_back("LoadEvent");
        loads.push_back(text);
        if (onLoad) onLoad();
    }
    void LoadErrorEvent(const std::string& text, std::int32_t, std::int32_t, double, LoadError& code) override {
        sequence.push_back("LoadErrorEvent");
        loadErrors.emplace_back(text, code);
    }
    std::ptrdiff_t count(const std::string& name) const { return std::count(sequence.begin(), sequence.end(), name); }
    // Everything but LoadEvent, in order.
    std::vector<std::string> outcome() const {
        std::vector<std::string> out;
        for (const std::string& e : sequence)
            if (e != "LoadEvent") out.push_back(e);
        return out;
    }
};

}  // namespace corlink::test
