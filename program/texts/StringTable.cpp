#include "StringTable.h"

#include "Languages.h"
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

// strings.tsv: the id, then one column per language (its Column in Languages.h), tab-separated; lines starting with '#'
// and empty lines are skipped; \n, \t and \\ are escapes. A language's text of id n, from its column, is entry n + its
// offset. An empty or missing field means the table has no text there.
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
        for (const Language& language : kLanguages) {
            const auto column = static_cast<std::size_t>(language.Column);
            if (column < fields.size() && !fields[column].empty()) {
                table[id + language.Offset] = unescape(fields[column]);
            }
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
