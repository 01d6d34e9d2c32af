#include "config/configuration.h"

#include "config/record_table.h"

namespace zavi::config {

const char* const kEventNames[kProcedureCount] = {
    "in1", "in2", "pin1", "pin2", "t1_high", "t1_low", "t2_high", "t2_low", "battery_low"};

const char* const kIoNameKeys[kNameCount] = {
    "in1_open",        "in1_closed",   "in2_open", "in2_closed", "pin1_no_voltage", "pin1_voltage",
    "pin2_no_voltage", "pin2_voltage", "out1_on",  "out1_off",   "out2_on",         "out2_off"};

const char* record_name(Record record) {
    return static_cast<std::size_t>(record) < kRecordCount ? record_row(record).name : "?";
}

bool record_equal(Record record, const Configuration& a, const Configuration& b) {
    return record_row(record).equal(a, b);
}

std::vector<Record> differing_records(const Configuration& module, const Configuration& file) {
    std::vector<Record> out;
    for (std::size_t i = 0; i < kRecordCount; ++i) {
        const auto record = static_cast<Record>(i);
        if (module.held[i] && file.held[i] && !record_equal(record, module, file))
            out.push_back(record);
    }
    return out;
}

}  // namespace zavi::config
