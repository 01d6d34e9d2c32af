#include "commission/survey_run.h"

#include <algorithm>

#include "commission/clock_text.h"

namespace zavi::commission {

SurveyResult run_survey(DriverHandle handle, const Pace& pace, uint64_t duration_us,
                        const std::atomic<bool>& stop,
                        const std::function<void(const SurveySample&)>& on_sample) {
    SurveyResult r;
    r.started = local_time_now();
    const uint64_t start = pace.now_us();
    const uint64_t deadline = start + std::min(duration_us, kMaxSurveyUs);
    const auto since = [&] { return (pace.now_us() - start) / 1e6; };
    uint64_t last = 0;
    while (!stop && pace.now_us() < deadline) {
        if (!r.samples.empty()) pause_until(pace, last + kMinSampleSpacingUs, stop);
        if (stop || pace.now_us() >= deadline) break;
        last = pace.now_us();
        Snapshot s;
        if (!read_signal(handle, &s)) {
            r.interrupted = true;
            break;
        }
        r.samples.push_back({since(), local_time_now(), s.signal_dbm});
        if (on_sample) on_sample(r.samples.back());
    }
    r.duration_s = since();
    return r;
}

}  // namespace zavi::commission
