// Samples the signal (status part 0) as fast as the line allows for a given time, until a
// stop, or until a read fails (the result is then marked interrupted and keeps its samples).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "commission/live_loop.h"
#include "commission/survey.h"

namespace zavi::commission {

constexpr uint64_t kMaxSurveyUs = 600'000'000;  // 10 minutes
// No real line answers faster; a simulated module without line timing would fill memory.
constexpr uint64_t kMinSampleSpacingUs = 2'000;

// `on_sample` (may be empty) sees each sample as it is taken, for a live plot.
SurveyResult run_survey(DriverHandle handle, const Pace& pace, uint64_t duration_us,
                        const std::atomic<bool>& stop,
                        const std::function<void(const SurveySample&)>& on_sample = {});

}  // namespace zavi::commission
