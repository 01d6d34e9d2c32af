// A driver that plays back answers recorded from the simulated module, with next to no work of
// its own, so that the program's own CPU time per exchange can be measured apart from the
// simulator's. Each request written must be the recorded one; a mismatch is counted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "bench/pass_through_driver.h"
#include "link/driver.h"

namespace zavi::bench {

struct Recorded {
    std::vector<uint8_t> request;
    std::vector<uint8_t> answer;
};

// Records the requests and answers that pass through to `inner`.
class Recorder : public PassThroughDriver {
  public:
    explicit Recorder(Driver& inner) : PassThroughDriver(inner) {}
    const std::vector<Recorded>& recorded() const { return recorded_; }
    void clear() { recorded_.clear(); }

    DriverStatus write(DriverHandle handle, const void* buffer, uint32_t count,
                       uint32_t* written) override;
    DriverStatus read(DriverHandle handle, void* buffer, uint32_t count, uint32_t* got) override;

  private:
    std::vector<Recorded> recorded_;
};

class ReplayDriver : public Driver {
  public:
    explicit ReplayDriver(const std::vector<Recorded>& script) : script_(script) {}
    void rewind() { next_ = 0; }
    std::size_t mismatches() const { return mismatches_; }

    DriverStatus count_devices(uint32_t* count) override;
    DriverStatus open_by_index(int index, DriverHandle* handle) override;
    DriverStatus set_timeouts(DriverHandle, uint32_t, uint32_t) override { return kDriverOk; }
    DriverStatus purge(DriverHandle, uint32_t) override;
    DriverStatus write(DriverHandle handle, const void* buffer, uint32_t count,
                       uint32_t* written) override;
    DriverStatus read(DriverHandle handle, void* buffer, uint32_t count, uint32_t* got) override;
    DriverStatus close(DriverHandle) override { return kDriverOk; }

  private:
    const std::vector<Recorded>& script_;
    std::size_t next_ = 0;  // next recorded exchange
    const std::vector<uint8_t>* answer_ = nullptr;
    std::size_t taken_ = 0;  // bytes of *answer_ already read
    std::size_t mismatches_ = 0;
};

}  // namespace zavi::bench
