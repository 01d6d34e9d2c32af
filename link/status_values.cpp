#include "link/status_values.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "link/module_text.h"

namespace zavi {

std::optional<int> signal_dbm(uint8_t quality) {
    if (quality == kSignalNoReading) return std::nullopt;
    return kSignalDbmMin + 2 * std::min<int>(quality, kSignalMax);
}

std::optional<int> battery_percent(uint8_t level, uint8_t flags) {
    if (flags & kBatteryNoLevel) return std::nullopt;
    return std::min<int>(level, kBatteryMax);
}

BatteryCharge battery_charge(uint8_t flags) {
    switch (flags & kBatteryChargeBits) {
        case 0:
            return BatteryCharge::no_recharge;
        case 1:
            return BatteryCharge::recharge;
        default:
            return BatteryCharge::error;
    }
}

const char* battery_charge_key(BatteryCharge charge) {
    switch (charge) {
        case BatteryCharge::no_recharge:
            return "no_recharge";
        case BatteryCharge::recharge:
            return "recharge";
        case BatteryCharge::error:
            break;
    }
    return "error";
}

GsmState gsm_state(uint8_t state) {
    return state < static_cast<uint8_t>(GsmState::error) ? static_cast<GsmState>(state)
                                                         : GsmState::error;
}

const char* gsm_state_key(uint8_t state) {
    static constexpr const char* kKeys[] = {"ready", "logged_out", "initialisation", "no_sim",
                                            "pin",   "puk",        "error"};
    return kKeys[static_cast<uint8_t>(gsm_state(state))];
}

std::string temperature_text(uint8_t negative, uint8_t whole, uint8_t tenths) {
    char text[16];
    std::snprintf(text, sizeof text, negative ? "-%d.%d" : "%d.%d", whole, tenths);
    return text;
}

std::string status_slot_text(const char* slot, std::size_t size) {
    return module_text_to_utf8(std::string_view(slot, strnlen(slot, size)));
}

}  // namespace zavi
