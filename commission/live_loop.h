// Reads the live status (parts 0, 1, 2) again and again, one exchange at a time, and says what
// changed. Stops between exchanges when asked, so that another command waits for at most one
// exchange. The clock and the pause are given, so that tests run on the simulated module's
// virtual time.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "commission/snapshot.h"
#include "link/driver.h"

namespace zavi::commission {

struct Pace {
    std::function<uint64_t()> now_us;        // default: the link layer's clock
    std::function<void(uint64_t us)> sleep;  // default: sleeps (in short steps, see run)
};
Pace real_pace();

enum class LoopEnd { stopped, read_failed, finished };

// One cycle: parts 0, 1, 2. False when a read failed or `stop` was set before the cycle was
// complete (*snapshot is then unchanged).
bool read_cycle(DriverHandle handle, const std::atomic<bool>& stop, bool* failed,
                Snapshot* snapshot);
// Status part 0 alone, for the signal survey. False when the read failed.
bool read_signal(DriverHandle handle, Snapshot* snapshot);

class LiveLoop {
  public:
    // `on_cycle` gets each complete snapshot with the changes against the one before (all
    // fields on the first) and returns false to end the loop.
    using OnCycle = std::function<bool(const Snapshot&, const std::vector<FieldChange>&)>;

    LiveLoop(DriverHandle handle, Pace pace) : handle_(handle), pace_(std::move(pace)) {}

    // Cycles start every `interval_us` (at once again when a cycle took longer) until `stop`,
    // a failed read, or `on_cycle` returns false.
    LoopEnd run(uint64_t interval_us, const std::atomic<bool>& stop, const OnCycle& on_cycle);

    uint64_t cycles() const { return cycles_; }

  private:
    DriverHandle handle_;
    Pace pace_;
    uint64_t cycles_ = 0;
};

// Sleeps until `until_us` on `pace`'s clock in steps of at most 50 ms, returning early when
// `stop` is set.
void pause_until(const Pace& pace, uint64_t until_us, const std::atomic<bool>& stop);

}  // namespace zavi::commission
