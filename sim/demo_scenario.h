// The module the drop-in driver simulates when no scenario file is given: a plausible
// installation with readings, state texts, numbers and names, for the demo and for trying out
// the program without hardware.
#pragma once

#include "sim/simulator.h"

namespace zavi::sim {

// Its status stands still (tests compare against it).
Scenario demo_scenario();

// The same module coming alive: doors and windows open and close, the pump and the mains
// switch, the signal and the temperatures wander, in a 30-second loop.
Timeline demo_timeline();
Scenario live_demo_scenario();

}  // namespace zavi::sim
