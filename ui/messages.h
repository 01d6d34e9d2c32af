// Message boxes shared by the main window and the configuration dialogs.
#pragma once

#include <cstdint>
#include <string_view>

#include "ui/dialog_view.h"

namespace zavi {

// A box with only OK, under the program's title.
void show_message(DialogView& owner, std::string_view text,
                  MessageIcon icon = MessageIcon::information);

// "Communication error - try again" in `language`, error icon, title "ZAVI ALARM-GSM".
void show_communication_error(DialogView& owner, uint8_t language);

}  // namespace zavi
