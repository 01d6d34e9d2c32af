#include "commission/snapshot.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "common/module_text.h"
#include "link/records.h"

namespace zavi::commission {

namespace {

std::string slot(const char* s, std::size_t size) {
    return module_text_to_utf8(std::string_view(s, strnlen(s, size)));
}

int tenths(uint8_t negative, uint8_t whole, uint8_t t) {
    const int magnitude = whole * 10 + std::min<int>(t, 9);
    return negative ? -magnitude : magnitude;
}

std::string optional_text(const std::optional<int>& v) {
    return v ? std::to_string(*v) : std::string("none");
}

}  // namespace

int dbm_from_signal(int level) {
    return -113 + 2 * std::clamp(level, 0, 32);
}

const char* gsm_state_key(int state) {
    static constexpr const char* kKeys[6] = {"ready",  "logged_out", "initialisation",
                                             "no_sim", "pin",        "puk"};
    return state >= 0 && state < 6 ? kKeys[state] : "error";
}

const char* battery_state_key(int state) {
    return state == 0 ? "no_recharge" : state == 1 ? "recharge" : "error";
}

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
    if (!(d.battery_flags & 0x80)) s.battery_percent = std::min<int>(d.battery_level, 100);
    s.battery_state = d.battery_flags & 0x03;
    s.gsm_state = d.gsm_state;
    if (d.gsm_signal != kNoSignal) s.signal_dbm = dbm_from_signal(d.gsm_signal);
    s.operator_name = slot(d.operator_name, sizeof d.operator_name);
    for (int i = 0; i < 6; ++i) s.io[i] = slot(d.io_state_text[i], kStateTextSlot);
    return s;
}

std::vector<std::string> field_names() {
    std::vector<std::string> out = {"temperature1",  "temperature2", "battery_percent",
                                    "battery_state", "gsm_state",    "gsm_signal_dbm",
                                    "operator"};
    for (const char* k : kIoKeys) out.push_back(k);
    return out;
}

std::string field_text(const Snapshot& s, const std::string& f) {
    if (f == "temperature1") return temperature_text(s.temp1_tenths);
    if (f == "temperature2") return temperature_text(s.temp2_tenths);
    if (f == "battery_percent") return optional_text(s.battery_percent);
    if (f == "battery_state") return battery_state_key(s.battery_state);
    if (f == "gsm_state") return gsm_state_key(s.gsm_state);
    if (f == "gsm_signal_dbm") return optional_text(s.signal_dbm);
    if (f == "operator") return s.operator_name;
    for (int i = 0; i < 6; ++i)
        if (f == kIoKeys[i]) return s.io[i];
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
