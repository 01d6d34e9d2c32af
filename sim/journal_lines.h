// What the drop-in DLL and zavi-sim-serve do alike after each write: the frames the module took
// as journal lines, and the saved module states taken over into a scenario.
#pragma once

#include <functional>
#include <string>

#include "sim/simulator.h"

namespace zavi::sim {

// Hands every journaled frame to `line` as one JSON object ({"event":"frame","module":0,
// "command":8,"data":"00","wire":"4D0802CA0016","valid":true}) and clears the journal. True
// when a write command was among them, so that the state is to be saved. `first_module` is
// added to the driver's module numbers (a driver of one module that is not the first).
bool drain_journal(SimDriver& driver, const std::function<void(const std::string&)>& line,
                   int first_module = 0);

// Each module of `scenario` takes the state of the module at its index in `saved`.
void take_states(const Scenario& saved, Scenario* scenario);

}  // namespace zavi::sim
