// What the live status bytes mean, for every user that shows or publishes them: the signal
// quality as dBm (99 = no reading), the battery level and charging bits, the GSM state.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "link/records.h"

namespace zavi {

constexpr int kSignalMax = 32;
constexpr int kSignalNoReading = 99;
constexpr int kSignalDbmMin = -113;                            // quality 0
constexpr int kSignalDbmMax = kSignalDbmMin + 2 * kSignalMax;  // quality 32: -49
constexpr int kBatteryMax = 100;
constexpr uint8_t kBatteryNoLevel = 0x80;     // in battery_flags: the level is no reading
constexpr uint8_t kBatteryChargeBits = 0x03;  // in battery_flags: 0 none, 1 charging, else error

// Keys of the six state texts (io_state_text) wherever they are printed or published.
constexpr const char* kIoStateKeys[6] = {"in1", "in2", "pin1", "pin2", "out1", "out2"};

// -113 + 2q dBm, q capped at 32; none for "no reading".
std::optional<int> signal_dbm(uint8_t quality);
// The level capped at 100 %; none when bit 7 says there is no reading.
std::optional<int> battery_percent(uint8_t level, uint8_t flags);

enum class BatteryCharge { no_recharge, recharge, error };
BatteryCharge battery_charge(uint8_t flags);
const char* battery_charge_key(BatteryCharge charge);  // "no_recharge", "recharge", "error"

enum class GsmState : uint8_t { ready, logged_out, initialisation, no_sim, pin, puk, error };
GsmState gsm_state(uint8_t state);  // values above 5 are an error
// "ready", "logged_out", "initialisation", "no_sim", "pin", "puk"; any other value "error".
const char* gsm_state_key(uint8_t state);

// "-0.5", "21.5": the temperature as the module sends it, without the unit.
std::string temperature_text(uint8_t negative, uint8_t whole, uint8_t tenths);

// A NUL-terminated slot as UTF-8, without trusting the terminator to be there.
std::string status_slot_text(const char* slot, std::size_t size);

}  // namespace zavi
