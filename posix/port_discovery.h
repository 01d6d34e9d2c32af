// Where a ZAVI-GSM module may be on Linux: the serial ports of FTDI's USB chips. Both the
// stable names udev makes (/dev/serial/by-id/usb-FTDI_*) and the kernel's ttyUSB* devices whose
// USB vendor is FTDI (0x0403, from sysfs) count; one port found both ways is listed once, under
// its stable name.
#pragma once

#include <string>
#include <vector>

namespace zavi::posix {

constexpr char kFtdiVendorId[] = "0403";

// Paths of the FTDI serial ports: the stable names first, then the remaining ttyUSB*, each
// group sorted. The roots stand in for /dev and /sys in tests.
std::vector<std::string> find_ftdi_ports(const std::string& dev_root = "/dev",
                                         const std::string& sys_root = "/sys");

}  // namespace zavi::posix
