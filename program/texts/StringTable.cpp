#include "StringTable.h"

#include "ModDefinition.h"
#include "automation_error.h"
#include "variant.h"

#include <map>
#include <sstream>

namespace corvane {

namespace detail {
extern const char* const kStringTableData;
}

namespace {

std::string unescape(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 1 < field.size()) {
            const char c = field[++i];
            out += c == 'n' ? '\n' : c == 't' ? '\t' : c;
        } else {
            out += field[i];
        }
    }
    return out;
}

// strings.tsv: "id<TAB>German<TAB>English<TAB>Italian<TAB>Spanish<TAB>French" per line; lines
// starting with '#' and empty lines are skipped; \n, \t and \\ are escapes. Language k's text
// of id n is entry n + 1000 * k. An empty field means the table has no text there.
std::map<std::int32_t, std::string> parseTable() {
    std::map<std::int32_t, std::string> table;
    std::istringstream in(detail::kStringTableData);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (;;) {
            const std::size_t tab = line.find('\t', start);
            fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        const std::int32_t id = std::stoi(fields[0]);
        for (std::size_t k = 1; k < fields.size() && k <= 5; ++k) {
            if (!fields[k].empty()) table[id + 1000 * static_cast<std::int32_t>(k - 1)] = unescape(fields[k]);
        }
    }
    return table;
}

const std::map<std::int32_t, std::string>& table() {
    static const std::map<std::int32_t, std::string> t = parseTable();
    return t;
}

}  // namespace

bool HasResString(std::int32_t id) { return table().count(id) != 0; }

std::string LoadResString(std::int32_t id) {
    const auto it = table().find(id);
    if (it == table().end()) {
        automation::raise(errResourceNotFound, "Corvane",
                          "Resource with identifier '" + std::to_string(id) + "' not found");
    }
    return it->second;
}

std::string Text(std::int32_t id) {
    return LoadResString(automation::toInteger(static_cast<double>(id) + LanguageOffset));
}

}  // namespace corvane
