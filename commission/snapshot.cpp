#include "commission/snapshot.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "link/records.h"
#include "link/status_values.h"

namespace zavi::commission {

namespace {

int tenths(uint8_t negative, uint8_t whole, uint8_t t) {
    const int magnitude = whole * 10 + std::min<int>(t, 9);
    return negative ? -magnitude : magnitude;
}

std::string optional_text(const std::optional<int>& v) {
    return v ? std::to_string(*v) : std::string("none");
}

}  // namespace

std::string temperature_text(int t) {
    char text[16];
    std::snprintf(text, sizeof text, "%s%d.%d", t < 0 ? "-" : "", std::abs(t) / 10,
                  std::abs(t) % 10);
    return text;
}

Snapshot take_snapshot() {
    const DeviceStatus& d = device_status;
    Snapshot s;
    s.temp1_tenths = tenths(d.temp1_negative, d.temp1_whole, d.temp1_tenths);
    s.temp2_tenths = tenths(d.temp2_negative, d.temp2_whole, d.temp2_tenths);
    s.battery_percent = battery_percent(d.battery_level, d.battery_flags);
    s.battery_state = d.battery_flags & kBatteryChargeBits;
    s.gsm_state = d.gsm_state;
    s.signal_dbm = signal_dbm(d.gsm_signal);
    s.operator_name = status_slot_text(d.operator_name, sizeof d.operator_name);
    for (int i = 0; i < 6; ++i) s.io[i] = status_slot_text(d.io_state_text[i], kStateTextSlot);
    return s;
}

std::vector<std::string> field_names() {
    std::vector<std::string> out = {"temperature1",  "temperature2", "battery_percent",
                                    "battery_state", "gsm_state",    "gsm_signal_dbm",
                                    "operator"};
    for (const char* k : kIoStateKeys) out.push_back(k);
    return out;
}

std::string field_text(const Snapshot& s, const std::string& f) {
    if (f == "temperature1") return temperature_text(s.temp1_tenths);
    if (f == "temperature2") return temperature_text(s.temp2_tenths);
    if (f == "battery_percent") return optional_text(s.battery_percent);
    if (f == "battery_state")
        return battery_charge_key(battery_charge(static_cast<uint8_t>(s.battery_state)));
    if (f == "gsm_state") return gsm_state_key(static_cast<uint8_t>(s.gsm_state));
    if (f == "gsm_signal_dbm") return optional_text(s.signal_dbm);
    if (f == "operator") return s.operator_name;
    for (int i = 0; i < 6; ++i)
        if (f == kIoStateKeys[i]) return s.io[i];
    return "";
}

std::vector<FieldChange> changes(const Snapshot& before, const Snapshot& after) {
    std::vector<FieldChange> out;
    for (const std::string& f : field_names()) {
        std::string a = field_text(before, f), b = field_text(after, f);
        if (a != b) out.push_back({f, std::move(a), std::move(b)});
    }
    return out;
}

}  // namespace zavi::commission
