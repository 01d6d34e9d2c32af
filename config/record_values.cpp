#include "config/record_values.h"

#include <cstring>
#include <string_view>

#include "common/module_text.h"
#include "config/record_table.h"
#include "link/connection.h"
#include "link/records.h"
#include "link/wire_text.h"

namespace zavi::config {

std::string accepted_firmware() {
    const std::string_view full(kRequiredFirmware, kFirmwareLength);
    const std::size_t space = full.rfind(' ');
    return std::string(space == std::string_view::npos ? full : full.substr(space + 1));
}

std::string number_digits(const uint8_t (&bytes)[7]) {
    std::string out;
    for (const uint8_t byte : bytes) {
        if ((byte >> 4) > 9) break;
        out.push_back(static_cast<char>('0' + (byte >> 4)));
        if ((byte & 0x0F) > 9) break;
        out.push_back(static_cast<char>('0' + (byte & 0x0F)));
    }
    return out;
}

void pack_number(const std::string& digits, uint8_t (&bytes)[7]) {
    std::memset(bytes, 0xFF, sizeof bytes);
    for (std::size_t k = 0; k < digits.size() && k < kNumberMaxDigits; ++k) {
        const auto value = static_cast<uint8_t>(digits[k] - '0');
        uint8_t& byte = bytes[k / 2];
        byte = k % 2 == 0 ? static_cast<uint8_t>(value << 4 | 0x0F)
                          : static_cast<uint8_t>((byte & 0xF0) | value);
    }
}

std::string latin1_to_utf8(std::string_view bytes) {
    return module_text_to_utf8(bytes);
}

bool utf8_to_latin1(std::string_view text, std::string* bytes) {
    bytes->clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            bytes->push_back(static_cast<char>(c));
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < text.size() &&
                   (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
            const auto next = static_cast<unsigned char>(text[++i]);
            bytes->push_back(static_cast<char>((c & 0x03) << 6 | (next & 0x3F)));
        } else {
            return false;
        }
    }
    return true;
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
