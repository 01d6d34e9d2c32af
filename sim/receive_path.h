// The bytes on their way from a module to the host: when each reaches the USB-serial chip, and
// when the chip hands it to the host. With realistic timing the chip passes bytes on in
// batches: as soon as 62 have gathered, or when its latency timer runs out (started by the
// first byte of a batch). Otherwise each byte is the host's the moment it reaches the chip.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

namespace zavi::sim {

class ReceivePath {
  public:
    static constexpr std::size_t kBatchBytes = 62;

    void set_batching(bool on, uint32_t latency_ms);
    void add(uint8_t byte, uint64_t arrival_us);
    uint64_t last_arrival_us() const { return last_arrival_; }
    void clear();

    // Hands the host every batch that is complete by `now_us`.
    void advance(uint64_t now_us);
    std::size_t available() const { return host_.size(); }
    // When the next batch reaches the host; false when no byte is on its way.
    bool next_delivery(uint64_t* at_us) const;
    std::size_t take(uint8_t* out, std::size_t count);

  private:
    struct Arrival {
        uint8_t byte;
        uint64_t at_us;
    };
    bool next_batch(std::size_t* count, uint64_t* at_us) const;

    bool batching_ = false;
    uint64_t latency_us_ = 0;
    uint64_t last_arrival_ = 0;
    std::deque<Arrival> chip_;
    std::deque<uint8_t> host_;
};

}  // namespace zavi::sim
