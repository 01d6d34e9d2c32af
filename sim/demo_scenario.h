// The module the drop-in driver simulates when no scenario file is given: a plausible
// installation with readings, state texts, numbers and names, for the demo and for trying out
// the program without hardware.
#pragma once

#include "sim/simulator.h"

namespace zavi::sim {

Scenario demo_scenario();

}  // namespace zavi::sim
