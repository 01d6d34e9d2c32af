// Keystroke filters on edits, installed by subclassing.
#pragma once

#include <windows.h>

#include "ui/dialog_view.h"

namespace zavi {

// Installs (or replaces) the filter of `edit`; a filter of kind none without an Enter command
// removes it. Every filtering kind also refuses pasting and the context menu, which would
// otherwise put unfiltered text into the edit.
void install_edit_filter(HWND edit, EditFilter filter);

}  // namespace zavi
