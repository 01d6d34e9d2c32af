// The "Device status" group of the main window: temperatures, the six input/output states,
// GSM signal, battery, and the status line, all drawn from device_status.
#pragma once

#include <cstdint>

#include "ui/dialog_view.h"

namespace zavi {

// Ranges of the signal bar (0-32) and the battery bar (0-100), both at position 0. Once, when
// the main window is created.
void set_up_status_panel(DialogView& main_window);

// Redraws both panels: the alarm settings first, then every reading of device_status. Writes
// the clamped signal and battery values back into device_status.
void refresh_panels(DialogView& main_window);
// The readings of device_status alone (the live status); the alarm settings as they are on
// screen, edits not yet saved included.
void refresh_status_panel(DialogView& main_window);

// Both panels while no module is connected: dashes and empty fields instead of readings, no
// list selection, and "not connected" in the status line. device_status is left as it is.
void show_nothing_read(DialogView& main_window, uint8_t language);

}  // namespace zavi
