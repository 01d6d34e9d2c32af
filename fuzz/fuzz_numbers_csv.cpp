// Fuzzes the CSV number import. Every row read is valid, duplicate or rejected exactly once;
// valid numbers are 11-14 digits, unique and new to the list; the applied list has the size
// the report promised; an export of the valid numbers imports back to the same numbers.
#include <set>
#include <string>

#include "config/numbers_csv.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace zavi::config;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> current = {"48600100200", "4915112345678"};
    for (const ImportMode mode : {ImportMode::add, ImportMode::replace}) {
        const ImportReport r = import_numbers_csv(text, current, mode);
        FUZZ_CHECK(r.valid.size() + r.duplicates.size() + r.rejected.size() ==
                       static_cast<std::size_t>(r.rows),
                   "the report's counts add up to the rows read");
        std::set<std::string> seen;
        if (mode == ImportMode::add) seen.insert(current.begin(), current.end());
        std::vector<std::string> valid;
        for (const CsvRow& row : r.valid) {
            FUZZ_CHECK(row.number.size() >= 11 && row.number.size() <= 14, "11 to 14 digits");
            FUZZ_CHECK(row.number.find_first_not_of("0123456789") == std::string::npos,
                       "digits only");
            FUZZ_CHECK(seen.insert(row.number).second, "no valid number twice or already listed");
            FUZZ_CHECK(row.line >= 1, "lines count from 1");
            valid.push_back(row.number);
        }
        for (const CsvRow& row : r.rejected)
            FUZZ_CHECK(!row.reason.empty(), "a rejection says why");
        const std::vector<std::string> applied = apply_import(r, current, mode);
        FUZZ_CHECK(applied.size() == r.result_size, "the applied list has the promised size");
        FUZZ_CHECK(r.fits == (applied.size() <= 260), "fits means at most 260");

        const ImportReport back =
            import_numbers_csv(export_numbers_csv(valid), {}, ImportMode::replace);
        std::vector<std::string> again;
        for (const CsvRow& row : back.valid) again.push_back(row.number);
        FUZZ_CHECK(again == valid && back.header && back.rejected.empty(),
                   "an export of the valid numbers imports back the same");
    }
    return 0;
}
