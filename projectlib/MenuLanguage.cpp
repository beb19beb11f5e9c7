// Reading and writing the gateway's menu-language files, and the device job items that load
// the menu texts and the group address table into the gateway.
#include "MenuLanguage.h"

#include "FileErrors.h"
#include "automation_error.h"
#include "clsTabs.h"
#include "corbus/brim_eib.h"
#include "corlink/GatewayHooks.h"
#include "corlink/clsOrvekDali.h"
#include "text1252.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <vector>

namespace corlink {

namespace {

namespace fs = std::filesystem;

[[noreturn]] void fail(std::int32_t number) { automation::raiseRuntime(number, detail::kSource); }

// Reads the fields of a text file the way they were written with quotes and commas.
class FieldReader {
public:
    explicit FieldReader(std::string text) : text_(std::move(text)) {}

    // A line ends with CR LF, CR or LF.
    void skipLine() {
        if (pos_ >= text_.size()) fail(automation::errInputPastEnd);
        const std::size_t end = text_.find_first_of("\r\n", pos_);
        pos_ = end == std::string::npos ? text_.size() : end;
        skipDelimiter();
    }

    // More than blanks and line ends left.
    bool moreData() const { return text_.find_first_not_of(" \t\r\n", pos_) != std::string::npos; }

    std::string field() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
        if (pos_ >= text_.size()) fail(automation::errInputPastEnd);
        std::string value;
        if (text_[pos_] == '"') {
            const std::size_t close = text_.find('"', pos_ + 1);
            const std::size_t end = close == std::string::npos ? text_.size() : close;
            value = text_.substr(pos_ + 1, end - pos_ - 1);
            pos_ = close == std::string::npos ? end : close + 1;
            while (pos_ < text_.size() && !isDelimiter(text_[pos_])) ++pos_;  // up to the delimiter
        } else {
            const std::size_t begin = pos_;
            while (pos_ < text_.size() && !isDelimiter(text_[pos_])) ++pos_;
            value = text_.substr(begin, pos_ - begin);
            value.erase(value.find_last_not_of(" \t") + 1);
        }
        skipDelimiter();
        return value;
    }

private:
    static bool isDelimiter(char c) { return c == ',' || c == '\r' || c == '\n'; }
    void skipDelimiter() {
        if (pos_ >= text_.size()) return;
        if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
        ++pos_;
    }

    std::string text_;
    std::size_t pos_ = 0;
};

// A field read into a 16-bit number: an empty field is 0; anything but a number raises 13,
// a number out of range 6.
std::int16_t number16(const std::string& field) {
    if (field.empty()) return 0;
    return automation::toInteger(automation::Variant(field));
}

// 16 characters of the text (Windows-1252), cut when longer and padded with blanks, and 0.
automation::Variant menuTextData(const corbus::brimEib& engine, const std::string& text) {
    std::string bytes = automation::toWindows1252(text);
    bytes.resize(kMenuTextLength, ' ');
    automation::Variant data = engine.genEibData(corbus::PT_UNSIGNED_CHAR, static_cast<std::int32_t>(kMenuTextLength));
    for (std::size_t i = 0; i < kMenuTextLength; ++i) {
        data.set(static_cast<std::int32_t>(i),
                 automation::Variant(static_cast<std::int32_t>(static_cast<unsigned char>(bytes[i]))));
    }
    return data;  // the last element stays 0
}

// The whole content of the file; a file that opens but cannot be read raises 75.
std::string readAll(const fs::path& path) {
    std::ifstream in = detail::openForReading(path);
    std::string content;
    char buffer[4096];
    // The stream turns a failed read into its bad state (a read that throws included).
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        content.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) fail(automation::errPathFileAccess);
    return content;
}

// MenuSprache names a file of the program folder: a path separator, a drive or anything else
// that could lead out of the folder is a bad file name (52).
void checkFileName(const std::string& name) {
    if (name.find_first_of(std::string("/\\:\0", 4)) != std::string::npos) fail(automation::errBadFileName);
}

}  // namespace

void clsOrvekDali::ReadLanguageFile(SafeArray<TypMenuText>& items) const {
    const TypZeiten& settings = mZeiten(0);
    checkFileName(settings.MenuSprache);
    const fs::path path = programFolder() / (settings.MenuSprache + ".m" + std::to_string(settings.MenuSpracheID));
    FieldReader fields(automation::fromWindows1252(readAll(path)));

    fields.skipLine();  // the header line
    std::vector<TypMenuText> read;
    while (fields.moreData()) {
        TypMenuText entry;
        entry.Nr1 = number16(fields.field());
        entry.Nr2 = number16(fields.field());
        fields.field();  // not used
        entry.Text = fields.field();
        read.push_back(std::move(entry));
    }
    SafeArray<TypMenuText> list(0, static_cast<std::int32_t>(read.size()) - 1);
    for (std::size_t i = 0; i < read.size(); ++i) list(static_cast<std::int32_t>(i)) = std::move(read[i]);
    items = std::move(list);
}

void clsOrvekDali::WriteLanguageFile(const SafeArray<TypMenuText>& items) const {
    std::string content;
    for (std::int32_t i = 0; i <= items.ubound(); ++i) {
        const TypMenuText& e = items(i);
        content +=
            std::to_string(e.Nr1) + ',' + std::to_string(e.Nr2) + ",\"" + automation::toWindows1252(e.Text) + "\"\r\n";
    }
    const fs::path path = programFolder() / "MenuSprache.m00";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) detail::raiseFileError(errno);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.flush();
    if (!out) fail(automation::errPathFileAccess);
}

void clsOrvekDali::BuildLanguageItems(corbus::brimDevice& dev) {
    using namespace corbus;
    dev.setTargetAddress(automation::Variant(mHeader.phyAdr));

    const auto control = [this](std::uint8_t loadState) {
        automation::Variant buffer = mRiduDIV->genEibData(PT_CONTROL);
        buffer.set(0, automation::Variant(loadState));
        return buffer;
    };
    const auto loadControl = [&](std::int32_t object, std::uint8_t loadState) {
        dev.Add(object, PID_LOAD_STATE_CONTROL, PT_CONTROL, control(loadState))->setItemType(brimItemLoadCtl);
    };
    const auto addressTable = [&](const automation::Variant& table, bool isArray) {
        dev.Add(objAddressConnect, PID_APPLICATION_SPECIFIC_BASE, PT_UNSIGNED_INT, table, false, isArray)
            ->setItemType(brimItemAddress);
    };
    constexpr std::uint8_t startLoading = 1;
    constexpr std::uint8_t loadCompleted = 2;

    dev.Add(objControlObject, PID_LOAD_STATE_CONTROL, PT_CONTROL, control(startLoading));
    loadControl(OBJ_ID_ADDR, startLoading);
    addressTable(mRiduDIV->genEibData(PT_UNSIGNED_INT, 0), false);
    loadControl(OBJ_ID_ADDR, loadCompleted);

    // One item per menu text, properties 202 on; a longer text is cut to what the gateway shows.
    SafeArray<TypMenuText> texts;
    ReadLanguageFile(texts);
    for (std::int32_t i = 0; i <= texts.ubound(); ++i) {
        dev.Add(objSprache, PID_APPLICATION_SPECIFIC_BASE + 1 + i, PT_UNSIGNED_CHAR,
                menuTextData(*mRiduDIV, texts(i).Text), false, true);
    }

    loadControl(OBJ_ID_ADDR, startLoading);
    clsTabs tabs;
    FillTabs(tabs);
    addressTable(tabs.AddrTab(), true);
    loadControl(OBJ_ID_ADDR, loadCompleted);
    loadControl(objControlObject, loadCompleted);
}

}  // namespace corlink
