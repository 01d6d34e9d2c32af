// Live status in the main window: the worker's loop (status parts 0, 1, 2 again and again) and
// what the window does with each cycle: the panels redrawn, changed values bold for a while.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>

#include "commission/live_loop.h"
#include "commission/snapshot.h"
#include "link/driver.h"
#include "ui/dialog_view.h"

namespace zavi {

constexpr uint64_t kLiveIntervalUs = 1'000'000;  // a cycle every second
constexpr uint64_t kChangedBoldUs = 2'000'000;   // how long a changed value stays bold

// What the worker hands over with each IDC_LIVE_CYCLE: kept by the window, filled by the worker
// and read by the window's thread while the worker waits for it.
struct LiveCycle {
    bool failed = false;  // a read failed: the loop has ended
    bool finish = false;  // set by the window while it takes a cycle: the loop ends after it
};

// What each cycle reads: status parts 0, 1, 2, or part 0 alone (the signal survey).
enum class LiveParts { all, signal };

// The worker's part: cycles on `handle` until `stop`, filling `cycle` and calling `deliver`
// (which must return only once the window has taken the cycle) after each complete one, and
// once more with `failed` set when a read failed while nobody had asked to stop.
void run_live_status(DriverHandle handle, uint64_t interval_us, const std::atomic<bool>& stop,
                     const commission::Pace& pace, LiveCycle& cycle,
                     const std::function<void()>& deliver);
// The same with status part 0 alone, one exchange after the other.
void run_signal_samples(DriverHandle handle, const std::atomic<bool>& stop, LiveCycle& cycle,
                        const std::function<void()>& deliver);

// The window's part: what is on screen and which values are bold until when.
class LiveStatusView {
  public:
    // The live status starts from what the panels show now (device_status).
    void start();
    // A cycle came in at `now_us`: the panels are redrawn from device_status and what changed
    // against the last cycle is bold; bold values older than kChangedBoldUs turn normal.
    void show_cycle(DialogView& view, uint64_t now_us);
    // Everything back to the normal font.
    void stop(DialogView& view);

  private:
    commission::Snapshot shown_;
    std::map<int, uint64_t> bold_until_;  // control -> time its bold ends
};

}  // namespace zavi
