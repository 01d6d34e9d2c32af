// The user's actions as the link sees them: for each, the module contents it needs, the
// records the program holds before it, and the operations the program runs for it (the same
// functions the worker jobs, the start-up and the Save buttons call).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/result.h"
#include "sim/simulator.h"

namespace zavi::bench {

struct Action {
    std::string name;
    // Puts the module (when one is given) and the program's records where the action starts.
    void (*prepare)(sim::ModuleState* module, int size);
    // Runs the action on device_handle; 0 on success. Start-up opens device_handle itself.
    LinkResult (*run)(int size);
    int size = 0;        // telephone numbers in the lists, for the actions that have them
    bool opens = false;  // start-up: the module must be closed before it
    double ratio = 0;    // a tighter wall/bound target than the common one (0: the common one)
};

std::vector<Action> user_actions();

// The module every action runs against: the demo module with 40-character I/O names.
sim::Scenario bench_scenario();

// Closes device_handle if it is open, or opens it (with the firmware check) if it is not.
void close_module();
bool open_module();

}  // namespace zavi::bench
