// The accepted telephone numbers as CSV: export, and an import that first reports row by row
// what it would do.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zavi::config {

// "number" then "+digits" for each number, CRLF after every line, no BOM.
std::string export_numbers_csv(const std::vector<std::string>& numbers);

enum class ImportMode : uint8_t { add, replace };

// Why a row was not taken; the program words each in the user's language.
enum class RowReason : uint8_t {
    none,
    not_a_number,
    too_few_digits,   // fewer than 11
    too_many_digits,  // more than 14
    earlier_in_file,  // a duplicate
    already_in_list,  // a duplicate (adding)
};

// The English words of `reason`, as the command line prints them.
const char* reason_text(RowReason reason);

struct CsvRow {
    int line = 0;        // from 1, in the file
    std::string number;  // the digits, for valid and duplicate rows
    std::string reason;  // duplicates and rejected rows: reason_text(code)
    RowReason code = RowReason::none;
};

struct ImportReport {
    std::vector<CsvRow> valid;
    std::vector<CsvRow> duplicates;  // within the file, or (adding) already in the list
    std::vector<CsvRow> rejected;
    int rows = 0;          // rows read; the header and empty or whitespace-only lines not counted
    bool header = false;   // the first row was taken as a header
    char separator = ',';  // ',' ';' or '\t'
    std::size_t result_size = 0;
    bool fits = true;  // the list after applying holds at most 260 numbers
};

// Reads the first column of `text`. The separator is the one of ',' ';' and tab that splits
// the non-empty lines most consistently (the same number of fields); a first non-empty row
// with no telephone number in its first column (no digit, or words) is the header. With `add` the
// numbers already in `current` are duplicates; with `replace` the current list does not matter.
ImportReport import_numbers_csv(std::string_view text, const std::vector<std::string>& current,
                                ImportMode mode);

// The list after applying: the valid numbers after `current` (add) or alone (replace).
std::vector<std::string> apply_import(const ImportReport& report,
                                      const std::vector<std::string>& current, ImportMode mode);

// The one of ',' ';' and tab that splits the non-empty lines of `text` most consistently.
char detect_separator(std::string_view text);

// One text line per row of the report, then a summary line.
std::vector<std::string> describe_import(const ImportReport& report);

// A number as an installer types it, to digits: spaces, dashes, dots and parentheses are
// dropped, and so is a leading "+" or "00". Empty with *reason set when it is no telephone
// number of 11 to 14 digits.
std::string normalise_number(std::string_view field, std::string* reason);
std::string normalise_number(std::string_view field, RowReason* reason);

}  // namespace zavi::config
