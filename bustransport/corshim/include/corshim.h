// Corshim: the choice of the bus interface in the driver's own connection dialog, handed back
// as the interface identifier (GUID text) and the interface parameter string.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace corshim {

constexpr std::int32_t kStatusOk = 0;
// Returned when the driver hands out no connection manager.
constexpr std::int32_t kStatusClassNotRegistered = static_cast<std::int32_t>(0x80040154u);
// Returned for a failure that carries no status of its own.
constexpr std::int32_t kStatusFail = static_cast<std::int32_t>(0x80004005u);

// Layout of the record the driver's connection manager fills.
namespace record {
constexpr std::size_t kNameOffset = 0;
constexpr std::size_t kNameSize = 132;
constexpr std::size_t kGuidOffset = 132;       // Data1 (32 bit), Data2, Data3 (16 bit each), little-endian
constexpr std::size_t kGuidData4Offset = 140;  // 8 bytes in order
constexpr std::size_t kParameterOffset = 148;
constexpr std::size_t kParameterSize = 1024;  // at most 511 UTF-16 units and the terminator
}  // namespace record

class CWrapConnectionManager {
public:
    // Shows the driver's connection dialog (the manager comes from busdriver::installedDriver()).
    // Returns kStatusOk when the dialog ran: result True with the interface GUID as
    // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" and the parameter string (UTF-8), or, when nothing
    // was chosen, result False and both strings reset. When the manager cannot be created or its
    // dialog call fails, that failure status is returned and the out arguments are not touched.
    std::int32_t GetConnection(std::optional<std::string>& guidEdi, std::optional<std::string>& ConnectionParameter,
                               bool& result);
};

}  // namespace corshim
