// Which module a handle reaches: the serial number of its USB chip as the platform layer finds
// it (D2XX device information, a COM port's device instance), and how it is reached. The
// platform answers through its Shell; without an answer every module's identity is unknown.
#pragma once

#include <string>

#include "link/driver.h"

namespace zavi {

struct ModuleIdentity {
    std::string serial;      // a fleet identity, or fleet::kUnknownIdentity
    std::string connection;  // "D2XX (USB), device 0", "COM5"; "" when not known
    bool known() const;
};

// The identity of a module whose chip gave `raw_serial` ("" when none).
ModuleIdentity make_module_identity(const std::string& raw_serial, std::string connection);

// Who can tell which module an open handle reaches: the platform, through its Shell.
class ModuleIdentifier {
  public:
    virtual ~ModuleIdentifier() = default;
    // Ask while the module is attached: a module pulled out later cannot be asked. Unknown
    // unless the platform knows better.
    virtual ModuleIdentity module_identity(DriverHandle handle) const;
};

// "Module A50285BI" / "Module of unknown identity (its port gives no USB serial number)", as
// the program tells the user which module's history it kept.
std::string identity_text(const ModuleIdentity& identity, uint8_t language);

}  // namespace zavi
