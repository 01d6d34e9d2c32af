// Opening the module on one named port, with the outcome sorted the way the command-line tool
// reports it: a port that cannot be used at all, a port where nothing answers properly, or a
// module with other firmware.
#pragma once

#include <cstdint>
#include <string>

#include "link/connection.h"
#include "posix/tty_driver.h"

namespace zavi::posix {

enum class PortOpen : uint8_t {
    ok,        // open, answered, right firmware; device_handle holds it
    unusable,  // the port cannot be opened or set up (missing, not a tty, busy, no permission)
    silent,    // the port is fine but no module answered properly
    wrong_firmware,  // a module with other firmware; the text went to the notice
};

// Makes `driver` (built with the one path) the process's driver and opens its module into
// device_handle. `message` gets an English sentence for anything but ok.
PortOpen open_module_on_port(TtyDriver& driver, uint8_t language, FirmwareNotice& notice,
                             std::string* message);

}  // namespace zavi::posix
