#include "config/restore_report.h"

namespace zavi::config {

namespace {

std::vector<Record> in_state(const RestoreReport& report, WriteState state) {
    std::vector<Record> out;
    for (const RecordWrite& w : report.writes)
        if (w.state == state) out.push_back(w.record);
    return out;
}

const RecordWrite* write_of(const RestoreReport& report, Record record) {
    for (const RecordWrite& w : report.writes)
        if (w.record == record) return &w;
    return nullptr;
}

std::string partly_line(const RecordWrite& w, bool whole_now) {
    std::string s = "partly written: " + std::string(record_name(w.record)) + " (block";
    s += w.acknowledged == 1 ? " 1" : "s 1-" + std::to_string(w.acknowledged);
    s += " of " + std::to_string(w.blocks) + " acknowledged";
    if (w.unanswered)
        s += ", block " + std::to_string(w.acknowledged + 1) +
             " sent without an acknowledgement and may or may not be stored";
    s += whole_now ? "; every number is in, only the empty blocks after them were not sent)"
                   : "; the module's list is now incomplete)";
    return s;
}

std::string held_now_line(const RestoreReport& r) {
    const std::string name = record_name(r.failed);
    const std::string count = r.failed == Record::accepted_numbers
                                  ? " (" + std::to_string(r.numbers_now) + " numbers)"
                                  : std::string();
    switch (r.held_now) {
        case HeldNow::not_read:
            break;
        case HeldNow::unreadable:
            return "read back after the failure: the module did not answer for " + name;
        case HeldNow::file_value:
            return "read back after the failure: " + name + " holds the file's values" + count;
        case HeldNow::previous_value:
            return "read back after the failure: " + name + " still holds its previous values" +
                   count;
        case HeldNow::other_value:
            return "read back after the failure: " + name +
                   " holds neither the file's values nor its previous ones" + count;
    }
    return {};
}

}  // namespace

std::string record_list(const std::vector<Record>& records) {
    if (records.empty()) return "nothing";
    std::string out;
    for (const Record r : records) out += (out.empty() ? "" : ", ") + std::string(record_name(r));
    return out;
}

std::string failed_write_line(const RestoreReport& report) {
    std::string s = "writing " + std::string(record_name(report.failed)) +
                    " failed: the module did not acknowledge ";
    const RecordWrite* w = write_of(report, report.failed);
    if (w && w->blocks > 1)
        s += "block " + std::to_string(w->acknowledged + 1) + " of " + std::to_string(w->blocks);
    else
        s += "it";
    return s;
}

std::vector<std::string> write_report_lines(const RestoreReport& report) {
    std::vector<std::string> lines;
    lines.push_back("written: " + record_list(report.written));
    for (const RecordWrite& w : report.writes)
        if (w.state == WriteState::partly_written)
            lines.push_back(partly_line(
                w, report.failed == w.record &&
                       (report.numbers_all_in || report.held_now == HeldNow::file_value)));
    if (const auto unknown = in_state(report, WriteState::unknown); !unknown.empty())
        lines.push_back("unknown: " + record_list(unknown) +
                        " (sent without an acknowledgement: may or may not be stored)");
    if (const auto rest = in_state(report, WriteState::not_written); !rest.empty())
        lines.push_back("not written: " + record_list(rest));
    if (!report.unchecked.empty())
        lines.push_back("acknowledged, not read back: " + record_list(report.unchecked));
    if (const std::string held = held_now_line(report); !held.empty()) lines.push_back(held);
    if (!report.backup_path.empty())
        lines.push_back("the way back, what the module held before: zavi-gsm-cli restore " +
                        report.backup_path);
    return lines;
}

std::vector<std::string> outcome_lines(const RestoreReport& report,
                                       const std::string& interrupted) {
    std::vector<std::string> lines;
    const auto add_write_report = [&] {
        for (std::string& line : write_report_lines(report)) lines.push_back(std::move(line));
    };
    switch (report.outcome) {
        case RestoreOutcome::read_failed:
            lines.push_back("reading " + std::string(record_name(report.failed)) +
                            " failed: no or bad answer from the module");
            break;
        case RestoreOutcome::already_equal:
            lines.push_back("the module already holds this configuration; nothing written");
            break;
        case RestoreOutcome::planned:
            break;
        case RestoreOutcome::backup_failed:
            lines.push_back("the automatic backup could not be saved: " + report.backup_error +
                            "; nothing written");
            break;
        case RestoreOutcome::interrupted:
            lines.push_back(interrupted + "; nothing was sent after the frame in flight");
            if (report.writes.empty())
                lines.push_back("nothing written");
            else
                add_write_report();
            break;
        case RestoreOutcome::write_failed:
            lines.push_back(failed_write_line(report));
            add_write_report();
            break;
        case RestoreOutcome::verify_failed:
            lines.push_back(
                "every write was acknowledged, but the module reads back differently in: " +
                record_list(report.mismatched));
            break;
        case RestoreOutcome::verify_unreadable:
            lines.push_back("every write was acknowledged, but reading back " +
                            record_list(report.unreadable) +
                            " failed: no or bad answer from the module");
            break;
        case RestoreOutcome::verified:
            lines.push_back("restored and verified (" + record_list(report.written) + ")");
            break;
    }
    return lines;
}

}  // namespace zavi::config
