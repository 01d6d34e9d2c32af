// A driver for tests that plays a script: each write of a request takes the next queued reply,
// whose bytes arrive in chunks on virtual time; any of the seven calls can be made to fail; every
// call, write and time-out setting is recorded. While it exists it is the process's driver and
// the link clock runs on its virtual time, so a read that would wait moves the clock forward (by
// at most the read time-out) instead of sleeping.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "link/driver.h"

namespace zavi::test {

using Bytes = std::vector<uint8_t>;

enum class Call : uint8_t { count, open, timeouts, purge, write, read, close };

struct Chunk {
    Bytes bytes;
    uint64_t delay_us = 0;  // after the chunk before it, or after the request for the first
};

class ScriptedDriver : public Driver {
  public:
    ScriptedDriver();
    ~ScriptedDriver() override;
    ScriptedDriver(const ScriptedDriver&) = delete;
    ScriptedDriver& operator=(const ScriptedDriver&) = delete;

    // Replies, taken in order by successful writes (a write that fails or comes up short takes
    // none). A write with no reply left gets no answer.
    void reply(Bytes bytes, uint64_t delay_us = 0);
    void reply_chunks(std::vector<Chunk> chunks);
    void reply_nothing();
    // Bytes that are in the receive queue already, ahead of any reply still to come.
    void arrived(Bytes bytes);

    // The `nth` call of that kind (counted from 0 over the driver's life) returns `status`;
    // fail_from makes that call and every later one fail.
    void fail(Call call, int nth = 0, DriverStatus status = 4);
    void fail_from(Call call, int nth, DriverStatus status = 4);
    // The `nth` write reports one byte fewer than it was given.
    void short_write(int nth);

    uint32_t device_count = 1;

    // What happened.
    const std::vector<Call>& calls() const { return calls_; }
    int count_of(Call call) const;
    std::size_t write_count() const { return write_spans_.size(); }
    Bytes written(std::size_t i) const;
    const std::vector<std::pair<uint32_t, uint32_t>>& timeouts() const { return timeouts_; }
    const std::vector<uint32_t>& purge_masks() const { return purge_masks_; }
    const std::vector<uint32_t>& read_asks() const { return read_asks_; }
    int open_handles() const { return open_handles_; }
    DriverHandle handle() const;
    uint64_t now_us() const;
    void advance_us(uint64_t us);

    DriverStatus count_devices(uint32_t* count) override;
    DriverStatus open_by_index(int index, DriverHandle* handle) override;
    DriverStatus set_timeouts(DriverHandle handle, uint32_t read_ms, uint32_t write_ms) override;
    DriverStatus purge(DriverHandle handle, uint32_t mask) override;
    DriverStatus write(DriverHandle handle, const void* buffer, uint32_t count,
                       uint32_t* written) override;
    DriverStatus read(DriverHandle handle, void* buffer, uint32_t count, uint32_t* got) override;
    DriverStatus close(DriverHandle handle) override;

  private:
    struct Scheduled {
        Bytes bytes;
        uint64_t delay_us = 0;
        uint64_t arrival_us = 0;
    };
    struct FailRule {
        Call call;
        int first;
        int last;  // inclusive; -1 for ever
        DriverStatus status;
    };

    DriverStatus enter(Call call);
    void schedule_next_reply();

    std::vector<Scheduled> chunks_;
    std::vector<std::pair<std::size_t, std::size_t>> replies_;  // [begin, end) in chunks_
    std::size_t next_reply_ = 0;
    std::vector<std::size_t> stream_;  // chunks in the order they reach the receive queue
    std::size_t stream_pos_ = 0;
    std::size_t chunk_offset_ = 0;

    std::vector<FailRule> fail_rules_;
    std::vector<int> short_writes_;
    int calls_of_[7] = {};
    uint32_t read_timeout_ms_ = 1000;
    int open_handles_ = 0;

    std::vector<Call> calls_;
    std::vector<uint8_t> write_bytes_;
    std::vector<std::pair<std::size_t, std::size_t>> write_spans_;
    std::vector<std::pair<uint32_t, uint32_t>> timeouts_;
    std::vector<uint32_t> purge_masks_;
    std::vector<uint32_t> read_asks_;
};

// A response frame as the module sends it: "S", the escaped frame, the end byte.
Bytes answer_frame(uint8_t command, const Bytes& data);
// The request frame the program should write.
Bytes request_frame(uint8_t command, const Bytes& data = {});
// A good acknowledgement of `command`.
Bytes ack(uint8_t command);

}  // namespace zavi::test
