// Partial configuration files (templates): `"partial": true` lets a file leave out whole
// records. The file's record keys map onto the records a restore writes.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/config_file.h"
#include "config/configuration.h"
#include "config/json.h"

namespace zavi::config {

// One top-level key of the file and the records it holds (io_names holds two).
struct FileRecord {
    const char* key;
    Record first;
    Record last;
};
std::span<const FileRecord> file_records();

// The file record named `key`, or null.
const FileRecord* find_file_record(std::string_view key);

// The file keys as one text: "alarm_settings, alarm_procedures, ...".
std::string file_record_names();

// Called on the parsed file before it is read. A file with "partial": true gets the records
// it leaves out filled with neutral values so that the reader finds them, and *shape says
// which are held; "partial" itself is taken out. A non-boolean "partial" is refused with *error
// set.
bool open_partial(Json* root, Configuration* shape, FileError* error);

// Takes the records `cfg` does not hold out of its file text tree.
void drop_records_not_held(const Configuration& cfg, Json* root);

// The partial configuration holding the file records named in `keys` of `full`. False with
// *error when a name is unknown, or names a record `full` does not hold.
bool make_template(const Configuration& full, const std::vector<std::string>& keys,
                   Configuration* out, std::string* error);

}  // namespace zavi::config
