#include "config/record_values.h"

#include <string_view>

#include "config/record_table.h"
#include "link/connection.h"
#include "link/records.h"

namespace zavi::config {

std::string accepted_firmware() {
    const std::string_view full(kRequiredFirmware, kFirmwareLength);
    const std::size_t space = full.rfind(' ');
    return std::string(space == std::string_view::npos ? full : full.substr(space + 1));
}

Configuration capture_records(bool with_sim_codes) {
    Configuration c;
    c.firmware = accepted_firmware();
    for (std::size_t i = 0; i < kRecordCount; ++i) {
        const RecordRow& row = record_row(static_cast<Record>(i));
        if (!row.on_request || with_sim_codes) row.to_value(&c);
    }
    return c;
}

void apply_record(Record record, const Configuration& c) {
    record_row(record).from_value(c);
}

}  // namespace zavi::config
