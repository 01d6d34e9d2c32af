#include "config/sites_table.h"

#include <algorithm>
#include <map>

#include "config/compare.h"
#include "config/config_file.h"
#include "config/json.h"
#include "config/numbers_csv.h"
#include "config/partial.h"
#include "config/record_checks.h"

namespace zavi::config {

namespace {

constexpr std::size_t kMaxErrors = 20;

bool blank(char c) {
    return c == ' ' || c == '\t';
}

std::string trim(std::string_view s) {
    std::size_t a = 0, b = s.size();
    while (a < b && blank(s[a])) ++a;
    while (b > a && blank(s[b - 1])) --b;
    return std::string(s.substr(a, b - a));
}

struct Row {
    int line = 0;
    std::vector<std::string> cells;
    bool empty = true;
    bool unclosed = false;  // a quoted cell runs to the end of the text
};

// RFC 4180 rows with every cell. Unquoted cells lose the spaces around them; a quoted cell is
// kept as written and may span lines.
std::vector<Row> split_rows(std::string_view text, char separator) {
    std::vector<Row> rows;
    int line = 1;
    std::size_t i = 0;
    while (i < text.size()) {
        Row row;
        row.line = line;
        std::string cell;
        bool quoted = false, end_of_row = false;
        while (i < text.size() && !end_of_row) {
            const char c = text[i++];
            if (c == '"' && !quoted && trim(cell).empty()) {
                quoted = true;
                row.empty = false;
                cell.clear();
                for (;;) {
                    if (i >= text.size()) {
                        row.unclosed = true;
                        break;
                    }
                    const char q = text[i++];
                    if (q == '"' && i < text.size() && text[i] == '"') {
                        cell.push_back('"');
                        ++i;
                    } else if (q == '"') {
                        break;
                    } else {
                        line += q == '\n';
                        cell.push_back(q);
                    }
                }
            } else if (c == separator) {
                row.cells.push_back(quoted ? cell : trim(cell));
                cell.clear();
                quoted = false;
            } else if (c == '\n' || c == '\r') {
                if (c == '\r' && i < text.size() && text[i] == '\n') ++i;
                ++line;
                end_of_row = true;
            } else if (!quoted) {
                if (!blank(c)) row.empty = false;
                cell.push_back(c);
            }
        }
        row.cells.push_back(quoted ? cell : trim(cell));
        rows.push_back(std::move(row));
    }
    return rows;
}

// "io_names.in1_open" or "alarm_procedures[3].sms" as a JSON pointer; false for anything else.
bool pointer_of(const std::string& path, Json::json_pointer* out) {
    std::string pointer = "/";
    bool after_index = false;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (c == '.') {
            if (pointer.back() == '/') return false;
            pointer += '/';
            after_index = false;
        } else if (c == '[') {
            const std::size_t close = path.find(']', i);
            if (pointer.back() == '/' || close == std::string::npos || close == i + 1 ||
                close - i > 3)
                return false;
            const std::string digits = path.substr(i + 1, close - i - 1);
            if (!all_digits(digits)) return false;
            pointer += "/" + digits;
            i = close;
            after_index = true;
        } else if (!after_index && ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_')) {
            pointer += c;
        } else {
            return false;
        }
    }
    if (pointer.back() == '/') return false;
    *out = Json::json_pointer(pointer);
    return true;
}

// Where a column's cells go in the template's tree. "" or the reason it cannot be a column.
std::string column_problem(const std::string& name, const Json& tree) {
    const std::string record = name.substr(0, name.find_first_of(".["));
    Json::json_pointer pointer;
    if (!find_file_record(record) || !pointer_of(name, &pointer))
        return "unknown column (a site sets values of the configuration file, such as "
               "io_names.in1_open, accepted_numbers or sim_codes.pin)";
    if (!tree.contains(record)) return "the template holds no " + record;
    const Json* leaf = nullptr;
    try {
        leaf = &tree.at(pointer);
    } catch (const Json::exception&) {
        return "unknown column: the configuration file has no " + name;
    }
    if (leaf->is_object() || (leaf->is_array() && !is_number_list(name)))
        return "unknown column: " + name + " holds several values; name one of them";
    return "";
}

// A cell as the value its field takes: numbers separated by spaces for a number list, whole
// numbers and true/false as such. Anything else stays text, for the reader to refuse.
Json cell_value(const std::string& cell, const Json& leaf) {
    if (leaf.is_array()) {
        Json list = Json::array();
        std::size_t i = 0;
        while (i < cell.size()) {
            while (i < cell.size() && blank(cell[i])) ++i;
            const std::size_t start = i;
            while (i < cell.size() && !blank(cell[i])) ++i;
            if (i > start) list.push_back(cell.substr(start, i - start));
        }
        return list;
    }
    if (leaf.is_boolean() && (cell == "true" || cell == "false")) return cell == "true";
    if (leaf.is_number()) {
        const bool sign = !cell.empty() && cell[0] == '-';
        const std::string digits = cell.substr(sign ? 1 : 0);
        if (!digits.empty() && digits.size() <= 9 && all_digits(digits)) return std::stoll(cell);
    }
    return cell;
}

std::string parent(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    return dot == std::string::npos ? "" : path.substr(0, dot);
}

// The column a reader's complaint is about, among those the row set: the value itself, or for
// a rule between two values (thermometer1_high above thermometer1_low) one beside it.
std::string column_of(const std::string& path, const std::vector<std::string>& columns,
                      const std::vector<bool>& set) {
    for (std::size_t c = 1; c < columns.size(); ++c)
        if (set[c] && (path == columns[c] || path.starts_with(columns[c] + ".") ||
                       path.starts_with(columns[c] + "[")))
            return columns[c];
    for (std::size_t c = 1; c < columns.size(); ++c)
        if (set[c] && !parent(path).empty() && parent(columns[c]) == parent(path))
            return columns[c];
    return "";
}

}  // namespace

std::string describe(const SiteError& e, const std::string& file) {
    std::string out = file + ": ";
    if (e.row > 0) out += "row " + std::to_string(e.row) + (e.column.empty() ? ": " : ", ");
    if (!e.column.empty()) out += "column " + e.column + ": ";
    return out + e.message;
}

const Site* SitesTable::find(std::string_view label) const {
    for (const Site& s : sites)
        if (s.label == label) return &s;
    return nullptr;
}

bool SitesTable::sets(std::string_view key) const {
    for (std::size_t c = 1; c < columns.size(); ++c)
        if (columns[c].substr(0, columns[c].find_first_of(".[")) == key) return true;
    return false;
}

bool read_sites_table(std::string_view text, const Configuration& base, SitesTable* table,
                      std::vector<SiteError>* errors) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::vector<SiteError> found;
    const auto fail = [&](int row, std::string column, std::string message) {
        if (found.size() < kMaxErrors)
            found.push_back({row, std::move(column), std::move(message)});
    };
    std::vector<Row> rows = split_rows(text, detect_separator(text));
    rows.erase(std::remove_if(rows.begin(), rows.end(), [](const Row& r) { return r.empty; }),
               rows.end());
    SitesTable out;
    if (rows.empty() || rows[0].cells[0] != "site") {
        errors->push_back({rows.empty() ? 0 : rows[0].line, "",
                           "the first row must be the header, starting with the column site"});
        return false;
    }
    const Json tree = parse_json(configuration_to_json(base));
    out.columns = rows[0].cells;
    std::map<std::string, std::size_t> named;
    for (std::size_t c = 1; c < out.columns.size(); ++c) {
        const std::string& name = out.columns[c];
        if (!named.emplace(name, c).second)
            fail(rows[0].line, name, "the column is named twice");
        else if (const std::string why = column_problem(name, tree); !why.empty())
            fail(rows[0].line, name, why);
    }
    if (rows.size() == 1) fail(0, "", "the table holds no site");
    if (!found.empty()) {
        *errors = std::move(found);
        return false;
    }

    std::map<std::string, int> labels;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const Row& row = rows[r];
        if (row.unclosed) {
            fail(row.line, "", "a quoted cell is not closed");
            continue;
        }
        if (row.cells.size() != out.columns.size()) {
            fail(row.line, "",
                 "holds " + std::to_string(row.cells.size()) + " cells, the header " +
                     std::to_string(out.columns.size()));
            continue;
        }
        const std::string& label = row.cells[0];
        if (label.empty()) {
            fail(row.line, "site", "the site label is empty");
            continue;
        }
        if (const auto [it, fresh] = labels.emplace(label, row.line); !fresh) {
            fail(row.line, "site",
                 "site " + label + " is also in row " + std::to_string(it->second));
            continue;
        }
        // An empty cell keeps the template's value.
        Json site = tree;
        std::vector<bool> set(out.columns.size(), false);
        for (std::size_t c = 1; c < out.columns.size(); ++c) {
            if (row.cells[c].empty()) continue;
            Json::json_pointer pointer;
            pointer_of(out.columns[c], &pointer);
            site[pointer] = cell_value(row.cells[c], tree.at(pointer));
            set[c] = true;
        }
        Site s{row.line, label, {}};
        FileError error;
        std::vector<std::string> warnings;
        const std::string file_text = site.dump(-1, ' ', false, Json::error_handler_t::replace);
        if (!parse_configuration(file_text, &s.configuration, &error, &warnings)) {
            const std::string column = column_of(error.path, out.columns, set);
            fail(row.line, column,
                 column == error.path || error.path.empty() ? error.message
                                                            : error.path + ": " + error.message);
            continue;
        }
        out.sites.push_back(std::move(s));
    }
    if (!found.empty()) {
        *errors = std::move(found);
        return false;
    }
    *table = std::move(out);
    return true;
}

}  // namespace zavi::config
