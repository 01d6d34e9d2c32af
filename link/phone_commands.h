// Telephone number lists: accept-all flag, emergency numbers, accepted numbers in blocks of 36.
// Every operation returns 0 on success and 1 on any failure.
#pragma once

#include <cstdint>

#include "link/driver.h"
#include "link/result.h"

namespace zavi {

LinkResult read_accept_all(DriverHandle handle);   // command 18 -> accept_all
LinkResult write_accept_all(DriverHandle handle);  // command 19
// Command 13 -> emergency_numbers/count. Of more than 6 numbers announced the first 6 are kept;
// the answer must hold every number it announces.
LinkResult read_emergency_numbers(DriverHandle handle);
LinkResult write_emergency_numbers(DriverHandle handle);  // command 14, at most 6 numbers
// Command 16: block `block` into accepted_numbers[36 * block ...]; *count receives how many
// numbers were stored (only those that fit the table). A count above 36 is an empty block.
LinkResult read_accepted_block(DriverHandle handle, uint8_t block, uint8_t* count);
// Command 17: `count` numbers from accepted_numbers[36 * block] on, cut to the 36 of a block
// and to the end of the table.
LinkResult write_accepted_block(DriverHandle handle, uint8_t block, uint8_t count);

// The read sequence of the Telephone numbers job: accepted_count = 0, accept-all, emergency
// numbers, then accepted blocks until one holds fewer than 36 numbers (at most 8 blocks).
LinkResult read_phone_numbers(DriverHandle handle);
// The write sequence of the Telephone numbers dialog's Save: read time-out 3000 ms, accept-all,
// emergency numbers, all 8 accepted blocks; the time-out goes back to 1000 ms in every outcome.
LinkResult write_phone_numbers(DriverHandle handle);

}  // namespace zavi
