// The module's whole configuration as a value: what a backup file holds and what a restore
// writes. Every field is already in the form the program itself reads or writes it, so that
// two configurations are equal exactly when writing one over the other changes nothing.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/records.h"

namespace zavi::config {

constexpr int kFormatVersion = 1;
constexpr char kFormatName[] = "zavi-gsm-configuration";
// The module's own limits (link/records.h) under the names the configuration uses.
using zavi::kThresholdMax;
using zavi::kThresholdMin;
constexpr int kBatteryMax = kBatteryThresholdMax;
constexpr std::size_t kProcedureCount = kActionCount;
constexpr std::size_t kNameCount = kIoNameCount;
constexpr std::size_t kNameMaxLength = kIoNameMaxSent;
constexpr std::size_t kEmergencyMax = kEmergencyCapacity;
constexpr std::size_t kAcceptedMax = kAcceptedCapacity;
constexpr std::size_t kNumberMaxDigits = kPhoneNumberMaxDigits;

struct AlarmSettingsValue {
    uint8_t input_modes = 0;  // bits 0-3: IN-1, IN-2, P-IN-1, P-IN-2 (1 = open / no voltage)
    uint8_t high_bits = 0;    // bits 7-4 of the mode byte, shifted down
    int t1_high = 0, t1_low = 0, t2_high = 0, t2_low = 0;
    int battery = 0;
    bool operator==(const AlarmSettingsValue&) const = default;
};

struct ProcedureValue {
    bool sms = false;
    bool clip = false;
    uint8_t out1 = 0;  // 0 none, 1 on, 2 off, 3 on for 2 s
    uint8_t out2 = 0;
    uint8_t high_bits = 0;  // bits 7-6, shifted down
    bool operator==(const ProcedureValue&) const = default;
};

struct CallAnswerValue {
    bool sms = false;
    uint8_t out1 = 0;  // nibble: 0 none, 1 change, 2 on for 2 s, others kept as numbers
    uint8_t out2 = 0;
    bool operator==(const CallAnswerValue&) const = default;
};

struct AutoStatusValue {
    bool sms = false;
    bool clip = false;
    uint8_t period_days = 0;  // 0-15
    bool operator==(const AutoStatusValue&) const = default;
};

// PIN and PUK as digit strings; no value means "not set" (all bits set in the module).
struct SimCodesValue {
    std::optional<std::string> pin;
    std::optional<std::string> puk;
    bool operator==(const SimCodesValue&) const = default;
};

// The records a restore writes, one command (or command sequence) each, in writing order.
enum class Record : uint8_t {
    alarm_settings,
    alarm_procedures,
    call_answer,
    auto_status,
    auto_reset,
    accept_all,
    emergency_numbers,
    accepted_numbers,
    io_names_first,   // names 1-6
    io_names_second,  // names 7-12
    sim_codes,
};
constexpr std::size_t kRecordCount = 11;

// Which records a configuration holds, by Record.
using RecordSet = std::bitset<kRecordCount>;

struct Configuration {
    std::string saved_at;  // ISO 8601, UTC, ending in Z
    std::string firmware;  // "v1.7"
    AlarmSettingsValue alarm_settings;
    std::array<ProcedureValue, kProcedureCount> procedures{};
    CallAnswerValue call_answer;
    AutoStatusValue auto_status;
    uint8_t auto_reset_days = 0;
    std::vector<std::string> emergency_numbers;  // digits, no "+"
    bool accept_all = false;
    std::vector<std::string> accepted_numbers;
    std::array<std::string, kNameCount> io_names{};  // UTF-8, code points U+0000-U+00FF
    std::optional<SimCodesValue> sim_codes;
    // A partial configuration (a template) holds only the records in `held`: the others are
    // neither read, written nor compared. SIM codes are held when sim_codes has a value.
    bool partial = false;
    RecordSet held = RecordSet().set();

    bool operator==(const Configuration&) const = default;
};

const char* record_name(Record record);

// The records whose values differ between `module` and `file` (SIM codes only when both
// hold them, and the others only when both hold them), in writing order.
std::vector<Record> differing_records(const Configuration& module, const Configuration& file);

// True when `record` holds the same values in both.
bool record_equal(Record record, const Configuration& a, const Configuration& b);

// Names of the events and of the twelve I/O names, in the module's order.
extern const char* const kEventNames[kProcedureCount];
extern const char* const kIoNameKeys[kNameCount];

}  // namespace zavi::config
