#include "cli/status_output.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>

#include "common/module_text.h"
#include "link/records.h"

namespace zavi::cli {

namespace {

using nlohmann::ordered_json;

constexpr const char* kIoKeys[6] = {"in1", "in2", "pin1", "pin2", "out1", "out2"};
constexpr const char* kGsmStates[6] = {"ready",  "logged_out", "initialisation",
                                       "no_sim", "pin",        "puk"};

// The temperature as the status panel writes it, without the unit.
std::string temperature_text(uint8_t negative, uint8_t whole, uint8_t tenths) {
    char text[16];
    std::snprintf(text, sizeof text, negative ? "-%d.%d" : "%d.%d", whole, tenths);
    return text;
}

std::string slot(const char* s, std::size_t size) {
    return module_text_to_utf8(std::string_view(s, strnlen(s, size)));
}

ordered_json battery_percent(const DeviceStatus& s) {
    if (s.battery_flags & 0x80) return nullptr;
    return std::min<int>(s.battery_level, 100);
}

const char* battery_state(const DeviceStatus& s) {
    switch (s.battery_flags & 0x03) {
        case 0:
            return "no_recharge";
        case 1:
            return "recharge";
        default:
            return "error";
    }
}

ordered_json signal_dbm(const DeviceStatus& s) {
    if (s.gsm_signal == 99) return nullptr;
    return -(113 - 2 * std::min<int>(s.gsm_signal, 32));
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
    o["gsm_state"] = s.gsm_state < 6 ? kGsmStates[s.gsm_state] : "error";
    o["gsm_signal_dbm"] = signal_dbm(s);
    o["operator"] = slot(s.operator_name, sizeof s.operator_name);
    ordered_json io;
    for (int i = 0; i < 6; ++i) io[kIoKeys[i]] = slot(s.io_state_text[i], kStateTextSlot);
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
    out += "GSM:           " + std::string(s.gsm_state < 6 ? kGsmStates[s.gsm_state] : "error") +
           ", signal " + (signal.is_null() ? std::string("???") : signal.dump() + " dBm") +
           ", operator " + slot(s.operator_name, sizeof s.operator_name) + "\n";
    for (int i = 0; i < 6; ++i)
        out += std::string(kIoKeys[i]) + ":" + std::string(14 - std::strlen(kIoKeys[i]) - 1, ' ') +
               slot(s.io_state_text[i], kStateTextSlot) + "\n";
    return out;
}

}  // namespace zavi::cli
