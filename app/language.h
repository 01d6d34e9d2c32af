// The user-interface language and the relabelling of the main window and its menu.
#pragma once

#include <cstdint>

#include "common/language.h"
#include "ui/dialog_view.h"

namespace zavi {

// 0 Polish, 1 English, 2 German; loaded from the settings file, changed by the Language menu.
extern uint8_t ui_language;

// Moves the check mark in the Language menu and sets every localised caption of the main
// window and every menu text.
void apply_language(DialogView& main_window, uint8_t language);

}  // namespace zavi
