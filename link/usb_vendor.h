// Telling FTDI's USB-serial ports from other makers' by the hardware IDs Windows keeps for each
// device, e.g. "USB\VID_0403&PID_6001&REV_0600" or, for the COM port FTDI's driver creates,
// "FTDIBUS\COMPORT&VID_0403&PID_6001".
#pragma once

#include <string_view>

namespace zavi {

// True when one hardware ID names USB vendor 0x0403. Letters may be in either case; the vendor
// field must stand alone ("VID_04031" is another vendor).
bool hardware_id_is_ftdi(std::string_view id);

// The same over a device's whole list as the system returns it: IDs separated by NUL bytes,
// ended by an empty one (or by the end of the text).
bool any_hardware_id_is_ftdi(std::string_view ids);

}  // namespace zavi
