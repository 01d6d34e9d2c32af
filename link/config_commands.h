// The five small configuration records. Every operation returns 0 on success, 1 on any failure;
// reads fill their record only after every check passed, writes send its current contents.
#pragma once

#include <cstdint>

#include "link/driver.h"

namespace zavi {

uint8_t read_actions(DriverHandle handle);       // command 11 -> action_table
uint8_t write_actions(DriverHandle handle);      // command 12
uint8_t read_call_answer(DriverHandle handle);   // command 22 -> call_answer
uint8_t write_call_answer(DriverHandle handle);  // command 23
uint8_t read_auto_reset(DriverHandle handle);    // command 20 -> auto_reset
uint8_t write_auto_reset(DriverHandle handle);   // command 21
uint8_t read_auto_status(DriverHandle handle);   // command 26 -> auto_status
uint8_t write_auto_status(DriverHandle handle);  // command 27
uint8_t read_sim_codes(DriverHandle handle);     // command 9 -> sim_codes
uint8_t write_sim_codes(DriverHandle handle);    // command 10

}  // namespace zavi
