#include "cli/clone_command.h"

#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <ranges>

#include "cli/history_command.h"
#include "cli/module_operations.h"
#include "cli/tool_messages.h"
#include "config/config_file.h"
#include "config/files.h"
#include "config/restore_report.h"
#include "config/sites_table.h"
#include "fleet/clone_runner.h"
#include "fleet/history.h"
#include "fleet/identity.h"
#include "fleet/restore_history.h"
#include "fleet/site_order.h"
#include "link/connection.h"
#include "link/module_choice.h"
#include "sim/demo_scenario.h"
#include "sim/simulator.h"

namespace zavi::cli {

namespace {

using config::RestoreOutcome;
using fleet::CloneResult;

// The word for a module's result in the summary and in JSON.
const char* result_word(const CloneResult& r) {
    const RestoreOutcome o = r.report.outcome;
    if (!r.opened) return "not-opened";
    if (!r.out_error.empty() &&
        (o == RestoreOutcome::verified || o == RestoreOutcome::already_equal))
        return "copy-failed";
    if (const char* word = fleet::restore_result(o)) return word;
    return o == RestoreOutcome::planned         ? "planned"
           : o == RestoreOutcome::read_failed   ? "read-failed"
           : o == RestoreOutcome::backup_failed ? "backup-failed"
                                                : "failed";
}

// A module's exit code, as restore would have ended for it alone.
int module_code(const CloneResult& r, int signal) {
    if (r.succeeded()) return kExitDone;
    if (!r.opened) return kExitNoModule;
    const int code = outcome_code(r.report.outcome, signal);
    return code == kExitDone ? kExitCannotWrite : code;  // the copies in --out could not be saved
}

// What happened on the module, in restore's words.
std::vector<std::string> detail_lines(const CloneResult& r) {
    if (!r.opened) return {r.open_error};
    const config::RestoreReport& report = r.report;
    std::vector<std::string> lines = config::outcome_lines(report, "interrupted");
    if (report.outcome == RestoreOutcome::read_failed) lines.back() += "; nothing written";
    if ((report.outcome == RestoreOutcome::verify_failed ||
         report.outcome == RestoreOutcome::verify_unreadable) &&
        !report.backup_path.empty())
        lines.push_back("automatic backup: " + report.backup_path);
    if (!r.out_error.empty()) lines.push_back("--out: " + r.out_error);
    return lines;
}

std::string seconds_text(double s) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f s", s);
    return buffer;
}

nlohmann::json result_json(const CloneResult& r) {
    nlohmann::json j;
    j["port"] = r.port;
    j["identity"] = r.identity.empty() ? nlohmann::json() : nlohmann::json(r.identity);
    j["site"] = r.site.empty() ? nlohmann::json() : nlohmann::json(r.site);
    j["result"] = result_word(r);
    j["succeeded"] = r.succeeded();
    j["seconds"] = static_cast<double>(static_cast<long long>(r.seconds * 1000)) / 1000;
    j["backup"] =
        r.report.backup_path.empty() ? nlohmann::json() : nlohmann::json(r.report.backup_path);
    j["before"] = r.before_path.empty() ? nlohmann::json() : nlohmann::json(r.before_path);
    j["after"] = r.after_path.empty() ? nlohmann::json() : nlohmann::json(r.after_path);
    j["report"] = detail_lines(r);
    return j;
}

std::vector<std::string> split_ports(const std::string& text) {
    std::vector<std::string> out;
    for (const auto item : std::views::split(text, ','))
        if (!item.empty()) out.emplace_back(item.begin(), item.end());
    return out;
}

// The simulated modules of --sim, one driver per module so that the ports share nothing.
struct SimPorts {
    std::vector<std::unique_ptr<sim::SimDriver>> own;
    std::vector<sim::SimDriver*> drivers;
};

// The site each module gets from the table (every row checked first), and its configuration.
int pick_sites(const std::string& path, const config::Configuration& file, Environment& env,
               std::vector<fleet::CloneJob>* jobs) {
    std::string text, why;
    if (!config::read_text_file(path, config::kMaxFileBytes, &text, &why))
        return fail(env.err, kExitInvalidFile, path, " ", why);
    config::SitesTable table;
    std::vector<config::SiteError> errors;
    if (!config::read_sites_table(text, file, &table, &errors)) {
        for (const auto& e : errors) tell(env.err, describe(e, path));
        return kExitInvalidFile;
    }
    // The newest site each identity was set up for, from the history.
    std::vector<fleet::HistoryEntry> entries;
    int skipped = 0;
    if (!env.history_folder.empty())
        fleet::read_index(env.history_folder, &entries, &skipped, &why);
    const fleet::BoundSite bound = [&entries](const std::string& identity) {
        for (auto it = entries.rbegin(); it != entries.rend(); ++it)
            if (it->identity == identity && !it->site.empty()) return it->site;
        return std::string();
    };
    std::vector<std::string> labels, identities, picked;
    for (const auto& site : table.sites) labels.push_back(site.label);
    for (const auto& job : *jobs)
        identities.push_back(job.identity == fleet::kUnknownIdentity ? "" : job.identity);
    if (!fleet::assign_sites(labels, identities, bound, &picked, &why))
        return fail(env.err, kExitInvalidFile, path, ": ", why, "; nothing written");
    for (std::size_t i = 0; i < jobs->size(); ++i) {
        (*jobs)[i].site = picked[i];
        (*jobs)[i].file = table.find(picked[i])->configuration;
    }
    return kExitDone;
}

}  // namespace

int command_clone(const Arguments& args, Environment& env) {
    if (args.port || args.device)
        return fail(env.err, kExitUsage,
                    "clone takes its ports with --ports, not --port or --device");
    if (!args.state_file.empty())
        return fail(env.err, kExitUsage,
                    "clone --sim uses the test scenario's modules; --state is not supported here");
    config::Configuration file;
    if (const int code = load_configuration(args.files[0], env, &file); code != kExitDone)
        return code;

    // The ports, in port order.
    std::vector<std::string> ports;
    SimPorts sims;
    const std::string* named = args.value("--ports");
    const bool all = !named || *named == "all";
    if (args.sim) {
        if (!env.test_modules.empty()) {
            sims.drivers = env.test_modules;
        } else {
            sim::Scenario demo = sim::demo_scenario();
            for (const auto& m : demo.modules) {
                sim::Scenario one = demo;
                one.modules = {m};
                one.virtual_time = false;
                sims.own.push_back(std::make_unique<sim::SimDriver>(one));
                sims.drivers.push_back(sims.own.back().get());
            }
        }
        for (std::size_t i = 0; i < sims.drivers.size(); ++i)
            ports.push_back("sim:" + std::to_string(i));
        if (!all)
            return fail(env.err, kExitUsage, "with --sim, clone takes every simulated module");
    } else {
        if (!env.open_port_here)
            return fail(env.err, kExitNoModule,
                        "clone: serial ports are not supported by this build");
        if (all) {
            std::string why;
            ports = env.find_ports ? env.find_ports(&why) : std::vector<std::string>{};
            if (ports.empty())
                return fail(env.err, kExitNoModule, (why.empty() ? "no module port found" : why));
        } else {
            ports = split_ports(*named);
            if (ports.empty()) return fail(env.err, kExitUsage, "--ports needs all or P1,P2,...");
        }
    }

    std::vector<fleet::CloneJob> jobs;
    for (const std::string& port : ports) {
        fleet::CloneJob job;
        job.port = port;
        job.identity = env.port_identity ? env.port_identity(port) : std::string();
        job.file = file;
        jobs.push_back(std::move(job));
    }
    if (const std::string* sites = args.value("--sites"))
        if (const int code = pick_sites(*sites, file, env, &jobs); code != kExitDone) return code;

    std::mutex out_mutex;
    // What keeps each port's driver alive until the runs end.
    std::vector<std::shared_ptr<void>> holders(jobs.size());
    fleet::CloneOptions options;
    options.backup_folder = env.backup_folder;
    if (const std::string* out = args.value("--out")) {
        std::string why;
        if (!make_private_folder(*out, &why))
            return fail(env.err, kExitCannotWrite, "--out ", *out, " ", why);
        options.out_dir = *out;
    }
    options.open = [&](std::size_t i, std::string* why) -> DriverHandle {
        if (args.sim) {
            sim::SimDriver* module = sims.drivers[i];
            set_driver(module);
            uint32_t count = 0;
            if (module->count_devices(&count) != kDriverOk || count == 0) {
                *why = "no simulated module";
                return nullptr;
            }
            FirmwareNoticeText notice;
            DriverHandle h = nullptr;
            if (open_device(0, &h, 1, notice) != kOpenOk) {
                *why = notice.text.empty() ? "the module does not answer" : notice.text;
                return nullptr;
            }
            return h;
        }
        DriverHandle h = nullptr;
        holders[i] = env.open_port_here(jobs[i].port, &h, why);
        return h;
    };
    // The signal as the ports saw it, whichever thread it reached.
    std::atomic<int> seen_signal{0};
    if (env.caught_signal)
        options.stop = [&env, &seen_signal] {
            const int s = env.caught_signal();
            if (s != 0) seen_signal = s;
            return s != 0;
        };
    // Told at once, before the first write: an interruption or a crash must not hide it.
    options.backup_saved = [&](std::size_t i, const std::string& path) {
        std::lock_guard<std::mutex> lock(out_mutex);
        tell(env.err, jobs[i].port, ": automatic backup: ", path);
    };

    if (env.watch_signals) env.watch_signals(true);
    const std::vector<CloneResult> results = fleet::run_clone(jobs, options);
    const int signal = seen_signal != 0    ? seen_signal.load()
                       : env.caught_signal ? env.caught_signal()
                                           : 0;
    if (env.watch_signals) env.watch_signals(false);

    for (std::size_t i = 0; i < results.size(); ++i)
        if (results[i].opened)
            keep_restore_in_history(env, jobs[i].identity, "clone", jobs[i].file, false,
                                    results[i].report, jobs[i].site);

    int code = kExitDone;
    std::size_t good = 0;
    for (const CloneResult& r : results) {
        for (const std::string& line : detail_lines(r)) tell(env.err, r.port, ": ", line);
        if (args.json) {
            env.out << result_json(r).dump() << "\n";
        } else {
            env.out << r.port << "  " << (r.identity.empty() ? "identity-unknown" : r.identity)
                    << "  " << (r.site.empty() ? "-" : r.site) << "  " << result_word(r) << "  "
                    << seconds_text(r.seconds) << "\n";
        }
        if (r.succeeded())
            ++good;
        else if (code == kExitDone)
            code = module_code(r, signal);
    }
    if (signal != 0) {
        tell(env.err, "interrupted by signal ", signal,
             "; every port stopped after its frame in flight");
        code = kExitSignalBase + signal;
    }
    tell(env.err, "clone: ", good, " of ", results.size(), " modules set up");
    return code;
}

}  // namespace zavi::cli
