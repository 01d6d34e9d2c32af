#include "commission/live_loop.h"

#include <chrono>
#include <optional>
#include <thread>

#include "link/clock.h"
#include "link/status_commands.h"

namespace zavi::commission {

namespace {
constexpr uint64_t kPauseStepUs = 50'000;
}

Pace real_pace() {
    return {[] { return zavi::now_us(); },
            [](uint64_t us) { std::this_thread::sleep_for(std::chrono::microseconds(us)); }};
}

bool read_cycle(DriverHandle handle, const std::atomic<bool>& stop, bool* failed,
                Snapshot* snapshot) {
    *failed = false;
    for (uint8_t part = 0; part < 3; ++part) {
        if (stop) return false;
        if (read_status(handle, part) != kOk) {
            *failed = true;
            return false;
        }
    }
    *snapshot = take_snapshot();
    return true;
}

bool read_signal(DriverHandle handle, Snapshot* snapshot) {
    if (read_status(handle, 0) != kOk) return false;
    *snapshot = take_snapshot();
    return true;
}

void pause_until(const Pace& pace, uint64_t until_us, const std::atomic<bool>& stop) {
    for (;;) {
        if (stop) return;
        const uint64_t now = pace.now_us();
        if (now >= until_us) return;
        pace.sleep(std::min(until_us - now, kPauseStepUs));
    }
}

LoopEnd LiveLoop::run(uint64_t interval_us, const std::atomic<bool>& stop,
                      const OnCycle& on_cycle) {
    std::optional<Snapshot> last;
    for (;;) {
        const uint64_t started = pace_.now_us();
        Snapshot now;
        bool failed = false;
        if (!read_cycle(handle_, stop, &failed, &now))
            return failed ? LoopEnd::read_failed : LoopEnd::stopped;
        ++cycles_;
        // The first cycle reports every field, so a caller has the whole picture.
        std::vector<FieldChange> changed;
        if (last)
            changed = changes(*last, now);
        else
            for (const std::string& f : field_names())
                changed.push_back({f, "", field_text(now, f)});
        last = now;
        if (!on_cycle(now, changed)) return LoopEnd::finished;
        pause_until(pace_, started + interval_us, stop);
        if (stop) return LoopEnd::stopped;
    }
}

}  // namespace zavi::commission
