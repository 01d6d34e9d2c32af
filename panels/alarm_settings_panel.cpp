#include "panels/alarm_settings_panel.h"

#include <algorithm>
#include <cstdlib>

#include "link/records.h"
#include "resources/ids.h"
#include "ui/ui_language.h"
#include "ui/vocabulary.h"

namespace zavi {

namespace {

constexpr int kModeLists[4] = {IDC_MODE_IN1, IDC_MODE_IN2, IDC_MODE_PIN1, IDC_MODE_PIN2};
constexpr int kThresholdEdits[5] = {IDC_T1_HIGH_EDIT, IDC_T1_LOW_EDIT, IDC_T2_HIGH_EDIT,
                                    IDC_T2_LOW_EDIT, IDC_BATTERY_THRESHOLD_EDIT};

struct ThresholdControl {
    TemperatureThreshold AlarmSettings::*field;
    int updown;
    int start;  // position before the first read
};

constexpr ThresholdControl kThresholds[4] = {
    {&AlarmSettings::t1_high, IDC_T1_HIGH_SPIN, 20},
    {&AlarmSettings::t1_low, IDC_T1_LOW_SPIN, 15},
    {&AlarmSettings::t2_high, IDC_T2_HIGH_SPIN, 20},
    {&AlarmSettings::t2_low, IDC_T2_LOW_SPIN, 15},
};
constexpr int kBatteryStart = 50;

int signed_value(const TemperatureThreshold& t) {
    return t.negative ? -static_cast<int>(t.whole) : static_cast<int>(t.whole);
}

// The up-down's position as the record keeps it: the low 8 bits as a signed number, or 0
// when the up-down reports an error.
int stored_position(DialogView& view, int updown) {
    bool error = false;
    const int position = view.updown_position(updown, &error);
    if (error) return 0;
    return static_cast<int8_t>(static_cast<uint8_t>(position & 0xFF));
}

}  // namespace

void set_up_alarm_settings_panel(DialogView& view) {
    for (const ThresholdControl& t : kThresholds) {
        view.set_updown_range(t.updown, kThresholdMin, kThresholdMax);
        view.set_updown_position(t.updown, t.start);
    }
    view.set_updown_range(IDC_BATTERY_THRESHOLD_SPIN, kBatteryThresholdMin, kBatteryThresholdMax);
    view.set_updown_position(IDC_BATTERY_THRESHOLD_SPIN, kBatteryStart);
}

void install_threshold_edit_filters(DialogView& view) {
    for (int id : kThresholdEdits) view.set_edit_filter(id, {EditFilterKind::block_input, 0});
}

void fill_trigger_mode_lists(DialogView& view) {
    const uint8_t language = ui_language;
    for (int k = 0; k < 4; ++k) {
        const int list = kModeLists[k];
        view.clear_items(list);
        view.add_item(list, trigger_mode_text(k >= 2, false, language));
        view.add_item(list, trigger_mode_text(k >= 2, true, language));
        view.select_item(list, 0);
    }
}

void show_alarm_settings(DialogView& view) {
    for (int k = 0; k < 4; ++k)
        view.select_item(kModeLists[k], (alarm_settings.input_modes >> k) & 1);
    // A value from the module outside the range is shown at the nearest end, so that what the
    // up-down shows is exactly what the next store reads back and Save sends.
    for (const ThresholdControl& t : kThresholds) {
        const int value = signed_value(alarm_settings.*t.field);
        view.set_updown_position(t.updown, std::clamp(value, kThresholdMin, kThresholdMax));
    }
    view.set_updown_position(IDC_BATTERY_THRESHOLD_SPIN,
                             std::clamp<int>(alarm_settings.battery_threshold, kBatteryThresholdMin,
                                             kBatteryThresholdMax));
}

void store_alarm_settings(DialogView& view) {
    for (int k = 0; k < 4; ++k) {
        const uint8_t bit = static_cast<uint8_t>(1u << k);
        if (view.selected_item(kModeLists[k]) == 1) {
            alarm_settings.input_modes |= bit;
        } else {
            alarm_settings.input_modes &= static_cast<uint8_t>(~bit);
        }
    }
    for (const ThresholdControl& t : kThresholds) {
        const int p = stored_position(view, t.updown);
        TemperatureThreshold& field = alarm_settings.*t.field;
        field.negative = p < 0 ? 1 : 0;
        field.whole = static_cast<uint8_t>(std::abs(p));
        field.fraction = 0;
    }
    alarm_settings.battery_threshold =
        static_cast<uint8_t>(std::abs(stored_position(view, IDC_BATTERY_THRESHOLD_SPIN)));
}

bool validate_thresholds(DialogView& view) {
    const uint8_t language = ui_language;
    // The message, and the focus on the high threshold to correct.
    const auto refuse = [&view](const char* text, int high_edit) {
        view.message_box(text, kAppTitle, MessageIcon::error, MessageButtons::ok);
        view.set_focus(high_edit);
        return false;
    };
    if (signed_value(alarm_settings.t1_high) <= signed_value(alarm_settings.t1_low))
        return refuse(
            pick_text(language, "Błąd termometru 1: Temp.High musi być większa od TemP.Low",
                      "Error Thermometer 1:\n\nTemp.High must be greater then Temp.low",
                      "Fehler Thermometer 1: Temp.High muss größer sein als Temp.Low"),
            IDC_T1_HIGH_EDIT);
    if (signed_value(alarm_settings.t2_high) <= signed_value(alarm_settings.t2_low))
        return refuse(
            pick_text(language, "Błąd termometru 2: Temp.High musi być większa od TemP.Low",
                      "Error Thermometer 2:\n\nTemp.High must be greater then Temp.low",
                      "Fehler Thermometer 2: Temp.High muss größer sein als Temp.Low"),
            IDC_T2_HIGH_EDIT);
    return true;
}

}  // namespace zavi
