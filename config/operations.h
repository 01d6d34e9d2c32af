// Backup, compare and restore against the open module, built on the link commands. No user
// interface in here: what happens is told through a progress callback and the result values,
// so a worker thread can run them while the window shows the steps.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "config/configuration.h"
#include "link/driver.h"
#include "link/result.h"

namespace zavi::config {

enum class Step : uint8_t { reading, writing, verifying };

// "Reading accepted_numbers (block 3 of 8)": block and blocks are 1 and 1 for a record sent in
// one frame. The accepted list reports up to 8 blocks; its read may end early.
struct ProgressEvent {
    Step step = Step::reading;
    Record record = Record::alarm_settings;
    int block = 1;
    int blocks = 1;
};
using Progress = std::function<void(const ProgressEvent&)>;

// Reads every record of the configuration (SIM codes only when asked) and captures it.
// kOk, or the failing command's result with *failed naming the record; *out is then left alone.
LinkResult read_configuration(DriverHandle handle, bool with_sim_codes, const Progress& progress,
                              Configuration* out, Record* failed);

// The same for the records `shape` holds alone (a partial file's); the others are not read.
// *out holds `shape`'s records and says so (partial, held).
LinkResult read_held_records(DriverHandle handle, const Configuration& shape, bool with_sim_codes,
                             const Progress& progress, Configuration* out, Record* failed);

// One record: its read, or its write from `cfg` (the device record is set first).
LinkResult read_record(DriverHandle handle, Record record, const Progress& progress);
LinkResult write_record(DriverHandle handle, Record record, const Configuration& cfg,
                        const Progress& progress);

// Saves the module's configuration before a restore writes over it. True with the full path
// in *path, or false with the reason in *error.
using SaveBackup =
    std::function<bool(const Configuration& module, std::string* path, std::string* error)>;

struct RestoreOptions {
    bool with_sim_codes = false;  // write the file's SIM codes too (the file must hold them)
    bool dry_run = false;         // read and plan only
    SaveBackup save_backup;       // not called when nothing differs or in a dry run
};

enum class RestoreOutcome : uint8_t {
    already_equal,      // nothing differed, nothing written
    planned,            // dry run: `planned` says what would be written
    verified,           // written and read back equal
    read_failed,        // the first read failed: nothing written
    backup_failed,      // the automatic backup could not be saved: nothing written
    write_failed,       // `failed` was not acknowledged; `written` went out, `not_written` did not
    verify_failed,      // every write acknowledged; `mismatched` read back different
    verify_unreadable,  // every write acknowledged; reading back `unreadable` failed
};

struct RestoreReport {
    RestoreOutcome outcome = RestoreOutcome::already_equal;
    Configuration module_before;  // what the module held (when the first read succeeded)
    std::vector<Record> planned;
    std::vector<Record> written;
    std::vector<Record> not_written;
    std::vector<Record> mismatched;
    std::vector<Record> unreadable;
    Record failed = Record::alarm_settings;
    std::string backup_path;
    std::string backup_error;
};

// Reads the module, saves the automatic backup if anything differs, writes only the records
// that differ, stops at the first failed write, and reads back what was written.
RestoreReport restore_configuration(DriverHandle handle, const Configuration& file,
                                    const RestoreOptions& options, const Progress& progress);

}  // namespace zavi::config
