#include "bench/replay_driver.h"

#include <algorithm>
#include <cstring>

namespace zavi::bench {

DriverStatus Recorder::write(DriverHandle handle, const void* buffer, uint32_t count,
                             uint32_t* written) {
    const DriverStatus status = inner_.write(handle, buffer, count, written);
    if (status == kDriverOk && written != nullptr && *written > 0) {
        const auto* bytes = static_cast<const uint8_t*>(buffer);
        recorded_.push_back({{bytes, bytes + *written}, {}});
    }
    return status;
}

DriverStatus Recorder::read(DriverHandle handle, void* buffer, uint32_t count, uint32_t* got) {
    const DriverStatus status = inner_.read(handle, buffer, count, got);
    if (status == kDriverOk && got != nullptr && !recorded_.empty()) {
        const auto* bytes = static_cast<const uint8_t*>(buffer);
        auto& answer = recorded_.back().answer;
        answer.insert(answer.end(), bytes, bytes + *got);
    }
    return status;
}

DriverStatus ReplayDriver::count_devices(uint32_t* count) {
    *count = 1;
    return kDriverOk;
}

DriverStatus ReplayDriver::open_by_index(int, DriverHandle* handle) {
    static int token;
    *handle = &token;
    return kDriverOk;
}

DriverStatus ReplayDriver::purge(DriverHandle, uint32_t) {
    answer_ = nullptr;
    return kDriverOk;
}

DriverStatus ReplayDriver::write(DriverHandle, const void* buffer, uint32_t count,
                                 uint32_t* written) {
    *written = count;
    if (next_ >= script_.size()) {
        ++mismatches_;
        answer_ = nullptr;
        return kDriverOk;
    }
    const Recorded& r = script_[next_++];
    if (r.request.size() != count || std::memcmp(r.request.data(), buffer, count) != 0)
        ++mismatches_;
    answer_ = &r.answer;
    taken_ = 0;
    return kDriverOk;
}

DriverStatus ReplayDriver::read(DriverHandle, void* buffer, uint32_t count, uint32_t* got) {
    *got = 0;
    if (answer_ == nullptr) return kDriverOk;
    const std::size_t n = std::min<std::size_t>(count, answer_->size() - taken_);
    std::memcpy(buffer, answer_->data() + taken_, n);
    taken_ += n;
    *got = static_cast<uint32_t>(n);
    return kDriverOk;
}

}  // namespace zavi::bench
