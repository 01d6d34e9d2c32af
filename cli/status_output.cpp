#include "cli/status_output.h"

#include <cstring>
#include <nlohmann/json.hpp>

#include "link/records.h"
#include "link/status_values.h"

namespace zavi::cli {

namespace {

using nlohmann::ordered_json;

ordered_json battery_percent(const DeviceStatus& s) {
    const auto percent = zavi::battery_percent(s.battery_level, s.battery_flags);
    return percent ? ordered_json(*percent) : ordered_json(nullptr);
}

const char* battery_state(const DeviceStatus& s) {
    return battery_charge_key(battery_charge(s.battery_flags));
}

ordered_json signal_dbm(const DeviceStatus& s) {
    const auto dbm = zavi::signal_dbm(s.gsm_signal);
    return dbm ? ordered_json(*dbm) : ordered_json(nullptr);
}

}  // namespace

std::string status_json(const std::string& firmware) {
    const DeviceStatus& s = device_status;
    ordered_json o;
    o["firmware"] = firmware;
    // The panel's text read as a number, so "-0.5" stays -0.5 and "21.5" stays 21.5.
    o["temperature1"] =
        ordered_json::parse(temperature_text(s.temp1_negative, s.temp1_whole, s.temp1_tenths));
    o["temperature2"] =
        ordered_json::parse(temperature_text(s.temp2_negative, s.temp2_whole, s.temp2_tenths));
    o["battery_percent"] = battery_percent(s);
    o["battery_state"] = battery_state(s);
    o["gsm_state"] = gsm_state_key(s.gsm_state);
    o["gsm_signal_dbm"] = signal_dbm(s);
    o["operator"] = status_slot_text(s.operator_name, sizeof s.operator_name);
    ordered_json io;
    for (int i = 0; i < 6; ++i)
        io[kIoStateKeys[i]] = status_slot_text(s.io_state_text[i], kStateTextSlot);
    o["io_states"] = io;
    return o.dump(2) + "\n";
}

std::string status_text(const std::string& firmware) {
    const DeviceStatus& s = device_status;
    const ordered_json battery = battery_percent(s);
    const ordered_json signal = signal_dbm(s);
    std::string out;
    out += "firmware:      " + firmware + "\n";
    out += "temperature 1: " + temperature_text(s.temp1_negative, s.temp1_whole, s.temp1_tenths) +
           " °C\n";
    out += "temperature 2: " + temperature_text(s.temp2_negative, s.temp2_whole, s.temp2_tenths) +
           " °C\n";
    out += "battery:       " + (battery.is_null() ? std::string("???") : battery.dump() + " %") +
           " (" + battery_state(s) + ")\n";
    out += "GSM:           " + std::string(gsm_state_key(s.gsm_state)) + ", signal " +
           (signal.is_null() ? std::string("???") : signal.dump() + " dBm") + ", operator " +
           status_slot_text(s.operator_name, sizeof s.operator_name) + "\n";
    for (int i = 0; i < 6; ++i)
        out += std::string(kIoStateKeys[i]) + ":" +
               std::string(14 - std::strlen(kIoStateKeys[i]) - 1, ' ') +
               status_slot_text(s.io_state_text[i], kStateTextSlot) + "\n";
    return out;
}

}  // namespace zavi::cli
