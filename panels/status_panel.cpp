#include "panels/status_panel.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "link/records.h"
#include "link/status_values.h"
#include "panels/alarm_settings_panel.h"
#include "resources/ids.h"
#include "ui/ui_language.h"

namespace zavi {

namespace {

constexpr int kStateControls[6] = {IDC_STATE_IN1,  IDC_STATE_IN2,  IDC_STATE_PIN1,
                                   IDC_STATE_PIN2, IDC_STATE_OUT1, IDC_STATE_OUT2};

void show_temperature(DialogView& view, int id, uint8_t negative, uint8_t whole, uint8_t tenths) {
    view.set_text(id, temperature_text(negative, whole, tenths) + " °C");
}

void show_signal(DialogView& view) {
    uint8_t& q = device_status.gsm_signal;
    const std::optional<int> dbm = signal_dbm(q);
    // The panel keeps what it shows in the record, as the bar does.
    q = dbm ? std::min<uint8_t>(q, kSignalMax) : 0;
    view.set_progress_position(IDC_SIGNAL_BAR, q);
    view.set_text(IDC_SIGNAL_TEXT, dbm ? std::to_string(*dbm) + " dBm" : "???");
}

void show_battery(DialogView& view) {
    uint8_t& level = device_status.battery_level;
    const std::optional<int> percent = battery_percent(level, device_status.battery_flags);
    level = static_cast<uint8_t>(percent.value_or(0));
    view.set_progress_position(IDC_BATTERY_BAR, level);
    view.set_text(IDC_BATTERY_TEXT, percent ? std::to_string(*percent) + " %" : "???");

    if (level > 60) {
        view.set_progress_color(IDC_BATTERY_BAR, 0, 200, 0);
    } else if (level > 30) {
        view.set_progress_color(IDC_BATTERY_BAR, 234, 199, 12);
    } else {
        view.set_progress_color(IDC_BATTERY_BAR, 255, 0, 0);
    }
}

// The GSM part of the status line; in the ready state with the operator's name.
std::string gsm_text(uint8_t language) {
    switch (gsm_state(device_status.gsm_state)) {
        case GsmState::ready: {
            const char* format = pick_text(language, "GSM: gotowy   ( %s )", "GSM: ready   ( %s )",
                                           "GSM: bereit   ( %s )");
            const std::string name =
                status_slot_text(device_status.operator_name, sizeof device_status.operator_name);
            char text[160];
            std::snprintf(text, sizeof text, format, name.c_str());
            return text;
        }
        case GsmState::logged_out:
            return pick_text(language, "GSM: wylogowany", "GSM: logged out", "GSM: abgemeldet");
        case GsmState::initialisation:
            return pick_text(language, "GSM: inicjalizacja", "GSM: initialization",
                             "GSM: Initialisierung");
        case GsmState::no_sim:
            return pick_text(language, "GSM: brak SIM", "GSM: no SIM", "GSM: keine SIM");
        case GsmState::pin:
            return "GSM: PIN";
        case GsmState::puk:
            return "GSM: PUK";
        case GsmState::error:
            break;
    }
    return pick_text(language, "GSM: błąd", "GSM: error", "GSM: Fehler");
}

void show_status_line(DialogView& view, uint8_t language) {
    const char* format;
    switch (battery_charge(device_status.battery_flags)) {
        case BatteryCharge::no_recharge:
            format = pick_text(language, "%s      Bateria: brak ładowania",
                               "%s      Battery: no recharge", "%s      Batterie: nicht aufladen");
            break;
        case BatteryCharge::recharge:
            format = pick_text(language, "%s      Bateria: ładowana", "%s      Battery: recharge",
                               "%s      Batterie: aufladen");
            break;
        case BatteryCharge::error:
        default:
            format = pick_text(language, "%s      Bateria: błąd", "%s      Battery: error",
                               "%s      Batterie: Fehler");
            break;
    }
    const std::string gsm = gsm_text(language);
    char line[256];
    std::snprintf(line, sizeof line, format, gsm.c_str());
    view.set_text(IDC_STATUS_LINE, line);
}

}  // namespace

void set_up_status_panel(DialogView& view) {
    view.set_progress_range(IDC_SIGNAL_BAR, 0, kSignalMax);
    view.set_progress_position(IDC_SIGNAL_BAR, 0);
    view.set_progress_range(IDC_BATTERY_BAR, 0, kBatteryMax);
    view.set_progress_position(IDC_BATTERY_BAR, 0);
}

void refresh_panels(DialogView& view) {
    show_alarm_settings(view);
    refresh_status_panel(view);
}

void refresh_status_panel(DialogView& view) {
    const DeviceStatus& s = device_status;
    show_temperature(view, IDC_TEMP1, s.temp1_negative, s.temp1_whole, s.temp1_tenths);
    show_temperature(view, IDC_TEMP2, s.temp2_negative, s.temp2_whole, s.temp2_tenths);

    for (int i = 0; i < 6; ++i)
        view.set_text(kStateControls[i],
                      status_slot_text(s.io_state_text[i], sizeof s.io_state_text[i]));

    show_signal(view);
    show_battery(view);
    show_status_line(view, ui_language);
}

void show_nothing_read(DialogView& view, uint8_t language) {
    for (int id : {IDC_TEMP1, IDC_TEMP2, IDC_SIGNAL_TEXT, IDC_BATTERY_TEXT}) view.set_text(id, "—");
    for (int id : kStateControls) view.set_text(id, "");
    view.set_progress_position(IDC_SIGNAL_BAR, 0);
    view.set_progress_position(IDC_BATTERY_BAR, 0);
    view.set_text(IDC_STATUS_LINE,
                  pick_text(language, "ZAVI-GSM - brak połączenia", "ZAVI-GSM is not connected",
                            "ZAVI-GSM - keine Verbindung"));

    for (int id : {IDC_MODE_IN1, IDC_MODE_IN2, IDC_MODE_PIN1, IDC_MODE_PIN2})
        view.select_item(id, -1);
    for (int id : {IDC_T1_HIGH_EDIT, IDC_T1_LOW_EDIT, IDC_T2_HIGH_EDIT, IDC_T2_LOW_EDIT,
                   IDC_BATTERY_THRESHOLD_EDIT})
        view.set_text(id, "");
}

}  // namespace zavi
