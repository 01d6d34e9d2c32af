// Which module is which: the serial number of the module's USB chip, taken from the name the
// system gives its port. It names the module's folder of kept copies, so only a plain name of
// letters, digits, '.', '_' and '-' counts; anything else is no identity at all.
#pragma once

#include <string>
#include <string_view>

namespace zavi::fleet {

// The folder and the word for a module whose chip's serial number is not known.
constexpr char kUnknownIdentity[] = "unknown";

// True for a serial number that can name a folder on every system.
bool is_identity(std::string_view serial);

// The serial number in a Linux port path: /dev/serial/by-id/usb-FTDI_<product>_<serial>-if00-port0
// or the package's /dev/zavi-gsm-<serial> link. Empty for any other path (/dev/ttyUSB0).
std::string identity_from_port_path(std::string_view path);

// The serial number in a Windows device instance ID: FTDIBUS\VID_0403+PID_6001+<serial>A\0000
// (the driver adds the port letter) or USB\VID_0403&PID_6001\<serial>. Empty when the ID holds
// none (Windows makes one with '&' for a chip without a serial number).
std::string identity_from_instance_id(std::string_view id);

// `serial` when it is an identity, otherwise kUnknownIdentity.
std::string identity_or_unknown(std::string_view serial);

}  // namespace zavi::fleet
