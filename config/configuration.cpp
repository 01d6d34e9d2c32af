#include "config/configuration.h"

namespace zavi::config {

const char* const kEventNames[kProcedureCount] = {
    "in1", "in2", "pin1", "pin2", "t1_high", "t1_low", "t2_high", "t2_low", "battery_low"};

const char* const kIoNameKeys[kNameCount] = {
    "in1_open",        "in1_closed",   "in2_open", "in2_closed", "pin1_no_voltage", "pin1_voltage",
    "pin2_no_voltage", "pin2_voltage", "out1_on",  "out1_off",   "out2_on",         "out2_off"};

const char* record_name(Record record) {
    switch (record) {
        case Record::alarm_settings:
            return "alarm_settings";
        case Record::alarm_procedures:
            return "alarm_procedures";
        case Record::call_answer:
            return "call_answer";
        case Record::auto_status:
            return "auto_status";
        case Record::auto_reset:
            return "auto_reset";
        case Record::accept_all:
            return "accept_all";
        case Record::emergency_numbers:
            return "emergency_numbers";
        case Record::accepted_numbers:
            return "accepted_numbers";
        case Record::io_names_first:
            return "io_names (1-6)";
        case Record::io_names_second:
            return "io_names (7-12)";
        case Record::sim_codes:
            return "sim_codes";
    }
    return "?";
}

namespace {

bool names_equal(const Configuration& a, const Configuration& b, std::size_t first) {
    for (std::size_t i = first; i < first + kNameCount / 2; ++i)
        if (a.io_names[i] != b.io_names[i]) return false;
    return true;
}

}  // namespace

bool record_equal(Record record, const Configuration& a, const Configuration& b) {
    switch (record) {
        case Record::alarm_settings:
            return a.alarm_settings == b.alarm_settings;
        case Record::alarm_procedures:
            return a.procedures == b.procedures;
        case Record::call_answer:
            return a.call_answer == b.call_answer;
        case Record::auto_status:
            return a.auto_status == b.auto_status;
        case Record::auto_reset:
            return a.auto_reset_days == b.auto_reset_days;
        case Record::accept_all:
            return a.accept_all == b.accept_all;
        case Record::emergency_numbers:
            return a.emergency_numbers == b.emergency_numbers;
        case Record::accepted_numbers:
            return a.accepted_numbers == b.accepted_numbers;
        case Record::io_names_first:
            return names_equal(a, b, 0);
        case Record::io_names_second:
            return names_equal(a, b, kNameCount / 2);
        case Record::sim_codes:
            return !a.sim_codes || !b.sim_codes || *a.sim_codes == *b.sim_codes;
    }
    return true;
}

std::vector<Record> differing_records(const Configuration& module, const Configuration& file) {
    std::vector<Record> out;
    for (std::size_t i = 0; i < kRecordCount; ++i) {
        const auto record = static_cast<Record>(i);
        if (!module.held[i] || !file.held[i]) continue;
        if (!record_equal(record, module, file)) out.push_back(record);
    }
    return out;
}

}  // namespace zavi::config
