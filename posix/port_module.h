// Opening the module on one named tty, its failure sorted by link/module_choice.h from what the
// tty driver knows about its last port.
#pragma once

#include <cstdint>
#include <string>

#include "link/connection.h"
#include "link/module_choice.h"
#include "posix/tty_driver.h"

namespace zavi::posix {

// What the driver's last failure says about its port: unusable (missing, not a tty, busy, no
// permission...), a line that hung up, or nothing known.
PortTrouble port_trouble(const TtyDriver& driver);

// Makes `driver` (built with the one path) the process's driver and opens its module into
// device_handle. `message` gets an English sentence for anything but ok.
PortOutcome open_module_on_port(TtyDriver& driver, uint8_t language, FirmwareNotice& notice,
                                std::string* message);

}  // namespace zavi::posix
