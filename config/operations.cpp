#include "config/operations.h"

#include <algorithm>

#include "config/record_table.h"
#include "config/record_values.h"
#include "link/connection.h"
#include "link/phone_commands.h"
#include "link/records.h"

namespace zavi::config {

namespace {

void tell(const Progress& progress, Step step, Record record, int block = 1, int blocks = 1) {
    if (progress) progress({step, record, block, blocks});
}

constexpr int kBlocks = static_cast<int>(kAcceptedBlockCount);

using Stop = std::function<bool()>;

bool stopping(const Stop& stop) {
    return stop && stop();
}

// Blocks until one holds fewer than 36 numbers, as the program's own read does. A stop between
// blocks gives kFailed with *stopped set.
LinkResult read_accepted_list(DriverHandle handle, Step step, const Progress& progress,
                              const Stop& stop = {}, bool* stopped = nullptr) {
    uint16_t total = 0;
    for (int block = 0; block < kBlocks; ++block) {
        if (block > 0 && stopping(stop)) {
            if (stopped) *stopped = true;
            return kFailed;
        }
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
// The blocks acknowledged go to *acknowledged; a stop between blocks sets *stopped.
LinkResult write_accepted_list(DriverHandle handle, const Progress& progress, const Stop& stop,
                               int* acknowledged, bool* stopped) {
    set_link_timeouts(handle, kLongReadTimeoutMs, kWriteTimeoutMs);
    std::size_t remaining = std::min<std::size_t>(accepted_count, kAcceptedCapacity);
    LinkResult result = kOk;
    for (int block = 0; block < kBlocks && result == kOk; ++block) {
        if (block > 0 && stopping(stop)) {
            *stopped = true;
            break;
        }
        tell(progress, Step::writing, Record::accepted_numbers, block + 1, kBlocks);
        const std::size_t count = std::min(remaining, kAcceptedBlockSize);
        result =
            write_accepted_block(handle, static_cast<uint8_t>(block), static_cast<uint8_t>(count));
        if (result == kOk) ++*acknowledged;
        remaining -= count;
    }
    set_link_timeouts(handle, kReadTimeoutMs, kWriteTimeoutMs);
    return result;
}

LinkResult read_step(DriverHandle handle, Record record, Step step, const Progress& progress,
                     const Stop& stop = {}, bool* stopped = nullptr) {
    if (record == Record::accepted_numbers)
        return read_accepted_list(handle, step, progress, stop, stopped);
    tell(progress, step, record);
    return record_row(record).read(handle);
}

// The records of a backup in reading order: the same order as a restore writes them.
std::vector<Record> all_records(bool with_sim_codes, const RecordSet& held = RecordSet().set()) {
    std::vector<Record> out;
    for (std::size_t i = 0; i < kRecordCount; ++i) {
        const auto r = static_cast<Record>(i);
        if ((!record_row(r).on_request || with_sim_codes) && held[i]) out.push_back(r);
    }
    return out;
}

// Writes one record and says how far it got. *stopped when `stop` ended it between frames.
RecordWrite write_tracked(DriverHandle handle, Record record, const Configuration& cfg,
                          const Progress& progress, const Stop& stop, bool* stopped) {
    RecordWrite w;
    w.record = record;
    apply_record(record, cfg);
    LinkResult result = kOk;
    if (record == Record::accepted_numbers) {
        w.blocks = kBlocks;
        result = write_accepted_list(handle, progress, stop, &w.acknowledged, stopped);
    } else {
        tell(progress, Step::writing, record);
        result = record_row(record).write(handle);
        if (result == kOk) w.acknowledged = 1;
    }
    // A failed frame was sent (or partly sent) and may be stored; one after a stop was not.
    w.unanswered = result != kOk;
    if (w.acknowledged == w.blocks)
        w.state = WriteState::written;
    else if (w.acknowledged > 0)
        w.state = WriteState::partly_written;
    else
        w.state = w.unanswered ? WriteState::unknown : WriteState::not_written;
    return w;
}

// The read of a restore (the records `file` holds), with a stop looked at before every record
// and block.
LinkResult read_for_restore(DriverHandle handle, const Configuration& file, bool with_sim,
                            const Progress& progress, const Stop& stop, Configuration* out,
                            Record* failed, bool* stopped) {
    for (const Record record : all_records(with_sim, file.held)) {
        if (stopping(stop)) {
            *stopped = true;
            return kFailed;
        }
        const LinkResult result = read_step(handle, record, Step::reading, progress, stop, stopped);
        if (result != kOk) {
            *failed = record;
            return result;
        }
    }
    *out = capture_records(with_sim);
    out->partial = file.partial;
    out->held = file.held;
    return kOk;
}

// After a failed write: one read of that record, compared with the file and with before.
// Not shown as a step of its own: the failed write stays the last one the user saw.
void read_back_failed(DriverHandle handle, const Configuration& file, bool with_sim,
                      RestoreReport* report) {
    const Record record = report->failed;
    if (read_step(handle, record, Step::verifying, {}) != kOk) {
        report->held_now = HeldNow::unreadable;
        return;
    }
    const Configuration now = capture_records(with_sim);
    if (record == Record::accepted_numbers) report->numbers_now = now.accepted_numbers.size();
    if (record_equal(record, now, file))
        report->held_now = HeldNow::file_value;
    else if (record_equal(record, now, report->module_before))
        report->held_now = HeldNow::previous_value;
    else
        report->held_now = HeldNow::other_value;
}

}  // namespace

LinkResult read_record(DriverHandle handle, Record record, const Progress& progress) {
    return read_step(handle, record, Step::reading, progress);
}

LinkResult read_held_records(DriverHandle handle, const Configuration& shape, bool with_sim_codes,
                             const Progress& progress, Configuration* out, Record* failed) {
    Record ignored{};
    bool stopped = false;
    return read_for_restore(handle, shape, with_sim_codes, progress, {}, out,
                            failed ? failed : &ignored, &stopped);
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
    const Stop& stop = options.stop;
    bool stopped = false;
    const auto end = [&report](RestoreOutcome outcome) {
        report.outcome = outcome;
        return report;
    };

    Configuration module;
    if (options.module_now) {
        module = *options.module_now;
        if (!with_sim) module.sim_codes.reset();
    } else if (read_for_restore(handle, file, with_sim, progress, stop, &module, &report.failed,
                                &stopped) != kOk) {
        return end(stopped ? RestoreOutcome::interrupted : RestoreOutcome::read_failed);
    }
    report.module_before = module;
    report.planned = differing_records(module, file);
    if (report.planned.empty()) return end(RestoreOutcome::already_equal);
    if (options.dry_run) return end(RestoreOutcome::planned);
    if (stopping(stop)) return end(RestoreOutcome::interrupted);
    if (options.save_backup) {
        Configuration before = module;
        before.saved_at = file.saved_at;  // the caller puts in the real time
        if (!options.save_backup(before, &report.backup_path, &report.backup_error))
            return end(RestoreOutcome::backup_failed);
    }

    for (const Record record : report.planned) {
        RecordWrite w;
        w.record = record;
        w.blocks = record == Record::accepted_numbers ? kBlocks : 1;
        report.writes.push_back(w);
    }
    for (std::size_t i = 0; i < report.planned.size(); ++i) {
        const Record record = report.planned[i];
        if (stopping(stop)) stopped = true;
        if (!stopped)
            report.writes[i] = write_tracked(handle, record, file, progress, stop, &stopped);
        if (report.writes[i].state == WriteState::written) {
            report.written.push_back(record);
            continue;
        }
        report.failed = record;
        const RecordWrite& w = report.writes[i];
        report.numbers_all_in = record == Record::accepted_numbers &&
                                file.accepted_numbers.size() <
                                    static_cast<std::size_t>(w.acknowledged) * kAcceptedBlockSize;
        report.not_written.assign(report.planned.begin() + static_cast<long>(i),
                                  report.planned.end());
        if (stopped) return end(RestoreOutcome::interrupted);
        read_back_failed(handle, file, with_sim, &report);
        return end(RestoreOutcome::write_failed);
    }

    // Read back only what was written; the rest was just read and matched already.
    for (std::size_t i = 0; i < report.written.size(); ++i) {
        const Record record = report.written[i];
        LinkResult read = kFailed;
        if (stopping(stop))
            stopped = true;
        else
            read = read_step(handle, record, Step::verifying, progress, stop, &stopped);
        if (stopped) {
            report.unchecked.assign(report.written.begin() + static_cast<long>(i),
                                    report.written.end());
            return end(RestoreOutcome::interrupted);
        }
        if (read != kOk)
            report.unreadable.push_back(record);
        else if (!record_equal(record, capture_records(with_sim), file))
            report.mismatched.push_back(record);
    }
    if (!report.mismatched.empty()) return end(RestoreOutcome::verify_failed);
    if (!report.unreadable.empty()) return end(RestoreOutcome::verify_unreadable);
    return end(RestoreOutcome::verified);
}

}  // namespace zavi::config
