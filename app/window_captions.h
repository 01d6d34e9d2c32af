// The relabelling of the main window and its menu.
#pragma once

#include <cstdint>

#include "ui/dialog_view.h"
#include "ui/ui_language.h"

namespace zavi {

// Moves the check mark in the Language menu and sets every localised caption of the main
// window and every menu text.
void apply_language(DialogView& main_window, uint8_t language);

// The text of menu item `command` in `language` ("" for no such item); the Options items also
// name their dialogs.
const char* menu_text(int command, uint8_t language);

}  // namespace zavi
