// How this run of the program reaches the module, for the user to see: "D2XX" through FTDI's
// library, "COM5" through a COM port. Set by the platform layer at start-up; empty in tests.
#pragma once

#include <string>

namespace zavi {

// Asked when the text is needed, since the port in use is settled by discovery.
using ModulePathSource = std::string (*)();
void set_module_path_source(ModulePathSource source);
std::string module_path();

// True when FTD2XX.dll was missing and the search for FTDI COM ports found none either, so that
// the driver-missing message can say so.
void set_no_ftdi_com_port(bool none);
bool no_ftdi_com_port();

}  // namespace zavi
