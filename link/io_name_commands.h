// The twelve I/O state names, in two halves of six.
#pragma once

#include <cstdint>

#include "link/driver.h"
#include "link/result.h"

namespace zavi {

// Command 24: half 0 -> slots 0-5, any other half -> slots 6-11. Results 0 to 5; a name that
// runs past the end of the answer's data gives 5, and names longer than a slot are cut to it.
LinkResult read_io_names(DriverHandle handle, uint8_t half);
// Command 25: the six names of the half, each cut to 40 characters. 0 or 1.
LinkResult write_io_names(DriverHandle handle, uint8_t half);

}  // namespace zavi
