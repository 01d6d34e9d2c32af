// Sites tables: one row per site with the values that differ from a template. CSV as the
// number import reads it (',' ';' or tab, found the same way), a header row first: column
// "site" holds the label, the other columns are named by the configuration file's paths
// ("io_names.in1_open", "sim_codes.pin", "accepted_numbers" with numbers separated by spaces).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/configuration.h"

namespace zavi::config {

// One problem of the table. `row` is the line in the file (the header is 1), 0 for the table
// as a whole; `column` the header's name of the cell's column, or "".
struct SiteError {
    int row = 0;
    std::string column;
    std::string message;
};

// "SITES.csv: row 3, column sim_codes.pin: must be 4 digits or null".
std::string describe(const SiteError& error, const std::string& file);

struct Site {
    int row = 0;
    std::string label;
    Configuration configuration;  // the template with the row's values
};

struct SitesTable {
    std::vector<std::string> columns;  // the header, "site" first
    std::vector<Site> sites;           // in table order

    const Site* find(std::string_view label) const;
    // True when a column sets a value of the file record `key` ("sim_codes").
    bool sets(std::string_view key) const;
};

// Reads the whole table and checks every row against `base`, each cell as the file's field
// would be checked. All-or-nothing: any problem (a bad cell, an unknown column, a column for a
// record `base` does not hold, a duplicate or empty site) leaves *table alone and lists the
// problems (at most 20).
bool read_sites_table(std::string_view text, const Configuration& base, SitesTable* table,
                      std::vector<SiteError>* errors);

}  // namespace zavi::config
