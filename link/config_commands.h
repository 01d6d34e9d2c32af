// The five small configuration records. Every operation returns 0 on success, 1 on any failure;
// reads fill their record only after every check passed, writes send its current contents.
#pragma once

#include <cstdint>

#include "link/driver.h"
#include "link/result.h"

namespace zavi {

LinkResult read_actions(DriverHandle handle);       // command 11 -> action_table
LinkResult write_actions(DriverHandle handle);      // command 12
LinkResult read_call_answer(DriverHandle handle);   // command 22 -> call_answer
LinkResult write_call_answer(DriverHandle handle);  // command 23
LinkResult read_auto_reset(DriverHandle handle);    // command 20 -> auto_reset
LinkResult write_auto_reset(DriverHandle handle);   // command 21
LinkResult read_auto_status(DriverHandle handle);   // command 26 -> auto_status
LinkResult write_auto_status(DriverHandle handle);  // command 27
LinkResult read_sim_codes(DriverHandle handle);     // command 9 -> sim_codes
LinkResult write_sim_codes(DriverHandle handle);    // command 10

}  // namespace zavi
