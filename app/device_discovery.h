// Finding the module at start-up: count the attached modules, open one and check its firmware.
#pragma once

#include "ui/dialog_view.h"

namespace zavi {

// Opens the module to use and stores its handle in device_handle. False when the program has
// to end; the reason has then been shown to the user in ui_language (no driver library, no
// module, another firmware, or a module that does not answer). `no_ftdi_com_port`: FTDI COM
// ports were looked for in vain as well, and the driver-missing message says so.
bool discover_device(DialogView& main_window, bool no_ftdi_com_port = false);

}  // namespace zavi
