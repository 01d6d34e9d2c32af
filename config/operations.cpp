#include "config/operations.h"

#include <algorithm>

#include "config/record_values.h"
#include "link/config_commands.h"
#include "link/connection.h"
#include "link/io_name_commands.h"
#include "link/phone_commands.h"
#include "link/records.h"
#include "link/status_commands.h"

namespace zavi::config {

namespace {

void tell(const Progress& progress, Step step, Record record, int block = 1, int blocks = 1) {
    if (progress) progress({step, record, block, blocks});
}

constexpr int kBlocks = static_cast<int>(kAcceptedBlockCount);

// Blocks until one holds fewer than 36 numbers, as the program's own read does.
LinkResult read_accepted_list(DriverHandle handle, Step step, const Progress& progress) {
    uint16_t total = 0;
    for (int block = 0; block < kBlocks; ++block) {
        tell(progress, step, Record::accepted_numbers, block + 1, kBlocks);
        uint8_t count = 0;
        const LinkResult result = read_accepted_block(handle, static_cast<uint8_t>(block), &count);
        if (result != kOk) return result;
        total = static_cast<uint16_t>(total + count);
        if (count < kAcceptedBlockSize) break;
    }
    accepted_count = total;
    return kOk;
}

// Every block, the ones past the list with count 0 so that the module drops what it held
// there, under the long read time-out the module needs for them; the usual one is back after.
LinkResult write_accepted_list(DriverHandle handle, const Progress& progress) {
    set_link_timeouts(handle, kLongReadTimeoutMs, kWriteTimeoutMs);
    std::size_t remaining = std::min<std::size_t>(accepted_count, kAcceptedCapacity);
    LinkResult result = kOk;
    for (int block = 0; block < kBlocks && result == kOk; ++block) {
        tell(progress, Step::writing, Record::accepted_numbers, block + 1, kBlocks);
        const std::size_t count = std::min(remaining, kAcceptedBlockSize);
        result =
            write_accepted_block(handle, static_cast<uint8_t>(block), static_cast<uint8_t>(count));
        remaining -= count;
    }
    set_link_timeouts(handle, kReadTimeoutMs, kWriteTimeoutMs);
    return result;
}

LinkResult read_step(DriverHandle handle, Record record, Step step, const Progress& progress) {
    if (record == Record::accepted_numbers) return read_accepted_list(handle, step, progress);
    tell(progress, step, record);
    switch (record) {
        case Record::alarm_settings:
            return read_alarm_settings(handle);
        case Record::alarm_procedures:
            return read_actions(handle);
        case Record::call_answer:
            return read_call_answer(handle);
        case Record::auto_status:
            return read_auto_status(handle);
        case Record::auto_reset:
            return read_auto_reset(handle);
        case Record::accept_all:
            return read_accept_all(handle);
        case Record::emergency_numbers:
            return read_emergency_numbers(handle);
        case Record::io_names_first:
            return read_io_names(handle, 0);
        case Record::io_names_second:
            return read_io_names(handle, 1);
        case Record::sim_codes:
            return read_sim_codes(handle);
        case Record::accepted_numbers:
            break;
    }
    return kFailed;
}

// The records of a backup in reading order: the same order as a restore writes them.
std::vector<Record> all_records(bool with_sim_codes, const RecordSet& held = RecordSet().set()) {
    std::vector<Record> out;
    for (std::size_t i = 0; i < kRecordCount; ++i) {
        const auto r = static_cast<Record>(i);
        if ((r != Record::sim_codes || with_sim_codes) && held[i]) out.push_back(r);
    }
    return out;
}

}  // namespace

LinkResult read_record(DriverHandle handle, Record record, const Progress& progress) {
    return read_step(handle, record, Step::reading, progress);
}

LinkResult write_record(DriverHandle handle, Record record, const Configuration& cfg,
                        const Progress& progress) {
    apply_record(record, cfg);
    if (record == Record::accepted_numbers) return write_accepted_list(handle, progress);
    tell(progress, Step::writing, record);
    switch (record) {
        case Record::alarm_settings:
            return write_alarm_settings(handle);
        case Record::alarm_procedures:
            return write_actions(handle);
        case Record::call_answer:
            return write_call_answer(handle);
        case Record::auto_status:
            return write_auto_status(handle);
        case Record::auto_reset:
            return write_auto_reset(handle);
        case Record::accept_all:
            return write_accept_all(handle);
        case Record::emergency_numbers:
            return write_emergency_numbers(handle);
        case Record::io_names_first:
            return write_io_names(handle, 0);
        case Record::io_names_second:
            return write_io_names(handle, 1);
        case Record::sim_codes:
            return write_sim_codes(handle);
        case Record::accepted_numbers:
            break;
    }
    return kFailed;
}

LinkResult read_held_records(DriverHandle handle, const Configuration& shape, bool with_sim_codes,
                             const Progress& progress, Configuration* out, Record* failed) {
    for (const Record record : all_records(with_sim_codes, shape.held)) {
        const LinkResult result = read_step(handle, record, Step::reading, progress);
        if (result != kOk) {
            if (failed) *failed = record;
            return result;
        }
    }
    *out = capture_records(with_sim_codes);
    out->partial = shape.partial;
    out->held = shape.held;
    return kOk;
}

LinkResult read_configuration(DriverHandle handle, bool with_sim_codes, const Progress& progress,
                              Configuration* out, Record* failed) {
    return read_held_records(handle, Configuration{}, with_sim_codes, progress, out, failed);
}

RestoreReport restore_configuration(DriverHandle handle, const Configuration& file_cfg,
                                    const RestoreOptions& options, const Progress& progress) {
    RestoreReport report;
    Configuration file = file_cfg;
    const bool with_sim = options.with_sim_codes && file.sim_codes.has_value();
    if (!with_sim) file.sim_codes.reset();

    Configuration module;
    if (read_held_records(handle, file, with_sim, progress, &module, &report.failed) != kOk) {
        report.outcome = RestoreOutcome::read_failed;
        return report;
    }
    report.module_before = module;
    report.planned = differing_records(module, file);
    if (report.planned.empty()) {
        report.outcome = RestoreOutcome::already_equal;
        return report;
    }
    if (options.dry_run) {
        report.outcome = RestoreOutcome::planned;
        return report;
    }
    if (options.save_backup) {
        Configuration before = module;
        before.saved_at = file.saved_at;  // the caller puts in the real time
        if (!options.save_backup(before, &report.backup_path, &report.backup_error)) {
            report.outcome = RestoreOutcome::backup_failed;
            return report;
        }
    }

    for (std::size_t i = 0; i < report.planned.size(); ++i) {
        const Record record = report.planned[i];
        if (write_record(handle, record, file, progress) != kOk) {
            report.outcome = RestoreOutcome::write_failed;
            report.failed = record;
            report.not_written.assign(report.planned.begin() + static_cast<long>(i),
                                      report.planned.end());
            return report;
        }
        report.written.push_back(record);
    }

    // Read back only what was written; the rest was just read and matched already.
    for (const Record record : report.written) {
        if (read_step(handle, record, Step::verifying, progress) != kOk)
            report.unreadable.push_back(record);
        else if (!record_equal(record, capture_records(with_sim), file))
            report.mismatched.push_back(record);
    }
    if (!report.mismatched.empty())
        report.outcome = RestoreOutcome::verify_failed;
    else if (!report.unreadable.empty())
        report.outcome = RestoreOutcome::verify_unreadable;
    else
        report.outcome = RestoreOutcome::verified;
    return report;
}

}  // namespace zavi::config
