#include "config/restore_report.h"

namespace zavi::config {

namespace {

std::string names(const std::vector<Record>& records) {
    std::string out;
    for (const Record r : records) out += (out.empty() ? "" : ", ") + std::string(record_name(r));
    return out;
}

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
    lines.push_back("written: " + (report.written.empty() ? "nothing" : names(report.written)));
    for (const RecordWrite& w : report.writes)
        if (w.state == WriteState::partly_written)
            lines.push_back(partly_line(
                w, report.failed == w.record &&
                       (report.numbers_all_in || report.held_now == HeldNow::file_value)));
    if (const auto unknown = in_state(report, WriteState::unknown); !unknown.empty())
        lines.push_back("unknown: " + names(unknown) +
                        " (sent without an acknowledgement: may or may not be stored)");
    if (const auto rest = in_state(report, WriteState::not_written); !rest.empty())
        lines.push_back("not written: " + names(rest));
    if (!report.unchecked.empty())
        lines.push_back("acknowledged, not read back: " + names(report.unchecked));
    if (const std::string held = held_now_line(report); !held.empty()) lines.push_back(held);
    if (!report.backup_path.empty())
        lines.push_back("the way back, what the module held before: zavi-gsm-cli restore " +
                        report.backup_path);
    return lines;
}

}  // namespace zavi::config
