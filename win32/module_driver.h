// Which driver reaches the module in this run:
//   --port COMn      that COM port alone, nothing else tried;
//   FTD2XX.dll       FTDI's library when it loads;
//   FTDI COM ports   otherwise every COM port whose USB vendor is FTDI, listed again at each
//                    count, so that Connect again finds one that appeared later (discovery
//                    counts, opens and checks them like D2XX devices: the highest good one wins).
// None: FTD2XX.dll is missing and no FTDI COM port was found either.
#pragma once

#include <string>

#include "link/driver.h"

namespace zavi {

enum class ModuleDriverChoice { d2xx, com_ports, named_port, none, bad_option };

class ComDriver;

struct ModuleDriver {
    ModuleDriverChoice choice = ModuleDriverChoice::none;
    Driver* driver = nullptr;  // null for none and bad_option
    ComDriver* com = nullptr;  // the driver again for com_ports and named_port
    std::wstring problem;      // for bad_option: what is wrong with the command line
};

// `command_line` as GetCommandLineW gives it. The driver lives until the process ends.
ModuleDriver choose_module_driver(const wchar_t* command_line);

}  // namespace zavi
