// Which module a handle reaches: the serial number of its USB chip as the platform layer finds
// it (D2XX device information, a COM port's device instance), and how it is reached. Set by the
// platform layer at start-up; without it every module's identity is unknown.
#pragma once

#include <string>

#include "link/driver.h"

namespace zavi {

struct ModuleIdentity {
    std::string serial;      // a fleet identity, or fleet::kUnknownIdentity
    std::string connection;  // "D2XX (USB), device 0", "COM5"; "" when not known
    bool known() const;
};

// The platform's answer for an open handle: the raw serial ("" when none) and the connection.
using ModuleIdentitySource = void (*)(DriverHandle handle, std::string* serial,
                                      std::string* connection);
void set_module_identity_source(ModuleIdentitySource source);

// Ask while the module is attached: a module pulled out later cannot be asked.
ModuleIdentity module_identity(DriverHandle handle);

// "Module A50285BI" / "Module of unknown identity (its port gives no USB serial number)", as
// the program tells the user which module's history it kept.
std::string identity_text(const ModuleIdentity& identity, uint8_t language);

}  // namespace zavi
