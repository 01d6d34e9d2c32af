// Runs a dialog template modally and forwards its messages to portable dialog logic.
#pragma once

#include <windows.h>

#include "ui/dialog_view.h"

namespace zavi {

// DialogBoxParamW with one dialog procedure for every dialog: WM_INITDIALOG -> on_init,
// WM_COMMAND -> on_command(low word, high word), WM_CLOSE -> on_close, each with a
// Win32DialogView bound to the dialog. `handle_out`, when given, receives the dialog's window
// before on_init runs. Returns the value passed to close(), or -1 when the dialog could not be
// created.
INT_PTR run_modal_dialog(HINSTANCE instance, int template_id, HWND owner, DialogLogic& logic,
                         HWND* handle_out = nullptr);

}  // namespace zavi
