// Telephone number lists: accept-all flag, emergency numbers, accepted numbers in blocks of 36.
// Every operation returns 0 on success and 1 on any failure.
#pragma once

#include <cstdint>

#include "link/driver.h"

namespace zavi {

uint8_t read_accept_all(DriverHandle handle);          // command 18 -> accept_all
uint8_t write_accept_all(DriverHandle handle);         // command 19
uint8_t read_emergency_numbers(DriverHandle handle);   // command 13 -> emergency_numbers/count
uint8_t write_emergency_numbers(DriverHandle handle);  // command 14
// Command 16: block `block` into accepted_numbers[36 * block ...]; *count receives how many
// numbers were stored.
uint8_t read_accepted_block(DriverHandle handle, uint8_t block, uint8_t* count);
// Command 17: `count` numbers from accepted_numbers[36 * block] on.
uint8_t write_accepted_block(DriverHandle handle, uint8_t block, uint8_t count);

// The read sequence of the Telephone numbers job: accepted_count = 0, accept-all, emergency
// numbers, then accepted blocks until one holds fewer than 36 numbers (at most 8 blocks).
uint8_t read_phone_numbers(DriverHandle handle);
// The write sequence of the Telephone numbers dialog's Save: read time-out 3000 ms, accept-all,
// emergency numbers, all 8 accepted blocks; the time-out goes back to 1000 ms in every outcome.
uint8_t write_phone_numbers(DriverHandle handle);

}  // namespace zavi
