#include "simulated_line.h"

#include "automation_error.h"
#include "property_types.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace busdriver {

using automation::Variant;

// One interface-object property of the gateway.
struct SimulatedLine::Property {
    int object;
    int id;
    int dataType;
    int elements;
    bool writable;
    bool loadControl;  // a load-state control, also read and written as PT_CONTROL
};

namespace {

constexpr int kPtControl = 0;
constexpr int kTelegramBytes = 10;
// Properties by object * 1000 + property id.
constexpr int kBallastTable = 4051;
constexpr int kSceneTable = 4056;
constexpr int kCommandChannel = 4059;
constexpr int kOrderNumber = 5015;
constexpr int kFirmware = 5202;

int key(const SimulatedLine::Property& p) { return p.object * 1000 + p.id; }

constexpr SimulatedLine::Property kProperties[] = {
    {4, 51, 20, kTableSlots, true, false},  // ballast table
    {4, 56, 18, kSceneCount, true, false},  // scene table
    {4, 59, 19, 1, true, false},            // command channel
    {5, 15, 12, 1, false, false},           // order number
    {5, 202, 21, 1, false, false},          // firmware version
    {6, 5, 2, 1, true, true},               // application load state
    {6, 6, 2, 1, true, false},              // application run state
    {3, 5, 2, 1, true, true},               // load state
    {3, 6, 2, 1, true, false},              // run state
};

// A property takes only its own data type (and a load-state control PT_CONTROL as well), so only
// the types of kProperties and the element counts' PT_INT and PT_UNSIGNED_INT reach the coding.
bool isNumericType(int type) { return propertyType(type).shape == ValueShape::Long; }
// PT_CHAR, PT_INT and PT_LONG are signed; their unsigned twins start at 0.
bool isSignedType(int type) { return type == 1 || type == 3 || type == 8; }

int elementSize(int type) { return propertyType(type).elementSize; }

std::string trim(const std::string& text) {
    const std::size_t b = text.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    return text.substr(b, text.find_last_not_of(" \t") - b + 1);
}

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// A whole decimal number of digits only, within min..max.
bool parseWhole(const std::string& text, std::int64_t min, std::int64_t max, std::int64_t& out) {
    if (text.empty() || text.size() > 10) return false;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
    out = std::stoll(text);
    return out >= min && out <= max;
}

[[noreturn]] void invalid(const char* source, const std::string& what) {
    automation::raise(statusInvalidArgument, source, what);
}

// The elements carried by a written value: one element, or an array of `count` elements.
std::vector<std::vector<std::uint8_t>> decodeElements(const Variant& value, int dataType, int count,
                                                      const char* source) {
    const bool numeric = isNumericType(dataType);
    const int size = elementSize(dataType);
    const auto one = [&](const Variant& v) {
        std::vector<std::uint8_t> bytes;
        if (numeric) {
            if (v.isArray()) automation::raiseRuntime(automation::errTypeMismatch);
            const std::int64_t n = automation::toLong(v);
            const std::int64_t span = std::int64_t{1} << (8 * size);
            const std::int64_t min = isSignedType(dataType) ? -span / 2 : 0;
            if (n < min || n >= min + span) automation::raiseRuntime(automation::errOverflow);
            for (int k = size - 1; k >= 0; --k) bytes.push_back(static_cast<std::uint8_t>((n >> (8 * k)) & 0xFF));
        } else {
            if (!v.isArray() || v.count() != static_cast<std::size_t>(size))
                automation::raiseRuntime(automation::errTypeMismatch);
            for (const Variant& e : v.elements()) bytes.push_back(automation::toByte(e));
        }
        return bytes;
    };
    try {
        const bool list =
            value.isArray() && (count > 1 || (value.count() == 1 && (numeric || value.elements()[0].isArray())));
        if (!list) return {one(value)};
        if (value.count() != static_cast<std::size_t>(count))
            invalid(source, "The value does not hold the elements written");
        std::vector<std::vector<std::uint8_t>> out;
        for (const Variant& e : value.elements()) out.push_back(one(e));
        return out;
    } catch (const automation::AutomationError& e) {
        if (e.number() == statusInvalidArgument) throw;
        invalid(source, "The value does not fit the property's data type");
    }
}

}  // namespace

bool parsePhysicalAddress(const std::string& text, std::uint16_t& address) {
    std::int64_t value = 0;
    if (text.find('.') == std::string::npos) {
        if (!parseWhole(text, 0, 0xFFFF, value)) return false;
        address = static_cast<std::uint16_t>(value);
        return true;
    }
    const std::size_t first = text.find('.');
    const std::size_t second = text.find('.', first + 1);
    if (second == std::string::npos || text.find('.', second + 1) != std::string::npos) return false;
    std::int64_t area = 0, line = 0, device = 0;
    if (!parseWhole(text.substr(0, first), 0, 15, area) ||
        !parseWhole(text.substr(first + 1, second - first - 1), 0, 15, line) ||
        !parseWhole(text.substr(second + 1), 0, 255, device))
        return false;
    address = static_cast<std::uint16_t>((area << 12) | (line << 8) | device);
    return true;
}

namespace {

// Reads the parameter string into config; the first part it cannot take ends the reading.
std::optional<ParameterFault> readLineParameters(const std::string& text, LineConfig& config) {
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find(';', pos);
        if (end == std::string::npos) end = text.size();
        const std::string part = trim(text.substr(pos, end - pos));
        pos = end + 1;
        const std::size_t eq = part.find('=');
        if (eq == std::string::npos) continue;
        std::string key = trim(part.substr(0, eq));
        std::transform(key.begin(), key.end(), key.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        const std::string value = trim(part.substr(eq + 1));
        std::optional<ParameterFault> fault;
        // A whole number within min..max; otherwise the fault names the key and its range.
        std::int64_t n = 0;
        const auto whole = [&](std::int64_t min, std::int64_t max) {
            if (!parseWhole(value, min, max, n)) fault = ParameterFault{key, std::to_string(min), std::to_string(max)};
            return !fault;
        };
        if (key == "address") {
            if (!parsePhysicalAddress(value, config.address) || config.address == 0) {
                fault = ParameterFault{key, "0.0.1", "15.15.255"};
            }
        } else if (key == "model") {
            if (whole(0, 9999999999)) config.model = value;
        } else if (key == "ballasts") {
            if (whole(0, kTableSlots)) config.ballasts = static_cast<int>(n);
        } else if (key == "seed") {
            if (whole(0, 0xFFFFFFFF)) config.seed = static_cast<std::uint32_t>(n);
        } else if (key == "polls") {
            if (whole(0, 10000)) config.polls = static_cast<int>(n);
        } else if (key == "mask") {
            if (whole(0, 0xFFFF)) config.maskVersion = static_cast<std::int32_t>(n);
        } else {
            fault = ParameterFault{key, {}, {}};
        }
        if (fault) return fault;
    }
    return std::nullopt;
}

}  // namespace

bool parseLineParameters(const std::string& text, LineConfig& config, std::string* error) {
    LineConfig result = config;
    if (const auto fault = readLineParameters(text, result)) {
        if (error) {
            *error = fault->low.empty() ? "unknown key: " + fault->key
                                        : "bad " + fault->key + ", not within " + fault->low + ".." + fault->high;
        }
        return false;
    }
    config = result;
    return true;
}

std::optional<ParameterFault> checkLineParameters(const std::string& text) {
    LineConfig scratch;
    return readLineParameters(text, scratch);
}

bool selectsSimulatedLine(const std::string& interfaceId) {
    const std::string id = trim(interfaceId);
    return id == kDefaultInterfaceId || equalsIgnoringCase(id, kSimulatedLineGuid);
}

SimulatedLine::SimulatedLine() { reset(); }

void SimulatedLine::reset() {
    config_ = LineConfig{};
    gateway_.clearMemory();
    gateway_.populateLine(config_.ballasts, config_.seed);
    apply(config_);
    clearFaults();
    trace_.clear();
    openConnections_ = 0;
    retriesUsed_ = 0;
}

bool SimulatedLine::configure(const std::string& parameters, std::string* error) {
    LineConfig next = config_;
    if (!parseLineParameters(parameters, next, error)) return false;
    apply(next);
    return true;
}

void SimulatedLine::apply(const LineConfig& config) {
    const bool rewire = config.ballasts != config_.ballasts || config.seed != config_.seed;
    config_ = config;
    gateway_.setModel(config_.model);
    gateway_.searchPolls = config_.polls;
    if (rewire) gateway_.populateLine(config_.ballasts, config_.seed);
}

void SimulatedLine::failOpen(std::int32_t code, int afterOpens) {
    openFailure_ = code;
    opensBeforeFailure_ = afterOpens;
}

void SimulatedLine::failCall(int n, std::int32_t number, std::string match) {
    callFaults_.push_back({std::max(n, 1), number, std::move(match)});
}

void SimulatedLine::failTransiently(int attempts) { transientFailures_ = attempts; }

void SimulatedLine::setVerifyDifference(int objectIndex, int propertyId, bool on) {
    verifyDifferences_[{objectIndex, propertyId}] = on;
}

void SimulatedLine::setReplyFault(int objectIndex, int propertyId, ReplyFault fault) {
    replyFaults_[{objectIndex, propertyId}] = fault;
}

void SimulatedLine::stopAnswering(int afterExchanges) { answersLeft_ = afterExchanges; }

void SimulatedLine::clearFaults() {
    callFaults_.clear();
    openFailure_ = 0;
    opensBeforeFailure_ = 0;
    transientFailures_ = 0;
    answersLeft_ = -1;
    verifyDifferences_.clear();
    replyFaults_.clear();
}

void SimulatedLine::call(const std::string& entry, const char* source) {
    trace_.push_back(entry);
    std::optional<std::int32_t> failure;
    for (auto it = callFaults_.begin(); it != callFaults_.end();) {
        if (entry.rfind(it->match, 0) == 0 && --it->remaining == 0) {
            if (!failure) failure = it->number;
            it = callFaults_.erase(it);
        } else {
            ++it;
        }
    }
    if (failure) automation::raise(*failure, source, "The driver call failed");
}

std::int32_t SimulatedLine::open(const std::string& interfaceId, const Variant& parameters, std::uint16_t address) {
    if (!selectsSimulatedLine(interfaceId)) return openUnknownInterface;
    if (!(parameters.isString() || parameters.isEmpty() || parameters.isNumber())) return openBadParameters;
    if (!configure(automation::toText(parameters))) return openBadParameters;
    if (answersLeft_ == 0 || address != config_.address) return openNoDevice;
    if (openFailure_ != 0) {
        if (opensBeforeFailure_ == 0) return openFailure_;
        --opensBeforeFailure_;
    }
    ++openConnections_;
    return openOk;
}

void SimulatedLine::close() {
    if (openConnections_ > 0) --openConnections_;
}

void SimulatedLine::exchange(int retries, const char* source) {
    // retries < 0: a connection-level request, which transient faults do not touch.
    const bool transient = retries >= 0;
    for (int attempt = 0; attempt <= std::max(retries, 0); ++attempt) {
        if (answersLeft_ == 0) break;
        if (attempt > 0) ++retriesUsed_;
        if (transient && transientFailures_ > 0) {
            --transientFailures_;
            continue;
        }
        if (answersLeft_ > 0) --answersLeft_;
        return;
    }
    automation::raise(statusNoAnswer, source, "The device does not answer");
}

std::int32_t SimulatedLine::maskVersion(const char* source) {
    exchange(-1, source);
    return config_.maskVersion;
}

const SimulatedLine::Property& SimulatedLine::property(int objectIndex, int propertyId, int dataType, int start,
                                                       int count, const char* source) const {
    const auto it = std::find_if(std::begin(kProperties), std::end(kProperties),
                                 [&](const Property& p) { return p.object == objectIndex && p.id == propertyId; });
    if (it == std::end(kProperties))
        automation::raise(
            statusUnknownProperty, source,
            "The device has no property " + std::to_string(objectIndex) + "/" + std::to_string(propertyId));
    if (start == 0) {
        if (count != 1 || (dataType != 3 && dataType != 4))
            invalid(source, "An element count is one PT_INT or PT_UNSIGNED_INT");
        return *it;
    }
    if (start < 0 || count < 1 || static_cast<std::int64_t>(start) + count - 1 > it->elements)
        invalid(source, "Element index out of range");
    if (dataType != it->dataType && !(it->loadControl && dataType == kPtControl))
        invalid(source, "The data type does not match the property");
    if (count * elementSize(dataType) > kTelegramBytes) invalid(source, "More elements than one telegram carries");
    return *it;
}

std::uint8_t& SimulatedLine::stateRegister(const Property& p) {
    DeviceStates& s = gateway_.states;
    if (p.object == 6) return p.id == 5 ? s.applicationLoad : s.applicationRun;
    return p.id == 5 ? s.load : s.run;
}

std::vector<std::uint8_t> SimulatedLine::element(const Property& p, int dataType, int index, bool poll) {
    std::vector<std::uint8_t> bytes;
    switch (key(p)) {
    case kBallastTable: {
        const BallastEntry& e = gateway_.ballastTable[index];
        bytes = {e.group, e.low, e.middle, e.high};
        break;
    }
    case kSceneTable: bytes = {gateway_.sceneTable[index].byte1, gateway_.sceneTable[index].byte2}; break;
    case kCommandChannel: {
        const CommandBytes reply = poll ? gateway_.pollReply() : gateway_.peekReply();
        bytes.assign(reply.begin(), reply.end());
        break;
    }
    case kOrderNumber: bytes.assign(gateway_.orderInfo.begin(), gateway_.orderInfo.end()); break;
    case kFirmware: bytes.assign(gateway_.firmware.begin(), gateway_.firmware.end()); break;
    default: bytes = {stateRegister(p)}; bytes.resize(elementSize(dataType), 0);
    }
    const auto difference = verifyDifferences_.find({p.object, p.id});
    if (difference != verifyDifferences_.end() && difference->second) bytes[0] ^= 1;
    return bytes;
}

void SimulatedLine::store(const Property& p, int index, const std::vector<std::uint8_t>& b) {
    switch (key(p)) {
    case kBallastTable: gateway_.ballastTable[index] = {b[0], b[1], b[2], b[3]}; break;
    case kSceneTable: gateway_.sceneTable[index] = {b[0], b[1]}; break;
    case kCommandChannel: gateway_.writeCommand({b[0], b[1], b[2]}); break;
    default: stateRegister(p) = b[0];
    }
}

Variant SimulatedLine::readProperty(int objectIndex, int propertyId, int dataType, int start, int count, int retries,
                                    const char* source) {
    const Property& p = property(objectIndex, propertyId, dataType, start, count, source);
    exchange(retries, source);
    const auto found = replyFaults_.find({objectIndex, propertyId});
    const ReplyFault fault = found == replyFaults_.end() ? ReplyFault::none : found->second;
    if (fault == ReplyFault::empty) return {};
    if (start == 0) return Variant(static_cast<std::int32_t>(p.elements - (fault == ReplyFault::tooShort ? 1 : 0)));

    const bool numeric = isNumericType(dataType);
    std::vector<std::vector<std::uint8_t>> elements;
    for (int i = 0; i < count; ++i) elements.push_back(element(p, dataType, start - 1 + i, true));
    if (fault == ReplyFault::tooShort) {
        if (count > 1)
            elements.pop_back();
        else if (!numeric)
            elements[0].pop_back();
    }
    const bool outOfRange = fault == ReplyFault::outOfRange;
    const auto shape = [&](const std::vector<std::uint8_t>& bytes) {
        if (numeric) {
            std::int32_t n = 0;
            for (std::uint8_t b : bytes) n = (n << 8) | b;
            return Variant(outOfRange ? n + 256 : n);
        }
        if (!outOfRange) return Variant::bytes(bytes);
        std::vector<std::int32_t> numbers(bytes.begin(), bytes.end());
        numbers[0] += 256;
        return Variant::longs(numbers);
    };
    if (count == 1) return shape(elements[0]);
    std::vector<Variant> values;
    for (const auto& e : elements) values.push_back(shape(e));
    if (!numeric) return Variant::variants(std::move(values));
    std::vector<std::int32_t> numbers;
    for (const Variant& v : values) numbers.push_back(automation::toLong(v));
    return Variant::longs(numbers);
}

void SimulatedLine::writeProperty(int objectIndex, int propertyId, int dataType, int start, int count,
                                  const Variant& value, bool verify, int retries, const char* source) {
    const Property& p = property(objectIndex, propertyId, dataType, start, count, source);
    if (!p.writable) automation::raise(statusReadOnly, source, "The property cannot be written");
    if (start == 0) {
        const auto bytes = decodeElements(value, dataType, 1, source).front();
        if (((bytes[0] << 8) | bytes[1]) != p.elements)
            invalid(source, "The element count of this property is fixed at " + std::to_string(p.elements));
        exchange(retries, source);
        return;
    }
    const auto elements = decodeElements(value, dataType, count, source);
    exchange(retries, source);
    for (int i = 0; i < count; ++i) store(p, start - 1 + i, elements[static_cast<std::size_t>(i)]);
    // The command channel reads back its reply, not the command: there is nothing to verify.
    if (!verify || key(p) == kCommandChannel) return;
    for (int i = 0; i < count; ++i) {
        const auto back = element(p, dataType, start - 1 + i, false);
        const auto& written = elements[static_cast<std::size_t>(i)];
        // A load-state control reads back only its state.
        const bool same = dataType == kPtControl ? back[0] == written[0] : back == written;
        if (!same) automation::raise(statusVerifyFailed, source, "The value read back differs from the value written");
    }
}

SimulatedLine& simulatedLine() {
    static SimulatedLine line;
    return line;
}

}  // namespace busdriver
