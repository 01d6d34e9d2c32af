// A driver that plays the module from fuzz input: each request the program writes takes the
// next reply cut from the input, and the reads hand out that reply's bytes. Nothing waits: the
// link clock is virtual and moves by one millisecond per byte and by the read time-out when a
// read comes back short. Every request written is kept for the targets' checks.
//
// Reply format: two bytes of length (most significant first), then that many bytes (fewer when
// the input ends early). Length 0xFFFF makes the read call itself fail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "link/driver.h"
#include "link/result.h"

namespace zavi::fuzz {

constexpr uint16_t kReadFails = 0xFFFF;

class AnswerDriver : public Driver {
  public:
    explicit AnswerDriver(std::span<const uint8_t> replies);
    ~AnswerDriver() override;
    AnswerDriver(const AnswerDriver&) = delete;
    AnswerDriver& operator=(const AnswerDriver&) = delete;

    DriverStatus count_devices(uint32_t* count) override;
    DriverStatus open_by_index(int index, DriverHandle* handle) override;
    DriverStatus set_timeouts(DriverHandle handle, uint32_t read_ms, uint32_t write_ms) override;
    DriverStatus purge(DriverHandle handle, uint32_t mask) override;
    DriverStatus write(DriverHandle handle, const void* buffer, uint32_t count,
                       uint32_t* written) override;
    DriverStatus read(DriverHandle handle, void* buffer, uint32_t count, uint32_t* got) override;
    DriverStatus close(DriverHandle handle) override;

    bool timeouts_fail = false;  // set_timeouts returns an error status

    DriverHandle handle() const;
    uint64_t elapsed_us() const;  // virtual time since the driver was made
    int open_handles() const { return open_handles_; }
    // Every write as it was given, one entry per call.
    const std::vector<std::vector<uint8_t>>& requests() const { return requests_; }

  private:
    struct Reply {
        std::span<const uint8_t> bytes;
        bool read_fails = false;
    };

    std::vector<Reply> replies_;
    std::size_t next_reply_ = 0;
    Reply current_{};
    std::size_t offset_ = 0;
    uint32_t read_timeout_ms_ = 1000;
    int open_handles_ = 0;
    std::vector<std::vector<uint8_t>> requests_;
};

// Packs replies in the format above (for corpus files and tests).
std::vector<uint8_t> pack_replies(const std::vector<std::vector<uint8_t>>& replies);

}  // namespace zavi::fuzz
