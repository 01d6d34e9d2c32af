#include "config/record_values.h"

#include <cstring>
#include <optional>
#include <string_view>

#include "config/record_table.h"
#include "link/connection.h"
#include "link/module_text.h"
#include "link/phone_number.h"
#include "link/records.h"
#include "link/wire_text.h"

namespace zavi::config {

std::string accepted_firmware() {
    const std::string_view full(kRequiredFirmware, kFirmwareLength);
    const std::size_t space = full.rfind(' ');
    return std::string(space == std::string_view::npos ? full : full.substr(space + 1));
}

std::string number_digits(const uint8_t (&bytes)[7]) {
    PhoneNumber number;
    std::memcpy(number.bytes, bytes, sizeof bytes);
    return phone_digits(number);
}

void pack_number(const std::string& digits, uint8_t (&bytes)[7]) {
    PhoneNumber number;
    pack_phone_digits(digits, number);
    std::memcpy(bytes, number.bytes, sizeof bytes);
}

std::string latin1_to_utf8(std::string_view bytes) {
    return module_text_to_utf8(bytes);
}

bool utf8_to_latin1(std::string_view text, std::string* bytes) {
    std::optional<std::string> module = utf8_to_module_text(text);
    *bytes = module ? std::move(*module) : std::string();
    return module.has_value();
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
