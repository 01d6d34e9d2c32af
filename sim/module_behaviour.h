// What a module does with a request it accepted: the data of each read answer, and how each
// write changes its state.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "sim/simulator.h"

namespace zavi::sim {

constexpr std::size_t kBlockNumbers = 36;  // telephone numbers per accepted-number block

// The data bytes of the answer to read command `command` (without CRC), never more than one
// frame carries: texts and counts that would not fit are cut.
std::vector<uint8_t> answer_data(const ModuleState& state, uint8_t command,
                                 std::span<const uint8_t> request_data);

// Stores what write command `command` carries. The data has already been checked against the
// command's layout.
void store_write(ModuleState& state, uint8_t command, std::span<const uint8_t> data);

}  // namespace zavi::sim
