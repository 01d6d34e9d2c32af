#include "tests/support/scripted_driver.h"

#include <algorithm>
#include <cstring>

#include "link/clock.h"
#include "link/codec.h"

namespace zavi::test {

namespace {

uint64_t virtual_now = 0;
uint64_t virtual_clock() {
    return virtual_now;
}

int token;  // the address is the handle

}  // namespace

ScriptedDriver::ScriptedDriver() {
    // Room for every record up front, so that an exchange does not allocate.
    calls_.reserve(4096);
    write_bytes_.reserve(1 << 16);
    write_spans_.reserve(1024);
    timeouts_.reserve(256);
    purge_masks_.reserve(1024);
    read_asks_.reserve(4096);
    stream_.reserve(4096);
    virtual_now = 1'000'000;
    set_clock(virtual_clock);
    set_driver(this);
}

ScriptedDriver::~ScriptedDriver() {
    set_driver(nullptr);
    set_clock(nullptr);
}

void ScriptedDriver::reply(Bytes bytes, uint64_t delay_us) {
    std::vector<Chunk> chunks;
    chunks.push_back({std::move(bytes), delay_us});
    reply_chunks(std::move(chunks));
}

void ScriptedDriver::reply_chunks(std::vector<Chunk> chunks) {
    const std::size_t begin = chunks_.size();
    for (auto& c : chunks) chunks_.push_back({std::move(c.bytes), c.delay_us, 0});
    replies_.emplace_back(begin, chunks_.size());
}

void ScriptedDriver::reply_nothing() {
    reply_chunks({});
}

void ScriptedDriver::arrived(Bytes bytes) {
    chunks_.push_back({std::move(bytes), 0, virtual_now});
    stream_.push_back(chunks_.size() - 1);
}

void ScriptedDriver::fail(Call call, int nth, DriverStatus status) {
    fail_rules_.push_back({call, nth, nth, status});
}

void ScriptedDriver::fail_from(Call call, int nth, DriverStatus status) {
    fail_rules_.push_back({call, nth, -1, status});
}

void ScriptedDriver::short_write(int nth) {
    short_writes_.push_back(nth);
}

int ScriptedDriver::count_of(Call call) const {
    return static_cast<int>(std::count(calls_.begin(), calls_.end(), call));
}

Bytes ScriptedDriver::written(std::size_t i) const {
    const auto [begin, end] = write_spans_.at(i);
    return Bytes(write_bytes_.begin() + begin, write_bytes_.begin() + end);
}

DriverHandle ScriptedDriver::handle() const {
    return &token;
}
uint64_t ScriptedDriver::now_us() const {
    return virtual_now;
}
void ScriptedDriver::advance_us(uint64_t us) {
    virtual_now += us;
}

DriverStatus ScriptedDriver::enter(Call call) {
    calls_.push_back(call);
    const int nth = calls_of_[static_cast<int>(call)]++;
    for (const auto& rule : fail_rules_)
        if (rule.call == call && nth >= rule.first && (rule.last < 0 || nth <= rule.last))
            return rule.status;
    return kDriverOk;
}

void ScriptedDriver::schedule_next_reply() {
    if (next_reply_ >= replies_.size()) return;
    const auto [begin, end] = replies_[next_reply_++];
    uint64_t t = virtual_now;
    for (std::size_t i = begin; i < end; ++i) {
        t += chunks_[i].delay_us;
        chunks_[i].arrival_us = t;
        stream_.push_back(i);
    }
}

DriverStatus ScriptedDriver::count_devices(uint32_t* count) {
    const DriverStatus status = enter(Call::count);
    *count = device_count;
    return status;
}

DriverStatus ScriptedDriver::open_by_index(int, DriverHandle* handle) {
    const DriverStatus status = enter(Call::open);
    if (status != kDriverOk) return status;
    *handle = &token;
    ++open_handles_;
    return kDriverOk;
}

DriverStatus ScriptedDriver::set_timeouts(DriverHandle, uint32_t read_ms, uint32_t write_ms) {
    timeouts_.emplace_back(read_ms, write_ms);
    const DriverStatus status = enter(Call::timeouts);
    if (status == kDriverOk) read_timeout_ms_ = read_ms;
    return status;
}

DriverStatus ScriptedDriver::purge(DriverHandle, uint32_t mask) {
    purge_masks_.push_back(mask);
    const DriverStatus status = enter(Call::purge);
    if (status != kDriverOk) return status;
    // Whatever has arrived is dropped; bytes still on their way come later.
    while (stream_pos_ < stream_.size() &&
           chunks_[stream_[stream_pos_]].arrival_us <= virtual_now) {
        ++stream_pos_;
        chunk_offset_ = 0;
    }
    return kDriverOk;
}

DriverStatus ScriptedDriver::write(DriverHandle, const void* buffer, uint32_t count,
                                   uint32_t* written) {
    const int nth = calls_of_[static_cast<int>(Call::write)];
    const DriverStatus status = enter(Call::write);
    const std::size_t begin = write_bytes_.size();
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    write_bytes_.insert(write_bytes_.end(), bytes, bytes + count);
    write_spans_.emplace_back(begin, write_bytes_.size());
    *written = 0;
    if (status != kDriverOk) return status;
    const bool short_one =
        std::find(short_writes_.begin(), short_writes_.end(), nth) != short_writes_.end();
    *written = short_one && count > 0 ? count - 1 : count;
    if (!short_one) schedule_next_reply();
    return kDriverOk;
}

DriverStatus ScriptedDriver::read(DriverHandle, void* buffer, uint32_t count, uint32_t* got) {
    read_asks_.push_back(count);
    *got = 0;
    const DriverStatus status = enter(Call::read);
    if (status != kDriverOk) return status;
    auto* out = static_cast<uint8_t*>(buffer);
    const uint64_t deadline = virtual_now + uint64_t{read_timeout_ms_} * 1000;
    while (*got < count) {
        if (stream_pos_ >= stream_.size()) break;
        const Scheduled& chunk = chunks_[stream_[stream_pos_]];
        if (chunk.arrival_us > virtual_now) {
            if (chunk.arrival_us > deadline) break;
            virtual_now = chunk.arrival_us;  // wait for it
        }
        const std::size_t n =
            std::min<std::size_t>(count - *got, chunk.bytes.size() - chunk_offset_);
        if (n > 0) std::memcpy(out + *got, chunk.bytes.data() + chunk_offset_, n);
        *got += static_cast<uint32_t>(n);
        chunk_offset_ += n;
        if (chunk_offset_ == chunk.bytes.size()) {
            ++stream_pos_;
            chunk_offset_ = 0;
        }
    }
    if (*got < count) virtual_now = std::max(virtual_now, deadline);  // waited out the time-out
    return kDriverOk;
}

DriverStatus ScriptedDriver::close(DriverHandle) {
    const DriverStatus status = enter(Call::close);
    --open_handles_;
    return status;
}

Bytes answer_frame(uint8_t command, const Bytes& data) {
    WireFrame wire;
    encode_frame(kResponseStart, command, data, wire);
    return Bytes(wire.bytes, wire.bytes + wire.size);
}

Bytes request_frame(uint8_t command, const Bytes& data) {
    WireFrame wire;
    encode_frame(kRequestStart, command, data, wire);
    return Bytes(wire.bytes, wire.bytes + wire.size);
}

Bytes ack(uint8_t command) {
    return {kResponseStart, command, 0x00, 0x00, 0x00};
}

}  // namespace zavi::test
