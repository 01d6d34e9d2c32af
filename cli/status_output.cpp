#include "cli/status_output.h"

#include <cstring>
#include <nlohmann/json.hpp>

#include "link/records.h"
#include "link/status_values.h"

namespace zavi::cli {

using nlohmann::ordered_json;

std::string status_json(const std::string& firmware) {
    const DeviceStatus& s = device_status;
    ordered_json o;
    o["firmware"] = firmware;
    const ordered_json fields = status_fields<ordered_json>(s);
    for (const auto& [key, value] : fields.items()) o[key] = value;
    ordered_json io;
    for (int i = 0; i < 6; ++i)
        io[kIoStateKeys[i]] = status_slot_text(s.io_state_text[i], kStateTextSlot);
    o["io_states"] = io;
    return o.dump(2) + "\n";
}

std::string status_text(const std::string& firmware) {
    const DeviceStatus& s = device_status;
    const std::optional<int> battery = battery_percent(s.battery_level, s.battery_flags);
    const std::optional<int> signal = signal_dbm(s.gsm_signal);
    std::string out;
    out += "firmware:      " + firmware + "\n";
    out += "temperature 1: " + temperature_text(s.temp1_negative, s.temp1_whole, s.temp1_tenths) +
           " °C\n";
    out += "temperature 2: " + temperature_text(s.temp2_negative, s.temp2_whole, s.temp2_tenths) +
           " °C\n";
    out += "battery:       " + (battery ? std::to_string(*battery) + " %" : std::string("???")) +
           " (" + battery_charge_key(battery_charge(s.battery_flags)) + ")\n";
    out += "GSM:           " + std::string(gsm_state_key(s.gsm_state)) + ", signal " +
           (signal ? std::to_string(*signal) + " dBm" : std::string("???")) + ", operator " +
           status_slot_text(s.operator_name, sizeof s.operator_name) + "\n";
    for (int i = 0; i < 6; ++i)
        out += std::string(kIoStateKeys[i]) + ":" +
               std::string(14 - std::strlen(kIoStateKeys[i]) - 1, ' ') +
               status_slot_text(s.io_state_text[i], kStateTextSlot) + "\n";
    return out;
}

}  // namespace zavi::cli
