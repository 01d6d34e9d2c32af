// The commissioning reads on the simulated line at a 1 ms latency timer, against the fastest
// the line allows: one live cycle (status parts 0, 1, 2) within 1.10 x its bound, survey
// sampling at 0.9 x or more of the part-0 exchange rate, and a stop asked for during live
// status taking effect within 1.10 x the longest part's bound. Exits 1 when a target is missed.
//   commission_bench [--short]
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include "bench/actions.h"
#include "bench/line_bound.h"
#include "bench/wire_meter.h"
#include "commission/live_loop.h"
#include "link/connection.h"
#include "sim/simulator.h"

namespace zavi::bench {
namespace {

constexpr double kCycleTarget = 1.10, kSurveyTarget = 0.90, kStopTarget = 1.10;

double wall_us() {
    using namespace std::chrono;
    return duration<double, std::micro>(steady_clock::now().time_since_epoch()).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

int run(int cycles, double survey_s, int stops) {
    sim::Scenario scenario = bench_scenario();
    scenario.timing.realistic = true;
    scenario.timing.latency_ms = 1;
    scenario.virtual_time = false;
    sim::SimDriver module(scenario);
    WireMeter meter(module);
    set_driver(&meter);
    if (!open_module()) {
        std::fprintf(stderr, "commission_bench: the module did not open\n");
        return 1;
    }
    int status = 0;
    const std::atomic<bool> never{false};

    // One live cycle, again and again.
    std::vector<double> times;
    uint64_t cycle_bound = 0, longest_part = 0, part0_bound = 0;
    for (int i = 0; i < cycles; ++i) {
        meter.clear();
        commission::Snapshot s;
        bool failed = false;
        const double start = wall_us();
        if (!commission::read_cycle(device_handle, never, &failed, &s)) {
            std::fprintf(stderr, "commission_bench: a live cycle failed\n");
            return 1;
        }
        times.push_back(wall_us() - start);
        if (i == 0) {
            for (const Exchange& e : meter.exchanges()) {
                const uint64_t b = exchange_bound_us(e.request, e.answer, scenario.timing);
                cycle_bound += b;
                longest_part = std::max(longest_part, b);
            }
            part0_bound = exchange_bound_us(meter.exchanges().at(0).request,
                                            meter.exchanges().at(0).answer, scenario.timing);
        }
    }
    const double cycle = median(times);
    const bool cycle_ok = cycle <= kCycleTarget * cycle_bound;
    std::printf("live cycle (parts 0, 1, 2): %.2f ms, bound %.2f ms, %.3f x (target <= %.2f): %s\n",
                cycle / 1000, cycle_bound / 1000.0, cycle / cycle_bound, kCycleTarget,
                cycle_ok ? "ok" : "MISSED");
    if (!cycle_ok) status = 1;

    // Survey sampling: part 0 as fast as the line allows.
    int samples = 0;
    const double start = wall_us();
    while (wall_us() - start < survey_s * 1e6) {
        commission::Snapshot s;
        if (!commission::read_signal(device_handle, &s)) {
            std::fprintf(stderr, "commission_bench: a survey read failed\n");
            return 1;
        }
        ++samples;
    }
    const double rate = samples / ((wall_us() - start) / 1e6);
    const double line_rate = 1e6 / part0_bound;
    const bool survey_ok = rate >= kSurveyTarget * line_rate;
    std::printf(
        "survey sampling: %.1f samples/s, the line allows %.1f/s, %.3f x (target >= %.2f): "
        "%s\n",
        rate, line_rate, rate / line_rate, kSurveyTarget, survey_ok ? "ok" : "MISSED");
    if (!survey_ok) status = 1;

    // A stop during live status: the loop ends after the exchange under way.
    std::vector<double> waits;
    for (int i = 0; i < stops; ++i) {
        std::atomic<bool> stop{false};
        commission::LiveLoop loop(device_handle, commission::real_pace());
        std::atomic<double> ended{0};
        std::thread worker([&] {
            loop.run(0, stop, [](const auto&, const auto&) { return true; });
            ended = wall_us();
        });
        // Somewhere inside a cycle, a different place each time.
        std::this_thread::sleep_for(std::chrono::microseconds(20'000 + 7'919 * i % 60'000));
        const double asked = wall_us();
        stop = true;
        worker.join();
        waits.push_back(ended - asked);
    }
    const double worst = *std::max_element(waits.begin(), waits.end());
    const bool stop_ok = worst <= kStopTarget * longest_part;
    std::printf(
        "stop during live status: worst %.2f ms, median %.2f ms, longest part's bound "
        "%.2f ms, %.3f x (target <= %.2f): %s\n",
        worst / 1000, median(waits) / 1000, longest_part / 1000.0, worst / longest_part,
        kStopTarget, stop_ok ? "ok" : "MISSED");
    if (!stop_ok) status = 1;
    close_module();
    set_driver(nullptr);
    return status;
}

}  // namespace
}  // namespace zavi::bench

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--short") == 0) return zavi::bench::run(10, 1.0, 10);
    if (argc != 1) {
        std::fprintf(stderr, "usage: %s [--short]\n", argv[0]);
        return 2;
    }
    return zavi::bench::run(50, 5.0, 40);
}
