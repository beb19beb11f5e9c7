// The item logs "BTSToDO" and "BTSLog": one line per property item of a device job, with its
// ids, data type, update flag and data in hexadecimal, in the program folder.
#include "FileErrors.h"
#include "GatewayDetail.h"
#include "automation_error.h"
#include "corbus/devices.h"
#include "corlink/GatewayHooks.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>
#include <utility>

namespace corlink {

namespace fs = std::filesystem;

namespace {

using detail::kSource;

fs::path& folderSlot() {
    static fs::path folder;
    return folder;
}

// The folder of the running executable, or the working folder when that cannot be read.
fs::path executableFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path(ec) : exe.parent_path();
}

// Hexadecimal of one stored value as the log writes it: bytes and longs as they are, 16-bit
// integers and Booleans in 16 bits, other numbers rounded to a long.
std::string hexOf(const automation::Variant& v) {
    switch (v.varType()) {
    case automation::vtInteger:
    case automation::vtBoolean: return detail::hexText(static_cast<std::uint16_t>(automation::toInteger(v)));
    case automation::vtEmpty:
    case automation::vtByte:
    case automation::vtLong:
    case automation::vtDouble:
    case automation::vtDate:
    case automation::vtString:  // a numeric text; any other raises 13
        return detail::hexText(static_cast<std::uint32_t>(automation::toLong(v)));
    default: automation::raiseRuntime(automation::errTypeMismatch, kSource);
    }
}

// The data text: nothing for no value, the hex of a scalar, or the hex of every element (of
// every element's elements) each followed by a blank.
std::string dataText(const automation::Variant& data) {
    if (data.isEmpty()) return {};
    if (!data.isArray()) return hexOf(data);
    std::string out;
    for (const automation::Variant& element : data.elements()) {
        if (!element.isArray()) {
            out += hexOf(element) + " ";
            continue;
        }
        for (const automation::Variant& part : element.elements()) out += hexOf(part) + " ";
    }
    return out;
}

// A line of fields at fixed columns; a field that would start left of the print position
// goes to the next line.
class Columns {
public:
    void at(std::size_t column) {
        if (position() > column) {
            text_ += "\r\n";
            lineStart_ = text_.size();
        }
        text_.append(column - position(), ' ');
    }
    // Sign position (blank or "-"), digits, one blank.
    void number(std::int32_t value) {
        text_ += value < 0 ? "-" : " ";
        text_ += std::to_string(value < 0 ? -static_cast<std::int64_t>(value) : value);
        text_ += ' ';
    }
    void text(const std::string& value) { text_ += value; }
    const std::string& str() const { return text_; }

private:
    std::size_t position() const { return text_.size() - lineStart_ + 1; }
    std::string text_;
    std::size_t lineStart_ = 0;
};

}  // namespace

void setProgramFolder(fs::path folder) { folderSlot() = std::move(folder); }

fs::path programFolder() {
    const fs::path& folder = folderSlot();
    return folder.empty() ? executableFolder() : folder;
}

namespace detail {

std::string itemLogLine(const corbus::brimPropItem& item) {
    const std::string data = dataText(item.Data());
    Columns line;
    line.at(1);
    line.number(item.ObjectID());
    line.at(6);
    line.number(item.PropertyId());
    line.at(12);
    line.number(item.DataType());
    line.at(18);
    line.text(item.Update() ? "True" : "False");
    line.at(26);
    line.text(data);
    return line.str();
}

void WriteLoadLog(const std::string& name, const corbus::brimDevice& job) {
    const fs::path path = programFolder() / name;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file) detail::raiseFileError(errno);
    const std::shared_ptr<corbus::brimPropItems> items = job.PropItems();
    const std::int32_t count = items->Count();
    for (std::int32_t i = 1; i <= count; ++i) {
        const std::string line = itemLogLine(*items->Item(i)) + "\r\n";
        if (std::fwrite(line.data(), 1, line.size(), file.get()) != line.size()) detail::raiseFileError(errno);
    }
    if (std::fflush(file.get()) != 0) detail::raiseFileError(errno);
}

}  // namespace detail

}  // namespace corlink
