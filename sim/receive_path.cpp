#include "sim/receive_path.h"

#include <algorithm>

namespace zavi::sim {

void ReceivePath::set_batching(bool on, uint32_t latency_ms) {
    batching_ = on;
    latency_us_ = uint64_t{latency_ms} * 1000;
}

void ReceivePath::add(uint8_t byte, uint64_t arrival_us) {
    // A module sends one byte after the other: nothing overtakes what is already on its way.
    arrival_us = std::max(arrival_us, last_arrival_);
    chip_.push_back({byte, arrival_us});
    last_arrival_ = arrival_us;
}

void ReceivePath::clear() {
    chip_.clear();
    host_.clear();
    last_arrival_ = 0;
}

bool ReceivePath::next_batch(std::size_t* count, uint64_t* at_us) const {
    if (chip_.empty()) return false;
    if (!batching_) {
        *count = 1;
        *at_us = chip_.front().at_us;
        return true;
    }
    const uint64_t deadline = chip_.front().at_us + latency_us_;
    if (chip_.size() >= kBatchBytes && chip_[kBatchBytes - 1].at_us <= deadline) {
        *count = kBatchBytes;
        *at_us = chip_[kBatchBytes - 1].at_us;
        return true;
    }
    std::size_t n = 0;
    while (n < chip_.size() && n < kBatchBytes && chip_[n].at_us <= deadline) ++n;
    *count = n;
    *at_us = deadline;
    return true;
}

void ReceivePath::advance(uint64_t now_us) {
    std::size_t count = 0;
    uint64_t at = 0;
    while (next_batch(&count, &at) && at <= now_us) {
        for (std::size_t i = 0; i < count; ++i) {
            host_.push_back(chip_.front().byte);
            chip_.pop_front();
        }
    }
}

bool ReceivePath::next_delivery(uint64_t* at_us) const {
    std::size_t count = 0;
    return next_batch(&count, at_us);
}

std::size_t ReceivePath::take(uint8_t* out, std::size_t count) {
    const std::size_t n = std::min(count, host_.size());
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = host_.front();
        host_.pop_front();
    }
    return n;
}

}  // namespace zavi::sim
