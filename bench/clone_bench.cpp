// Several modules at once: a clone onto N simulated modules on N ports, each with realistic
// line timing, against the same clone onto one. The ports run in parallel, so N of them must
// take at most 1.15 times the time of one. Exits 1 when a clone fails or misses the target.
//   clone_bench [--reps R]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "config/operations.h"
#include "fleet/clone_runner.h"
#include "link/connection.h"
#include "sim/demo_scenario.h"
#include "sim/simulator.h"

namespace zavi::bench {
namespace {

constexpr double kTarget = 1.15;
constexpr int kCounts[] = {1, 2, 4, 8};

class NoNotice : public FirmwareNotice {
    void firmware_mismatch(std::string_view) override {}
};

sim::Scenario line_module() {
    sim::Scenario s = sim::demo_scenario();
    s.virtual_time = false;
    s.timing.realistic = true;  // 9600 baud, 16 ms latency timer, 5 ms answer time
    return s;
}

// The demo module with another auto-reset period and 40 accepted numbers: a full read, two
// differing records (two blocks of numbers) and their read-back.
config::Configuration target() {
    config::Configuration cfg;
    sim::Scenario s = line_module();
    s.timing.realistic = false;
    sim::SimDriver quick(s);
    set_driver(&quick);
    DriverHandle h = nullptr;
    NoNotice notice;
    open_device(0, &h, 1, notice);
    config::Record failed{};
    config::read_configuration(h, false, {}, &cfg, &failed);
    quick.close(h);
    set_driver(nullptr);
    cfg.auto_reset_days = 3;
    cfg.accepted_numbers.clear();
    for (int i = 0; i < 40; ++i)
        cfg.accepted_numbers.push_back("4860000" + std::to_string(1000 + i));
    return cfg;
}

// Seconds for a clone onto `n` fresh modules; false when any of them did not succeed.
bool clone_onto(int n, const config::Configuration& cfg, const std::string& backups,
                double* seconds) {
    std::vector<std::unique_ptr<sim::SimDriver>> modules;
    std::vector<fleet::CloneJob> jobs;
    for (int i = 0; i < n; ++i) {
        modules.push_back(std::make_unique<sim::SimDriver>(line_module()));
        jobs.push_back({"sim:" + std::to_string(i), "", "", cfg});
    }
    fleet::CloneOptions options;
    options.backup_folder = backups;
    options.open = [&](std::size_t i, std::string* why) -> DriverHandle {
        set_driver(modules[i].get());
        DriverHandle h = nullptr;
        NoNotice notice;
        if (open_device(0, &h, 1, notice) != kOpenOk) *why = "no answer";
        return h;
    };
    const auto start = std::chrono::steady_clock::now();
    const auto results = fleet::run_clone(jobs, options);
    *seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return std::all_of(results.begin(), results.end(),
                       [](const fleet::CloneResult& r) { return r.succeeded(); });
}

int run(int reps) {
    char folder[] = "/tmp/zavi-clone-bench-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    const config::Configuration cfg = target();
    std::printf("| modules | median s | ratio to one | target |\n|---|---|---|---|\n");
    double one = 0;
    bool ok = true;
    for (const int n : kCounts) {
        std::vector<double> times;
        for (int r = 0; r < reps; ++r) {
            double s = 0;
            if (!clone_onto(n, cfg, folder, &s)) {
                std::printf("clone onto %d modules failed\n", n);
                return 1;
            }
            times.push_back(s);
        }
        std::sort(times.begin(), times.end());
        const double median = times[times.size() / 2];
        if (n == 1) one = median;
        const double ratio = median / one;
        const bool met = n == 1 || ratio <= kTarget;
        ok = ok && met;
        std::printf("| %d | %.3f | %.3f | %s |\n", n, median, ratio,
                    n == 1 ? "-" : (met ? "<= 1.15 met" : "<= 1.15 MISSED"));
    }
    std::string rm = std::string("rm -rf ") + folder;
    if (std::system(rm.c_str()) != 0) std::printf("(%s left behind)\n", folder);
    return ok ? 0 : 1;
}

}  // namespace
}  // namespace zavi::bench

int main(int argc, char** argv) {
    int reps = 3;
    if (argc == 3 && std::strcmp(argv[1], "--reps") == 0) reps = std::max(1, std::atoi(argv[2]));
    return zavi::bench::run(reps);
}
