#include "fuzz/answer_driver.h"

#include <algorithm>
#include <cstring>

#include "link/clock.h"

namespace zavi::fuzz {

namespace {

constexpr uint64_t kStartUs = 1'000'000;
uint64_t virtual_now = 0;
uint64_t virtual_clock() {
    return virtual_now;
}

constexpr uint64_t kByteTimeUs = 1000;  // about one byte at 9600 baud
int token;                              // its address is the handle

}  // namespace

AnswerDriver::AnswerDriver(std::span<const uint8_t> input) {
    std::size_t pos = 0;
    while (pos + 2 <= input.size()) {
        const uint16_t length = static_cast<uint16_t>(input[pos] << 8 | input[pos + 1]);
        pos += 2;
        if (length == kReadFails) {
            replies_.push_back({{}, true});
            continue;
        }
        const std::size_t n = std::min<std::size_t>(length, input.size() - pos);
        replies_.push_back({input.subspan(pos, n), false});
        pos += n;
    }
    virtual_now = kStartUs;
    set_clock(virtual_clock);
    set_driver(this);
}

AnswerDriver::~AnswerDriver() {
    set_driver(nullptr);
    set_clock(nullptr);
}

DriverHandle AnswerDriver::handle() const {
    return &token;
}
uint64_t AnswerDriver::elapsed_us() const {
    return virtual_now - kStartUs;
}

DriverStatus AnswerDriver::count_devices(uint32_t* count) {
    *count = 1;
    return kDriverOk;
}

DriverStatus AnswerDriver::open_by_index(int, DriverHandle* handle) {
    *handle = &token;
    ++open_handles_;
    return kDriverOk;
}

DriverStatus AnswerDriver::set_timeouts(DriverHandle, uint32_t read_ms, uint32_t) {
    if (timeouts_fail) return 4;
    read_timeout_ms_ = read_ms;
    return kDriverOk;
}

DriverStatus AnswerDriver::purge(DriverHandle, uint32_t) {
    // The reply of the next request is not there yet, and the rest of the last one is dropped.
    current_ = {};
    offset_ = 0;
    return kDriverOk;
}

DriverStatus AnswerDriver::write(DriverHandle, const void* buffer, uint32_t count,
                                 uint32_t* written) {
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    requests_.emplace_back(bytes, bytes + count);
    *written = count;
    current_ = next_reply_ < replies_.size() ? replies_[next_reply_++] : Reply{};
    offset_ = 0;
    return kDriverOk;
}

DriverStatus AnswerDriver::read(DriverHandle, void* buffer, uint32_t count, uint32_t* got) {
    *got = 0;
    if (current_.read_fails) return 4;
    const std::size_t n = std::min<std::size_t>(count, current_.bytes.size() - offset_);
    if (n > 0) std::memcpy(buffer, current_.bytes.data() + offset_, n);
    offset_ += n;
    *got = static_cast<uint32_t>(n);
    virtual_now += n * kByteTimeUs;
    if (n < count) virtual_now += uint64_t{read_timeout_ms_} * 1000;
    return kDriverOk;
}

DriverStatus AnswerDriver::close(DriverHandle) {
    --open_handles_;
    return kDriverOk;
}

std::vector<uint8_t> pack_replies(const std::vector<std::vector<uint8_t>>& replies) {
    std::vector<uint8_t> out;
    for (const auto& r : replies) {
        const std::size_t n = std::min<std::size_t>(r.size(), kReadFails - 1);
        out.push_back(static_cast<uint8_t>(n >> 8));
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), r.begin(), r.begin() + static_cast<std::ptrdiff_t>(n));
    }
    return out;
}

}  // namespace zavi::fuzz
