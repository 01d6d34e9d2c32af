// The program's driver for this run, on the way link/module_choice.h picks: --port COMn alone,
// else FTD2XX.dll when it loads, else the FTDI COM ports (listed again at each count, so that
// Connect again finds one that appeared later). None: FTD2XX.dll is missing and no FTDI COM
// port was found either.
#pragma once

#include <string>

#include "app/module_identity.h"
#include "link/driver.h"
#include "link/module_choice.h"

namespace zavi {

class ComDriver;

struct ModuleDriver {
    ModuleRoute route = ModuleRoute::none;
    bool bad_option = false;   // --port given badly; `problem` says what is wrong
    Driver* driver = nullptr;  // null for none and a bad option
    ComDriver* com = nullptr;  // the driver again for the COM routes
    std::wstring problem;
};

// `command_line` as GetCommandLineW gives it. The driver lives until the process ends.
ModuleDriver choose_module_driver(const wchar_t* command_line);

// Which module `handle`, open on the chosen driver, reaches: the D2XX device's serial number,
// or the one in the device instance of its COM port.
ModuleIdentity identify_module(const ModuleDriver& chosen, DriverHandle handle);

}  // namespace zavi
