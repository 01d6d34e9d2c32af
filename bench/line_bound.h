// The fastest an exchange can possibly go on the serial line as the simulated module models it:
// the request at `baud` (10 bits a byte), the module's answer time, the answer at `baud`, and
// the USB-serial chip's batching (a batch goes to the host when 62 bytes have gathered, or when
// the latency timer, started by the batch's first byte, runs out). Times in microseconds from
// the moment the request is written; every byte time is rounded down, as the simulator does.
#pragma once

#include <cstdint>

#include "sim/simulator.h"

namespace zavi::bench {

// Time on the line for `bytes` bytes.
uint64_t line_time_us(uint64_t bytes, uint32_t baud);

// When the last of `answer` bytes reaches the host after a `request`-byte request was written.
// A request with no answer ends when its last byte reached the module.
uint64_t exchange_bound_us(uint32_t request, uint32_t answer, const sim::Timing& timing);

// The rule of thumb: all bytes at the line rate plus one latency period and one answer time per
// exchange. It starts the latency timer at the last byte of an answer, so it is above
// exchange_bound_us whenever an answer has more than one byte.
uint64_t rule_of_thumb_us(uint64_t bytes, uint32_t exchanges, const sim::Timing& timing);

}  // namespace zavi::bench
