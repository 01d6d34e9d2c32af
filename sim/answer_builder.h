// Turns the module's answer to one request into the bytes it sends, with the faults that apply
// to that request.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "sim/simulator.h"

namespace zavi::sim {

struct OutgoingAnswer {
    std::vector<uint8_t> wire;  // empty: nothing is sent
    uint64_t delay_us = 0;      // extra time before the first byte
    uint32_t drip_us = 0;       // when non-zero, the gap between two answer bytes
};

// The 5-byte acknowledgement of a write: "S", command, 00, CRC, end byte, not escaped.
std::vector<uint8_t> ack_frame(uint8_t command);

// `ack` selects the acknowledgement instead of a response frame carrying `data`. `previous`
// is the last answer this module sent (for the stale and previous-answer faults).
OutgoingAnswer build_answer(uint8_t command, bool ack, std::span<const uint8_t> data,
                            std::span<const Fault* const> faults,
                            std::span<const uint8_t> previous);

}  // namespace zavi::sim
