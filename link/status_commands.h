// Live status, alarm settings and reset.
#pragma once

#include <cstdint>

#include "link/driver.h"
#include "link/result.h"

namespace zavi {

// Command 8: one part (0, 1 or 2) of device_status. Results 0 to 5 (see connection.h); an
// answer whose texts run past the end of its data is malformed and gives 5 like a wrong echo.
// Texts longer than their slot are cut to it. A failed read changes nothing.
LinkResult read_status(DriverHandle handle, uint8_t part);
// Command 6: alarm_settings. 0 or 1.
LinkResult read_alarm_settings(DriverHandle handle);
// Command 7: sends alarm_settings (each fraction as 0). 0 or 1.
LinkResult write_alarm_settings(DriverHandle handle);
// Command 15. 0 or 1.
LinkResult reset_device(DriverHandle handle);

}  // namespace zavi
