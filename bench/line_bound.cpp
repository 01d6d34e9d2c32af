#include "bench/line_bound.h"

#include <algorithm>

namespace zavi::bench {

namespace {

constexpr uint64_t kBitsPerByte = 10;
constexpr uint32_t kBatchBytes = 62;

}  // namespace

uint64_t line_time_us(uint64_t bytes, uint32_t baud) {
    return bytes * kBitsPerByte * 1'000'000 / std::max<uint32_t>(baud, 1);
}

uint64_t exchange_bound_us(uint32_t request, uint32_t answer, const sim::Timing& timing) {
    const uint64_t request_done = line_time_us(request, timing.baud);
    if (answer == 0) return request_done;
    const uint64_t answer_start = request_done + timing.answer_us;
    auto arrival = [&](uint32_t i) { return answer_start + line_time_us(i, timing.baud); };
    const uint64_t latency = uint64_t{timing.latency_ms} * 1000;

    uint64_t delivered = 0;
    uint32_t next = 1;  // first byte not yet handed over
    while (next <= answer) {
        const uint64_t deadline = arrival(next) + latency;
        const uint32_t full = next + kBatchBytes - 1;
        if (full <= answer && arrival(full) <= deadline) {
            delivered = arrival(full);
            next = full + 1;
            continue;
        }
        uint32_t last = next;
        while (last + 1 <= answer && last + 1 < next + kBatchBytes && arrival(last + 1) <= deadline)
            ++last;
        delivered = deadline;
        next = last + 1;
    }
    return delivered;
}

uint64_t rule_of_thumb_us(uint64_t bytes, uint32_t exchanges, const sim::Timing& timing) {
    return line_time_us(bytes, timing.baud) +
           uint64_t{exchanges} * (uint64_t{timing.latency_ms} * 1000 + timing.answer_us);
}

}  // namespace zavi::bench
