// The program's driver for this run, on the way link/module_choice.h picks: --port COMn alone,
// else FTD2XX.dll when it loads, else the FTDI COM ports (listed again at each count, so that
// Connect again finds one that appeared later). Also tells the About box which path is in use
// and the driver-missing message whether the COM ports were searched in vain.
#pragma once

#include <string>

#include "link/driver.h"

namespace zavi {

enum class ModuleDriverChoice { d2xx, com_ports, named_port, none, bad_option };

struct ModuleDriver {
    ModuleDriverChoice choice = ModuleDriverChoice::none;
    Driver* driver = nullptr;  // null for none and bad_option
    std::wstring problem;      // for bad_option: what is wrong with the command line
};

// `command_line` as GetCommandLineW gives it. The driver lives until the process ends.
ModuleDriver choose_module_driver(const wchar_t* command_line);

}  // namespace zavi
