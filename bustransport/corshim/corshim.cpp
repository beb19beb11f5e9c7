#include "corshim.h"

#include "automation_error.h"
#include "falcon.h"
#include "unicode.h"

#include <cstdio>

namespace corshim {

namespace {

using busdriver::ConnectionRecord;

std::uint32_t littleEndian(const ConnectionRecord& rec, std::size_t offset, std::size_t bytes) {
    std::uint32_t value = 0;
    for (std::size_t i = bytes; i-- > 0;) value = (value << 8) | rec[offset + i];
    return value;
}

// The zero-terminated UTF-16LE string of one area of the record, as UTF-8. Reading stops at the
// end of the area even without a terminator; a lone surrogate becomes U+FFFD.
std::string utf16Text(const ConnectionRecord& rec, std::size_t offset, std::size_t size) {
    std::u16string units;
    for (std::size_t i = 0; i < size / 2; ++i) {
        const auto unit = static_cast<char16_t>(littleEndian(rec, offset + 2 * i, 2));
        if (unit == 0) break;
        units.push_back(unit);
    }
    return automation::fromUtf16(units);
}

std::string guidText(const ConnectionRecord& rec) {
    const std::size_t d4 = record::kGuidData4Offset;
    char text[39];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(littleEndian(rec, record::kGuidOffset, 4)),
                  static_cast<unsigned>(littleEndian(rec, record::kGuidOffset + 4, 2)),
                  static_cast<unsigned>(littleEndian(rec, record::kGuidOffset + 6, 2)), rec[d4], rec[d4 + 1],
                  rec[d4 + 2], rec[d4 + 3], rec[d4 + 4], rec[d4 + 5], rec[d4 + 6], rec[d4 + 7]);
    return text;
}

// A failure must never read as success.
std::int32_t failureStatus(std::int32_t status) { return status == kStatusOk ? kStatusFail : status; }

}  // namespace

std::int32_t CWrapConnectionManager::GetConnection(std::optional<std::string>& guidEdi,
                                                   std::optional<std::string>& ConnectionParameter, bool& result) {
    ConnectionRecord rec{};
    try {
        const std::shared_ptr<busdriver::Driver> driver = busdriver::installedDriver();
        const std::shared_ptr<busdriver::ConnectionManager> manager =
            driver ? driver->createConnectionManager() : nullptr;
        if (!manager) return kStatusClassNotRegistered;
        const std::int32_t status = manager->SelectConnection("", -1, rec);
        if (status != kStatusOk) return status;
    } catch (const automation::AutomationError& e) {
        return failureStatus(e.number());
    }

    if (rec[record::kNameOffset] == 0 && rec[record::kNameOffset + 1] == 0) {
        result = false;
        guidEdi.reset();
        ConnectionParameter.reset();
    } else {
        result = true;
        guidEdi = guidText(rec);
        ConnectionParameter = utf16Text(rec, record::kParameterOffset, record::kParameterSize);
    }
    return kStatusOk;
}

}  // namespace corshim
