// Where a ZAVI-GSM module may be on Linux: the serial ports of FTDI's USB chips. The links our
// udev rule makes for the module's chip (/dev/zavi-gsm-<serial>), the stable names udev makes
// for every FTDI port (/dev/serial/by-id/usb-FTDI_*) and the kernel's ttyUSB* devices whose USB
// vendor is FTDI (0x0403, from sysfs) count; one port found several ways is listed once, under
// the first of these names.
#pragma once

#include <string>
#include <vector>

namespace zavi::posix {

constexpr char kFtdiVendorId[] = "0403";
constexpr char kModuleLinkPrefix[] = "zavi-gsm-";  // in /dev, made by the package's udev rule

// Paths of the FTDI serial ports: the module links first, then the other stable names, then the
// remaining ttyUSB*, each group sorted. The roots stand in for /dev and /sys in tests.
std::vector<std::string> find_ftdi_ports(const std::string& dev_root = "/dev",
                                         const std::string& sys_root = "/sys");

}  // namespace zavi::posix
