// Every record of the configuration as one row: its name and titles, its read and write
// commands, the way between the device records and the value, its comparison, and its key of
// the configuration file with that key's reader, writer and rules. Adding a field to a record
// means changing its struct and its row's functions, nothing else.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "common/three_languages.h"
#include "config/config_file.h"
#include "config/configuration.h"
#include "config/json.h"
#include "link/driver.h"
#include "link/result.h"

namespace zavi::config {

struct RecordTitle {
    Texts name;
    const char* polish_genitive;  // after "Odczyt", "Zapis", "Sprawdzanie"
};

struct RecordRow {
    const char* name;  // as the command line and the logs name it
    RecordTitle title;
    // One frame each way; null for the accepted numbers, which go block by block.
    LinkResult (*read)(DriverHandle);
    LinkResult (*write)(DriverHandle);
    // Read, written and kept in a file only when asked for (the SIM codes): a file may leave it
    // out, and a configuration holds it when it has a value.
    bool on_request;
    // From the device records as the last read left them, and back for the write command.
    void (*to_value)(Configuration* out);
    void (*from_value)(const Configuration& cfg);
    bool (*equal)(const Configuration& a, const Configuration& b);
    void (*copy)(const Configuration& from, Configuration* to);
    // Its key of the file, or null when the row before holds it in its key (the I/O names).
    const char* file_key;
    // Throws Bad with a JSON path; `value` is the key's value, `path` the key.
    void (*from_json)(const Json& value, const std::string& path, Configuration* out);
    // A null JSON value leaves the key out.
    Json (*to_json)(const Configuration& cfg);
    // The rules of check_configuration for this key; null when it has none.
    void (*check)(const Configuration& cfg, const char* path, std::vector<FileError>* out);
};

// The row of `record` (which must be one of the enum's values).
const RecordRow& record_row(Record record);

// The records that have a file key, in the file's order.
std::span<const Record> file_order();

}  // namespace zavi::config
