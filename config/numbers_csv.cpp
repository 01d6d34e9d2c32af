#include "config/numbers_csv.h"

#include <algorithm>
#include <map>
#include <set>

namespace zavi::config {

namespace {

constexpr std::size_t kMinDigits = 11;
constexpr std::size_t kMaxDigits = 14;
constexpr std::size_t kListMax = 260;

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

struct Record {
    int line = 0;
    std::string first;
    int fields = 1;
    bool empty = true;  // an empty line, or one of spaces and tabs only
};

// RFC 4180 records; only the first field of each is kept. A quoted field may span lines.
std::vector<Record> split_records(std::string_view text, char separator) {
    std::vector<Record> out;
    int line = 1;
    std::size_t i = 0;
    while (i < text.size()) {
        Record r;
        r.line = line;
        int field = 0;
        bool in_quotes = false, quoted_field = false;
        while (i < text.size()) {
            const char c = text[i];
            if (in_quotes) {
                if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                    if (field == 0) r.first.push_back('"');
                    i += 2;
                    continue;
                }
                if (c == '"') {
                    in_quotes = false;
                } else {
                    if (c == '\n') ++line;
                    if (field == 0) r.first.push_back(c);
                }
                ++i;
                continue;
            }
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
                continue;
            }
            if (c == '\n' || c == '\r') {
                ++i;
                ++line;
                break;
            }
            if (!is_blank(c)) r.empty = false;
            if (c == separator) {
                ++field;
                ++r.fields;
            } else if (c == '"' && field == 0 && !quoted_field &&
                       r.first.find_first_not_of(" \t") == std::string::npos) {
                in_quotes = quoted_field = true;
                r.empty = false;
                r.first.clear();
            } else if (field == 0) {
                r.first.push_back(c);
            }
            ++i;
        }
        out.push_back(std::move(r));
    }
    return out;
}

bool is_letter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           static_cast<unsigned char>(c) >= 0x80;
}

// A first row is the header when its first column holds no telephone number: no digit at all
// ("Telefon"), or words with a digit ("Tel. 1"). A mistyped number with no letter ("+48 600 10")
// stays a row, so that the summary reports it rather than dropping it.
bool is_header(const std::string& first) {
    RowReason reason;
    if (!normalise_number(first, &reason).empty()) return false;
    return std::none_of(first.begin(), first.end(), is_digit) ||
           std::any_of(first.begin(), first.end(), is_letter);
}

struct SeparatorScore {
    int consistent = 0;  // lines split into the most common number of fields (above one)
    int numbers = 0;     // lines whose first field is a telephone number
    auto operator<=>(const SeparatorScore&) const = default;
};

SeparatorScore score(const std::vector<Record>& records) {
    std::map<int, int> by_fields;
    SeparatorScore s;
    for (const Record& r : records) {
        if (r.empty) continue;
        if (r.fields > 1) ++by_fields[r.fields];
        RowReason reason;
        if (!normalise_number(r.first, &reason).empty()) ++s.numbers;
    }
    for (const auto& [fields, lines] : by_fields) s.consistent = std::max(s.consistent, lines);
    return s;
}

}  // namespace

// The separator that splits the non-empty lines most consistently; between equals, the one
// that leaves more numbers in the first column. A single column is read with ','.
char detect_separator(std::string_view text) {
    char best = ',';
    SeparatorScore best_score;
    for (const char candidate : {',', ';', '\t'}) {
        const SeparatorScore s = score(split_records(text, candidate));
        if (s.consistent > 0 && best_score < s) best = candidate, best_score = s;
    }
    return best;
}

std::string export_numbers_csv(const std::vector<std::string>& numbers) {
    std::string out = "number\r\n";
    for (const auto& n : numbers) out += "+" + n + "\r\n";
    return out;
}

const char* reason_text(RowReason reason) {
    switch (reason) {
        case RowReason::none:
            return "";
        case RowReason::not_a_number:
            return "not a number";
        case RowReason::too_few_digits:
            return "fewer than 11 digits";
        case RowReason::too_many_digits:
            return "more than 14 digits";
        case RowReason::earlier_in_file:
            return "already earlier in the file";
        case RowReason::already_in_list:
            return "already in the list";
    }
    return "";
}

std::string normalise_number(std::string_view field, RowReason* reason) {
    std::string s;
    for (const char c : field)
        if (c != ' ' && c != '-' && c != '.' && c != '(' && c != ')' && c != '\t') s.push_back(c);
    if (!s.empty() && s[0] == '+')
        s.erase(0, 1);
    else if (s.size() >= 2 && s[0] == '0' && s[1] == '0')
        s.erase(0, 2);
    *reason = RowReason::none;
    if (s.empty() || !std::all_of(s.begin(), s.end(), is_digit))
        *reason = RowReason::not_a_number;
    else if (s.size() < kMinDigits)
        *reason = RowReason::too_few_digits;
    else if (s.size() > kMaxDigits)
        *reason = RowReason::too_many_digits;
    return *reason == RowReason::none ? s : "";
}

std::string normalise_number(std::string_view field, std::string* reason) {
    RowReason code;
    std::string number = normalise_number(field, &code);
    if (code != RowReason::none) *reason = reason_text(code);
    return number;
}

ImportReport import_numbers_csv(std::string_view text, const std::vector<std::string>& current,
                                ImportMode mode) {
    ImportReport report;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    report.separator = detect_separator(text);
    std::vector<Record> records = split_records(text, report.separator);

    std::set<std::string> in_list;
    if (mode == ImportMode::add) in_list.insert(current.begin(), current.end());
    std::set<std::string> in_file;
    bool first = true;
    for (const Record& r : records) {
        if (r.empty) continue;
        if (first) {
            first = false;
            if (is_header(r.first)) {
                report.header = true;
                continue;
            }
        }
        ++report.rows;
        RowReason reason;
        const std::string number = normalise_number(r.first, &reason);
        const auto row = [&](const std::string& digits, RowReason code) {
            return CsvRow{r.line, digits, reason_text(code), code};
        };
        if (number.empty()) {
            report.rejected.push_back(row("", reason));
        } else if (in_file.count(number)) {
            report.duplicates.push_back(row(number, RowReason::earlier_in_file));
        } else if (in_list.count(number)) {
            in_file.insert(number);
            report.duplicates.push_back(row(number, RowReason::already_in_list));
        } else {
            in_file.insert(number);
            report.valid.push_back(row(number, RowReason::none));
        }
    }
    report.result_size = report.valid.size() + (mode == ImportMode::add ? current.size() : 0);
    report.fits = report.result_size <= kListMax;
    return report;
}

std::vector<std::string> apply_import(const ImportReport& report,
                                      const std::vector<std::string>& current, ImportMode mode) {
    std::vector<std::string> out;
    if (mode == ImportMode::add) out = current;
    for (const CsvRow& row : report.valid) out.push_back(row.number);
    return out;
}

std::vector<std::string> describe_import(const ImportReport& report) {
    // In file order, whatever became of each row.
    std::vector<std::pair<int, std::string>> rows;
    for (const CsvRow& r : report.valid) rows.emplace_back(r.line, "valid +" + r.number);
    for (const CsvRow& r : report.duplicates)
        rows.emplace_back(r.line, "duplicate +" + r.number + " (" + r.reason + ")");
    for (const CsvRow& r : report.rejected) rows.emplace_back(r.line, "rejected: " + r.reason);
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> lines;
    for (const auto& [line, text] : rows)
        lines.push_back("line " + std::to_string(line) + ": " + text);
    lines.push_back(std::to_string(report.rows) + " rows: " + std::to_string(report.valid.size()) +
                    " valid, " + std::to_string(report.duplicates.size()) + " duplicate, " +
                    std::to_string(report.rejected.size()) + " rejected; the list would hold " +
                    std::to_string(report.result_size) + " of 260 numbers" +
                    (report.fits ? "" : " (too many)"));
    return lines;
}

}  // namespace zavi::config
