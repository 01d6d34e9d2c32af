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

// One record's read.
LinkResult read_record(DriverHandle handle, Record record, const Progress& progress);

// Saves the module's configuration before a restore writes over it. True with the full path
// in *path, or false with the reason in *error.
using SaveBackup =
    std::function<bool(const Configuration& module, std::string* path, std::string* error)>;

struct RestoreOptions {
    bool with_sim_codes = false;  // write the file's SIM codes too (the file must hold them)
    bool dry_run = false;         // read and plan only
    SaveBackup save_backup;       // not called when nothing differs or in a dry run
    // What a read just made found in the module (with the SIM codes when with_sim_codes): the
    // restore plans from it and reads nothing first. Null: the restore reads the module itself.
    const Configuration* module_now = nullptr;
    // Asked before every frame; true sends nothing more (the frame in flight has finished).
    std::function<bool()> stop;
};

enum class RestoreOutcome : uint8_t {
    already_equal,      // nothing differed, nothing written
    planned,            // dry run: `planned` says what would be written
    verified,           // written and read back equal
    read_failed,        // the first read failed: nothing written
    backup_failed,      // the automatic backup could not be saved: nothing written
    write_failed,       // `failed` was not acknowledged; `writes` tells each record exactly
    verify_failed,      // every write acknowledged; `mismatched` read back different
    verify_unreadable,  // every write acknowledged; reading back `unreadable` failed
    interrupted,        // `stop` said so; `writes` tells what went out before
};

// How far one record's write got. A frame sent without an acknowledgement may or may not be
// stored, so it is never counted as not written.
enum class WriteState : uint8_t {
    written,         // every frame acknowledged
    partly_written,  // the first `acknowledged` of `blocks` frames acknowledged, no more
    unknown,         // its first frame went out without an acknowledgement
    not_written,     // nothing of it was sent
};

struct RecordWrite {
    Record record = Record::alarm_settings;
    WriteState state = WriteState::not_written;
    int blocks = 1;           // frames its write takes (8 for the accepted numbers)
    int acknowledged = 0;     // frames acknowledged, counted from the first
    bool unanswered = false;  // frame acknowledged + 1 went out without an acknowledgement
    bool operator==(const RecordWrite&) const = default;
};

// What the one read of the failed record after a failed write found.
enum class HeldNow : uint8_t {
    not_read,        // no failed write, or stopped (nothing is sent after a stop)
    unreadable,      // the module did not answer that read either
    file_value,      // it holds what the file says
    previous_value,  // it still holds what it held before
    other_value,     // neither (a number list cut off part way, say)
};

struct RestoreReport {
    RestoreOutcome outcome = RestoreOutcome::already_equal;
    Configuration module_before;  // what the module held (when the first read succeeded)
    std::vector<Record> planned;
    std::vector<Record> written;      // acknowledged whole
    std::vector<Record> not_written;  // not acknowledged: the failed record and all after it
    std::vector<Record> mismatched;
    std::vector<Record> unreadable;
    std::vector<Record> unchecked;  // interrupted while reading back: written, not read back
    Record failed = Record::alarm_settings;
    std::vector<RecordWrite> writes;       // one per planned record once writing began
    HeldNow held_now = HeldNow::not_read;  // the failed record, read back once after the failure
    std::size_t numbers_now = 0;           // accepted numbers read back, when that list failed
    // A partly written number list whose acknowledged blocks hold every number of the file:
    // only the empty blocks after them were not sent, and the module's list reads whole.
    bool numbers_all_in = false;
    std::string backup_path;
    std::string backup_error;
};

// Reads the module (unless options.module_now holds it), saves the automatic backup if
// anything differs, writes only the records that differ, stops at the first failed write (and
// then reads that record back once), and reads back what was written.
RestoreReport restore_configuration(DriverHandle handle, const Configuration& file,
                                    const RestoreOptions& options, const Progress& progress);

}  // namespace zavi::config
