// The device records: plain structs that mirror what the module keeps, one instance each per
// link state (link/link_state.h). Commands fill them (reads) or send them (writes); panels and
// dialogs edit them in place. Texts are held NUL-terminated in fixed slots.
#pragma once

#include <cstddef>
#include <cstdint>

#include "link/thread_binding.h"

namespace zavi {

constexpr std::size_t kStateTextSlot = 45;     // 44 characters + NUL
constexpr std::size_t kOperatorNameSlot = 32;  // 31 characters + NUL
constexpr std::size_t kIoNameSlot = 45;        // 44 characters + NUL
constexpr std::size_t kIoNameMaxSent = 40;     // longer names are cut to this on the wire
constexpr std::size_t kIoNameCount = 12;
constexpr std::size_t kEmergencyCapacity = 6;
constexpr std::size_t kAcceptedCapacity = 260;
constexpr std::size_t kAcceptedBlockSize = 36;
constexpr std::size_t kAcceptedBlockCount = 8;
constexpr std::size_t kPhoneNumberBytes = 7;
constexpr std::size_t kPhoneNumberMaxDigits = 2 * kPhoneNumberBytes;
constexpr std::size_t kActionCount = 9;

struct DeviceStatus {
    uint8_t temp1_negative;
    uint8_t temp1_whole;
    uint8_t temp1_tenths;
    uint8_t temp2_negative;
    uint8_t temp2_whole;
    uint8_t temp2_tenths;
    uint8_t battery_level;
    uint8_t battery_flags;                  // bits: see link/status_values.h
    uint8_t gsm_signal;                     // 0..32, 99 = no reading
    uint8_t gsm_state;                      // 0 ready .. 5 PUK, other values error
    char io_state_text[6][kStateTextSlot];  // IN-1, IN-2, P-IN-1, P-IN-2, OUT-1, OUT-2
    char operator_name[kOperatorNameSlot];
};

struct TemperatureThreshold {
    uint8_t negative;  // 1 below zero
    uint8_t whole;     // magnitude in degrees Celsius
    uint8_t fraction;  // always sent as 0
};

struct AlarmSettings {
    uint8_t input_modes;  // bits 0-3: IN-1, IN-2, P-IN-1, P-IN-2; bits 4-7 kept as read
    TemperatureThreshold t1_high;
    TemperatureThreshold t1_low;
    TemperatureThreshold t2_high;
    TemperatureThreshold t2_low;
    uint8_t battery_threshold;  // percent, kBatteryThresholdMin..kBatteryThresholdMax
};
constexpr std::size_t kAlarmSettingsBytes = 14;
constexpr int kThresholdMin = -55;  // degrees Celsius, both thermometers
constexpr int kThresholdMax = 120;
constexpr int kBatteryThresholdMin = 0;
constexpr int kBatteryThresholdMax = 100;

// One byte per alarm source: IN-1, IN-2, P-IN-1, P-IN-2, T1 high, T1 low, T2 high, T2 low,
// battery low. Bits 7-6 kept as read, 5 sms, 4 clip, 3-2 OUT-1 action, 1-0 OUT-2 action.
struct ActionTable {
    uint8_t entry[kActionCount];
};
constexpr uint8_t kActionKeptBits = 0xC0;
constexpr uint8_t kActionSmsBit = 0x20;
constexpr uint8_t kActionClipBit = 0x10;
constexpr int kActionOut1Shift = 2;       // OUT-2 at bit 0
constexpr uint8_t kActionOutBits = 0x03;  // of each output, once shifted down
constexpr int kActionOutCodes = 4;        // none, on, off, on for 2 s

struct CallAnswer {
    uint8_t sms;        // non-zero: answer with an SMS
    uint8_t reactions;  // low nibble OUT-1, high nibble OUT-2
};

// Bit 7 sms, bit 6 clip, bits 5-4 unused (written as 0), bits 3-0 period in days.
struct AutoStatus {
    uint8_t value;
};
constexpr uint8_t kAutoStatusSmsBit = 0x80;
constexpr uint8_t kAutoStatusClipBit = 0x40;
constexpr uint8_t kAutoStatusPeriodBits = 0x0F;

// Period in days, 0..5, 0 = never.
struct AutoReset {
    uint8_t period;
};

struct SimCodes {
    uint16_t pin;  // packed decimal, kPinNotSet
    uint32_t puk;  // packed decimal, kPukNotSet
};
constexpr uint16_t kPinNotSet = 0xFFFF;
constexpr uint32_t kPukNotSet = 0xFFFFFFFF;

// Up to 14 digits as packed BCD, first digit in the high nibble of byte 0, 0xF after the end.
struct PhoneNumber {
    uint8_t bytes[kPhoneNumberBytes];
};

struct IoNames {
    char name[kIoNameCount][kIoNameSlot];
};

// The calling thread's records (see link/link_state.h and link/thread_binding.h).
using EmergencyNumbers = PhoneNumber[kEmergencyCapacity];
using AcceptedNumbers = PhoneNumber[kAcceptedCapacity];
ZAVI_PER_THREAD(DeviceStatus, device_status);
ZAVI_PER_THREAD(AlarmSettings, alarm_settings);
ZAVI_PER_THREAD(ActionTable, action_table);
ZAVI_PER_THREAD(CallAnswer, call_answer);
ZAVI_PER_THREAD(AutoStatus, auto_status);
ZAVI_PER_THREAD(AutoReset, auto_reset);
ZAVI_PER_THREAD(SimCodes, sim_codes);
ZAVI_PER_THREAD(uint8_t, accept_all);
ZAVI_PER_THREAD(EmergencyNumbers, emergency_numbers);
ZAVI_PER_THREAD(uint8_t, emergency_count);
ZAVI_PER_THREAD(AcceptedNumbers, accepted_numbers);
ZAVI_PER_THREAD(uint16_t, accepted_count);
ZAVI_PER_THREAD(IoNames, io_names);

// Every record back to zero and every text empty (the state of a fresh process).
void reset_all_records();

}  // namespace zavi
