// Runs every user action against the simulated module and compares its wall time with the
// fastest the serial line allows; then measures the program's own CPU time per exchange with
// the module's answers played back. Exits 1 when an action fails or misses a target.
//   link_bench [--short] [--only TEXT]
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/actions.h"
#include "bench/line_bound.h"
#include "bench/replay_driver.h"
#include "bench/wire_meter.h"
#include "link/connection.h"
#include "link/driver.h"
#include "sim/request_decoder.h"
#include "sim/simulator.h"

namespace zavi::bench {
namespace {

// The line is measured twice: with the chip's factory latency timer and with the 1 ms the
// drivers now set where they can. The tighter timer leaves less room for anything else.
struct Pass {
    uint32_t latency_ms;
    double ratio_target;
    double slack_ms;
};
constexpr Pass kPasses[] = {{16, 1.15, 5.0}, {1, 1.10, 0.0}};
constexpr double kCpuTargetUs = 50.0;
constexpr uint64_t kReadTimeoutUs = 1'000'000;

struct Options {
    int reps = 5;               // timed runs of each action on the line; the median counts
    int cpu_iterations = 2000;  // played-back runs of each action for the CPU figure
    std::string only;           // --only TEXT: the actions whose name holds TEXT
};

struct Row {
    std::string name;
    bool failed = false;
    bool varied = false;  // the exchanges differed between runs
    std::vector<Exchange> exchanges;
    double measured_ms = 0, bound_ms = 0, rule_ms = 0, timeouts_ms = 0;
    double cpu_us = 0, sim_cpu_us = 0;  // per exchange
    double ratio_target = 1.0, slack_ms = 0;
    double action_ratio = 0;  // the action's own tighter target, 0 for none
    uint64_t reads() const {
        uint64_t n = 0;
        for (const Exchange& e : exchanges) n += e.read_calls;
        return n;
    }
    uint64_t bytes() const {
        uint64_t n = 0;
        for (const Exchange& e : exchanges) n += e.request + e.answer;
        return n;
    }
    bool line_ok() const { return measured_ms <= ratio_target * bound_ms + slack_ms; }
    bool cpu_ok() const { return cpu_us < kCpuTargetUs; }
};

double wall_ms() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double thread_cpu_us() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

bool same_exchanges(const std::vector<Exchange>& a, const std::vector<Exchange>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].command != b[i].command || a[i].request != b[i].request ||
            a[i].answer != b[i].answer)
            return false;
    return true;
}

void compute_bounds(Row& row, const sim::Timing& timing) {
    uint64_t bound = 0, timeouts = 0;
    for (const Exchange& e : row.exchanges) {
        const uint64_t exact = exchange_bound_us(e.request, e.answer, timing);
        bound += exact;
        // An answer frame read with a fixed read size would wait out the time-out; the
        // acknowledgement is asked for with its exact size and returns as soon as it is in.
        timeouts += sim::is_write_command(e.command)
                        ? exact
                        : line_time_us(e.request, timing.baud) + kReadTimeoutUs;
    }
    row.bound_ms = bound / 1000.0;
    row.timeouts_ms = timeouts / 1000.0;
    row.rule_ms =
        rule_of_thumb_us(row.bytes(), static_cast<uint32_t>(row.exchanges.size()), timing) / 1000.0;
}

// Wall time of each action on a line with realistic timing, in real time.
void measure_on_line(std::vector<Row>& rows, const std::vector<Action>& actions,
                     const Options& options, const Pass& pass) {
    sim::Scenario scenario = bench_scenario();
    scenario.timing.realistic = true;
    scenario.timing.latency_ms = pass.latency_ms;
    scenario.virtual_time = false;
    sim::SimDriver module(scenario);
    WireMeter meter(module);
    set_driver(&meter);
    for (std::size_t i = 0; i < actions.size(); ++i) {
        const Action& a = actions[i];
        Row& row = rows[i];
        row.ratio_target = row.action_ratio > 0 ? std::min(row.action_ratio, pass.ratio_target)
                                                : pass.ratio_target;
        row.slack_ms = pass.slack_ms;
        std::vector<double> times;
        for (int rep = 0; rep < options.reps; ++rep) {
            if (!a.opens && !open_module()) {
                row.failed = true;
                break;
            }
            a.prepare(&module.state(), a.size);
            module.clear_journal();
            meter.clear();
            const double start = wall_ms();
            const LinkResult result = a.run(a.size);
            const double took = wall_ms() - start;
            if (result != LinkResult::ok) row.failed = true;
            if (rep == 0)
                row.exchanges = meter.exchanges();
            else if (!same_exchanges(row.exchanges, meter.exchanges()))
                row.varied = true;
            times.push_back(took);
        }
        if (!times.empty()) {
            std::sort(times.begin(), times.end());
            row.measured_ms = times[times.size() / 2];
        }
        compute_bounds(row, scenario.timing);
        std::fprintf(stderr, ".");
    }
    std::fprintf(stderr, "\n");
    close_module();
    set_driver(nullptr);
}

// CPU time per exchange of `iterations` runs of `a`. With `replay` the module's answers are
// played back and the handle is the playback's; otherwise `module` answers them.
double cpu_per_exchange(const Action& a, sim::ModuleState* module, int iterations,
                        std::size_t exchanges, ReplayDriver* replay, bool* failed) {
    double total = 0;
    for (int k = 0; k < iterations; ++k) {
        if (replay) {
            replay->rewind();
            device_handle = nullptr;
            if (!a.opens) replay->open_by_index(0, &device_handle);
        } else if (a.opens) {
            close_module();
        } else if (!open_module()) {
            *failed = true;
            return 0;
        }
        a.prepare(module, a.size);
        const double start = thread_cpu_us();
        const LinkResult result = a.run(a.size);
        total += thread_cpu_us() - start;
        if (result != LinkResult::ok) *failed = true;
    }
    if (replay) device_handle = nullptr;
    return exchanges == 0 ? 0 : total / (double(iterations) * double(exchanges));
}

// The program's CPU time per exchange: framing, CRC, escaping, extraction and decoding, with
// the module's answers played back from a recording (the playback costs a memcpy per read and
// is counted in). The simulator's own cost is measured the same way for comparison.
void measure_cpu(std::vector<Row>& rows, const std::vector<Action>& actions,
                 const Options& options) {
    sim::Scenario scenario = bench_scenario();
    scenario.virtual_time = false;  // with timing off nothing waits
    sim::SimDriver module(scenario);
    for (std::size_t i = 0; i < actions.size(); ++i) {
        const Action& a = actions[i];
        Row& row = rows[i];
        Recorder recorder(module);
        set_driver(&recorder);
        if (!a.opens && !open_module()) {
            row.failed = true;
            continue;
        }
        if (a.opens) close_module();
        a.prepare(&module.state(), a.size);
        recorder.clear();
        if (a.run(a.size) != LinkResult::ok) row.failed = true;
        const std::vector<Recorded> script = recorder.recorded();
        close_module();

        ReplayDriver replay(script);
        set_driver(&replay);
        row.cpu_us = cpu_per_exchange(a, nullptr, options.cpu_iterations, script.size(), &replay,
                                      &row.failed);
        if (replay.mismatches() != 0) row.failed = true;

        set_driver(&module);
        const int sim_iterations = std::max(1, options.cpu_iterations / 10);
        row.sim_cpu_us = cpu_per_exchange(a, &module.state(), sim_iterations, script.size(),
                                          nullptr, &row.failed) -
                         row.cpu_us;
        module.clear_journal();
        close_module();
        std::fprintf(stderr, ".");
    }
    std::fprintf(stderr, "\n");
    set_driver(nullptr);
}

void print_table(const std::vector<Row>& rows, const sim::Timing& timing, const Options& options) {
    std::printf(
        "Line: %u baud, 10 bits a byte, latency timer %u ms (62-byte batches), module answer "
        "time %u us; median of %d runs each; CPU over %d played-back runs.\n\n",
        timing.baud, timing.latency_ms, timing.answer_us, options.reps, options.cpu_iterations);
    std::printf("| %-41s | %5s | %5s | %5s | %9s | %9s | %6s | %9s | %10s | %7s | %7s |\n",
                "action", "exch.", "bytes", "reads", "bound ms", "wall ms", "ratio", "rule ms",
                "time-outs", "CPU us", "sim us");
    std::printf("|%s|%s|%s|%s|%s|%s|%s|%s|%s|%s|%s|\n", std::string(43, '-').c_str(),
                std::string(7, '-').c_str(), std::string(7, '-').c_str(),
                std::string(7, '-').c_str(), std::string(11, '-').c_str(),
                std::string(11, '-').c_str(), std::string(8, '-').c_str(),
                std::string(11, '-').c_str(), std::string(12, '-').c_str(),
                std::string(9, '-').c_str(), std::string(9, '-').c_str());
    for (const Row& r : rows) {
        std::string flags;
        if (r.failed) flags += " FAILED";
        if (r.varied) flags += " VARIED";
        if (!r.line_ok()) flags += " SLOW";
        if (!r.cpu_ok()) flags += " CPU";
        std::printf(
            "| %-41s | %5zu | %5llu | %5llu | %9.1f | %9.1f | %6.3f | %9.1f | %8.1f s | %7.1f | "
            "%7.1f "
            "|%s\n",
            r.name.c_str(), r.exchanges.size(), static_cast<unsigned long long>(r.bytes()),
            static_cast<unsigned long long>(r.reads()), r.bound_ms, r.measured_ms,
            r.bound_ms > 0 ? r.measured_ms / r.bound_ms : 0.0, r.rule_ms, r.timeouts_ms / 1000.0,
            r.cpu_us, r.sim_cpu_us, flags.c_str());
    }
}

// What the shorter latency timer saves on each action.
void print_savings(const std::vector<Row>& slow, const std::vector<Row>& fast) {
    std::printf("\n| %-41s | %9s | %9s | %9s | %6s |\n", "action", "16 ms", "1 ms", "saved ms",
                "saved");
    std::printf("|%s|%s|%s|%s|%s|\n", std::string(43, '-').c_str(), std::string(11, '-').c_str(),
                std::string(11, '-').c_str(), std::string(11, '-').c_str(),
                std::string(8, '-').c_str());
    for (std::size_t i = 0; i < slow.size() && i < fast.size(); ++i) {
        const double saved = slow[i].measured_ms - fast[i].measured_ms;
        std::printf("| %-41s | %9.1f | %9.1f | %9.1f | %5.0f%% |\n", slow[i].name.c_str(),
                    slow[i].measured_ms, fast[i].measured_ms, saved,
                    slow[i].measured_ms > 0 ? 100.0 * saved / slow[i].measured_ms : 0.0);
    }
}

int run(const Options& options) {
    std::vector<Action> actions = user_actions();
    std::erase_if(actions,
                  [&](const Action& a) { return a.name.find(options.only) == a.name.npos; });
    std::vector<Row> cpu_rows(actions.size());
    measure_cpu(cpu_rows, actions, options);

    int missed = 0;
    std::vector<std::vector<Row>> tables;
    for (const Pass& pass : kPasses) {
        std::vector<Row> rows(actions.size());
        for (std::size_t i = 0; i < actions.size(); ++i) {
            rows[i].name = actions[i].name;
            rows[i].cpu_us = cpu_rows[i].cpu_us;
            rows[i].sim_cpu_us = cpu_rows[i].sim_cpu_us;
            rows[i].failed = cpu_rows[i].failed;
            rows[i].action_ratio = actions[i].ratio;
        }
        measure_on_line(rows, actions, options, pass);
        sim::Timing timing = bench_scenario().timing;
        timing.latency_ms = pass.latency_ms;
        print_table(rows, timing, options);
        int pass_missed = 0;
        for (const Row& r : rows)
            pass_missed += r.failed || r.varied || !r.line_ok() || !r.cpu_ok();
        if (pass_missed != 0)
            std::printf(
                "\n%d action(s) failed or missed a target (wall <= %.2f x bound + %.0f ms, "
                "CPU < %.0f us per exchange)\n\n",
                pass_missed, pass.ratio_target, pass.slack_ms, kCpuTargetUs);
        else
            std::printf(
                "\nAll targets met: wall <= %.2f x bound + %.0f ms, CPU < %.0f us per "
                "exchange.\n\n",
                pass.ratio_target, pass.slack_ms, kCpuTargetUs);
        missed += pass_missed;
        tables.push_back(std::move(rows));
    }
    print_savings(tables.front(), tables.back());
    return missed != 0 ? 1 : 0;
}

}  // namespace
}  // namespace zavi::bench

int main(int argc, char** argv) {
    zavi::bench::Options options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--short") == 0) {
            options.reps = 3;
            options.cpu_iterations = 200;
        } else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc) {
            options.only = argv[++i];
        } else {
            std::fprintf(stderr, "usage: %s [--short] [--only TEXT]\n", argv[0]);
            return 2;
        }
    }
    return zavi::bench::run(options);
}
