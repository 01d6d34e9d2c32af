#include "config/record_values.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>

#include "link/connection.h"
#include "link/module_text.h"
#include "link/phone_number.h"
#include "link/records.h"
#include "link/wire_text.h"

namespace zavi::config {

namespace {

constexpr uint8_t kSmsBit = kActionSmsBit, kClipBit = kActionClipBit;  // alarm procedures
constexpr uint8_t kStatusSms = kAutoStatusSmsBit, kStatusClip = kAutoStatusClipBit,
                  kStatusPeriod = kAutoStatusPeriodBits;
constexpr uint16_t kNoPin = kPinNotSet;
constexpr uint32_t kNoPuk = kPukNotSet;

int threshold_value(const TemperatureThreshold& t) {
    const int v = t.negative ? -static_cast<int>(t.whole) : static_cast<int>(t.whole);
    return std::clamp(v, kThresholdMin, kThresholdMax);
}

TemperatureThreshold threshold_record(int value) {
    return {static_cast<uint8_t>(value < 0 ? 1 : 0),
            static_cast<uint8_t>(value < 0 ? -value : value), 0};
}

// Packed decimal as text; a nibble above 9 shows as its hex digit, which no file accepts.
std::string packed_text(uint32_t value, int digits) {
    char text[12];
    std::snprintf(text, sizeof text, "%0*X", digits, static_cast<unsigned>(value));
    return text;
}

// Digits, or the hex digits A-F a module may hold (a backup keeps them as read).
uint32_t packed_value(const std::string& digits) {
    uint32_t v = 0;
    for (char c : digits)
        v = v << 4 | static_cast<uint32_t>(c >= 'A' && c <= 'F' ? c - 'A' + 10 : (c - '0') & 0x0F);
    return v;
}

void set_name(char (&slot)[kIoNameSlot], const std::string& utf8) {
    std::string bytes;
    if (!utf8_to_latin1(utf8, &bytes)) bytes.clear();
    bytes.resize(std::min(bytes.size(), kNameMaxLength));
    std::memset(slot, 0, sizeof slot);
    std::memcpy(slot, bytes.data(), bytes.size());
}

}  // namespace

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
    const AlarmSettings& a = alarm_settings;
    c.alarm_settings.input_modes = a.input_modes & 0x0F;
    c.alarm_settings.high_bits = a.input_modes >> 4;
    c.alarm_settings.t1_high = threshold_value(a.t1_high);
    c.alarm_settings.t1_low = threshold_value(a.t1_low);
    c.alarm_settings.t2_high = threshold_value(a.t2_high);
    c.alarm_settings.t2_low = threshold_value(a.t2_low);
    c.alarm_settings.battery = std::min<int>(a.battery_threshold, kBatteryMax);
    for (std::size_t i = 0; i < kProcedureCount; ++i) {
        const uint8_t e = action_table.entry[i];
        c.procedures[i] = {(e & kSmsBit) != 0, (e & kClipBit) != 0,
                           static_cast<uint8_t>(e >> 2 & 3), static_cast<uint8_t>(e & 3),
                           static_cast<uint8_t>(e >> 6)};
    }
    c.call_answer = {call_answer.sms != 0, static_cast<uint8_t>(call_answer.reactions & 0x0F),
                     static_cast<uint8_t>(call_answer.reactions >> 4)};
    c.auto_status = {(auto_status.value & kStatusSms) != 0, (auto_status.value & kStatusClip) != 0,
                     static_cast<uint8_t>(auto_status.value & kStatusPeriod)};
    c.auto_reset_days = auto_reset.period;
    for (std::size_t i = 0; i < std::min<std::size_t>(emergency_count, kEmergencyCapacity); ++i)
        c.emergency_numbers.push_back(number_digits(emergency_numbers[i].bytes));
    c.accept_all = accept_all != 0;
    for (std::size_t i = 0; i < std::min<std::size_t>(accepted_count, kAcceptedCapacity); ++i)
        c.accepted_numbers.push_back(number_digits(accepted_numbers[i].bytes));
    for (std::size_t i = 0; i < kNameCount; ++i) {
        // The program never sends more than 40 characters of a name.
        const std::size_t length =
            std::min(slot_length(io_names.name[i], kIoNameSlot), kNameMaxLength);
        c.io_names[i] = latin1_to_utf8(std::string_view(io_names.name[i], length));
    }
    if (with_sim_codes) {
        SimCodesValue s;
        if (sim_codes.pin != kNoPin) s.pin = packed_text(sim_codes.pin, 4);
        if (sim_codes.puk != kNoPuk) s.puk = packed_text(sim_codes.puk, 8);
        c.sim_codes = s;
    }
    return c;
}

void apply_record(Record record, const Configuration& c) {
    switch (record) {
        case Record::alarm_settings: {
            const AlarmSettingsValue& v = c.alarm_settings;
            alarm_settings.input_modes =
                static_cast<uint8_t>(v.high_bits << 4 | (v.input_modes & 0x0F));
            alarm_settings.t1_high = threshold_record(v.t1_high);
            alarm_settings.t1_low = threshold_record(v.t1_low);
            alarm_settings.t2_high = threshold_record(v.t2_high);
            alarm_settings.t2_low = threshold_record(v.t2_low);
            alarm_settings.battery_threshold = static_cast<uint8_t>(v.battery);
            break;
        }
        case Record::alarm_procedures:
            for (std::size_t i = 0; i < kProcedureCount; ++i) {
                const ProcedureValue& p = c.procedures[i];
                action_table.entry[i] = static_cast<uint8_t>(
                    p.high_bits << 6 | (p.sms ? kSmsBit : 0) | (p.clip ? kClipBit : 0) |
                    (p.out1 & 3) << 2 | (p.out2 & 3));
            }
            break;
        case Record::call_answer:
            call_answer.sms = c.call_answer.sms ? 1 : 0;
            call_answer.reactions = static_cast<uint8_t>((c.call_answer.out2 & 0x0F) << 4 |
                                                         (c.call_answer.out1 & 0x0F));
            break;
        case Record::auto_status:
            auto_status.value = static_cast<uint8_t>((c.auto_status.sms ? kStatusSms : 0) |
                                                     (c.auto_status.clip ? kStatusClip : 0) |
                                                     (c.auto_status.period_days & kStatusPeriod));
            break;
        case Record::auto_reset:
            auto_reset.period = c.auto_reset_days;
            break;
        case Record::accept_all:
            accept_all = c.accept_all ? 1 : 0;
            break;
        case Record::emergency_numbers:
            emergency_count =
                static_cast<uint8_t>(std::min(c.emergency_numbers.size(), kEmergencyCapacity));
            for (std::size_t i = 0; i < emergency_count; ++i)
                pack_number(c.emergency_numbers[i], emergency_numbers[i].bytes);
            break;
        case Record::accepted_numbers:
            accepted_count =
                static_cast<uint16_t>(std::min(c.accepted_numbers.size(), kAcceptedCapacity));
            for (std::size_t i = 0; i < accepted_count; ++i)
                pack_number(c.accepted_numbers[i], accepted_numbers[i].bytes);
            break;
        case Record::io_names_first:
        case Record::io_names_second: {
            const std::size_t first = record == Record::io_names_first ? 0 : kNameCount / 2;
            for (std::size_t i = first; i < first + kNameCount / 2; ++i)
                set_name(io_names.name[i], c.io_names[i]);
            break;
        }
        case Record::sim_codes:
            if (c.sim_codes) {
                sim_codes.pin = c.sim_codes->pin
                                    ? static_cast<uint16_t>(packed_value(*c.sim_codes->pin))
                                    : kNoPin;
                sim_codes.puk = c.sim_codes->puk ? packed_value(*c.sim_codes->puk) : kNoPuk;
            }
            break;
    }
}

}  // namespace zavi::config
