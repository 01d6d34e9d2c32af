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

// The status as JSON values (Json: a JSON library's object type), everything but the six state
// texts: a number where the module has a reading, null where it has none.
template <class Json>
Json status_fields(const DeviceStatus& s) {
    const auto number = [](const std::optional<int>& v) { return v ? Json(*v) : Json(nullptr); };
    Json o;
    // The module's text read as a number, so "-0.5" stays -0.5 and "21.5" stays 21.5.
    o["temperature1"] =
        Json::parse(temperature_text(s.temp1_negative, s.temp1_whole, s.temp1_tenths));
    o["temperature2"] =
        Json::parse(temperature_text(s.temp2_negative, s.temp2_whole, s.temp2_tenths));
    o["battery_percent"] = number(battery_percent(s.battery_level, s.battery_flags));
    o["battery_state"] = battery_charge_key(battery_charge(s.battery_flags));
    o["gsm_state"] = gsm_state_key(s.gsm_state);
    o["gsm_signal_dbm"] = number(signal_dbm(s.gsm_signal));
    o["operator"] = status_slot_text(s.operator_name, sizeof s.operator_name);
    return o;
}

}  // namespace zavi
