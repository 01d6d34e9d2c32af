// The "Alarm settings" group of the main window: the trigger mode of each input, the
// temperature thresholds and the battery threshold, mirrored in alarm_settings.
#pragma once

#include "ui/dialog_view.h"

namespace zavi {

// Once, when the main window is created: up-down ranges and start positions.
void set_up_alarm_settings_panel(DialogView& main_window);
// The keystroke filter of the five threshold edits: no typing, no pasting, no context menu.
void install_threshold_edit_filters(DialogView& main_window);

// Empties the four trigger-mode lists, adds the two texts of ui_language and selects item 0.
void fill_trigger_mode_lists(DialogView& main_window);
// alarm_settings into the controls (first step of refresh_panels).
void show_alarm_settings(DialogView& main_window);
// The controls into alarm_settings; bits 4-7 of input_modes are kept.
void store_alarm_settings(DialogView& main_window);
// High above low for thermometer 1, then 2. On a failure its message has been shown.
bool validate_thresholds(DialogView& main_window);

// The Save button: store, check, send on this thread, then redraw or show the error.
void save_alarm_settings(DialogView& main_window);

}  // namespace zavi
