// Message boxes shared by the main window and the configuration dialogs.
#pragma once

#include <cstdint>

#include "ui/dialog_view.h"

namespace zavi {

// "Communication error - try again" in `language`, error icon, title "ZAVI ALARM-GSM".
void show_communication_error(DialogView& owner, uint8_t language);

}  // namespace zavi
