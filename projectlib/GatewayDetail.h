// Internals of the gateway operations shared by their sources (and their tests): the texts of
// the engine's events, hexadecimal numbers, the item log and the message pump.
#pragma once

#include "corlink/Records.h"
#include "variant.h"

#include <cstdint>
#include <optional>
#include <string>

namespace corbus {
class brimDevice;
class brimPropItem;
}  // namespace corbus

namespace corlink::detail {

// Upper-case hexadecimal without leading zeros; a negative number as its two's complement.
std::string hexText(std::uint32_t value);

// The German text of a progress event (without the leading blank that LoadEvent adds); the
// empty text for an id outside 1..18.
std::string progressText(std::int32_t eventId, std::int32_t param1, std::int32_t param2);

struct ErrorReport {
    std::string text;
    LoadError code;
};
// The German text and LoadError code of an error event; nothing for an id outside 19..27.
std::optional<ErrorReport> errorReport(std::int32_t eventId, std::int32_t param1, std::int32_t param2);

// The texts of the gateway's identification blocks: the order number (at least 10 bytes) as
// upper-case hex digits of every byte but 255, the firmware version (at least 5 bytes) as the
// hex digits of all bytes cut to two characters. A short block raises 9, no block 13, a byte
// outside 0..255 raises 6.
std::string orderNumberText(const automation::Variant& block);
std::string firmwareText(const automation::Variant& block);

// Runs the program's message pump once (GatewayHooks.h).
void runMessagePump();

// The log line(s) of one property item, without the final line end: object id from column 1,
// property id from 6, data type from 12, Update from 18, the data as hex from 26. Raises 13
// for data that has no hexadecimal form (a text, an object).
std::string itemLogLine(const corbus::brimPropItem& item);
// Writes one line per item of the job into programFolder()/name, replacing the file. A failure
// closes the file (keeping the lines written) and raises 76, 70, 75 or 13.
void WriteLoadLog(const std::string& name, const corbus::brimDevice& job);

}  // namespace corlink::detail
