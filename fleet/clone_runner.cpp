#include "fleet/clone_runner.h"

#include <chrono>
#include <memory>
#include <thread>

#include "config/config_file.h"
#include "config/files.h"
#include "config/record_values.h"
#include "link/connection.h"
#include "link/link_state.h"
#include "link/records.h"

namespace zavi::fleet {

namespace {

using config::RestoreOutcome;

std::string join_path(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/' || folder.back() == '\\') return folder + name;
    return folder + "/" + name;
}

// One port, start to end, on its own thread.
void clone_one(std::size_t index, const CloneJob& job, const CloneOptions& options,
               CloneResult* result) {
    const auto start = std::chrono::steady_clock::now();
    LinkState state;
    use_own_link_state(&state);
    reset_all_records();
    result->port = job.port;
    result->identity = job.identity;
    result->site = job.site;

    std::string why;
    const DriverHandle handle = options.open ? options.open(index, &why) : nullptr;
    if (!handle) {
        result->open_error = why.empty() ? "no module on " + job.port : why;
    } else {
        result->opened = true;
        config::RestoreOptions restore;
        restore.with_sim_codes = options.with_sim_codes;
        restore.stop = options.stop;
        restore.save_backup = [&](const config::Configuration& module, std::string* path,
                                  std::string* error) {
            if (!config::save_automatic_backup(options.backup_folder, module, path, error))
                return false;
            if (options.backup_saved) options.backup_saved(index, *path);
            return true;
        };
        result->report = config::restore_configuration(handle, job.file, restore, {});
        const RestoreOutcome outcome = result->report.outcome;
        const bool read = outcome != RestoreOutcome::read_failed;
        // Each copy goes to out_dir under its name; the first failure is the one told.
        const auto save_copy = [&](config::Configuration copy, const char* which,
                                   std::string* saved_path) {
            copy.saved_at = config::utc_timestamp();
            const std::string path = join_path(options.out_dir, copy_name(index, job, which));
            if (config::write_configuration_file(path, copy, &why))
                *saved_path = path;
            else if (result->out_error.empty())
                result->out_error = path + " " + why;
        };
        if (!options.out_dir.empty() && read) {
            save_copy(result->report.module_before, "before", &result->before_path);
            // Only a module known to hold the file now has an "after"; the records hold what
            // the read-back (and, for the rest, the first read) found.
            if (outcome == RestoreOutcome::verified || outcome == RestoreOutcome::already_equal) {
                config::Configuration after = config::capture_records(options.with_sim_codes);
                // A partial file reads only its own records: the copy holds those alone.
                after.partial = result->report.module_before.partial;
                after.held = result->report.module_before.held;
                save_copy(after, "after", &result->after_path);
            }
        }
        if (Driver* d = driver()) d->close(handle);
    }
    set_driver(nullptr);
    result->seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

bool CloneResult::succeeded() const {
    const RestoreOutcome o = report.outcome;
    return opened && out_error.empty() &&
           (o == RestoreOutcome::verified || o == RestoreOutcome::already_equal);
}

std::string copy_name(std::size_t index, const CloneJob& job, const char* which) {
    const std::string& label = !job.site.empty()       ? job.site
                               : !job.identity.empty() ? job.identity
                                                       : job.port;
    std::string safe;
    for (const char c : label) {
        const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        safe += keep ? c : '_';
    }
    // A path's folders say nothing here; its last part names the port.
    if (label == job.port && label.find_last_of("/\\") != std::string::npos)
        safe = safe.substr(label.find_last_of("/\\") + 1);
    while (!safe.empty() && safe.front() == '.') safe.erase(0, 1);
    if (safe.size() > 60) safe.resize(60);
    return std::to_string(index + 1) + "-" + (safe.empty() ? "module" : safe) + "-" + which +
           ".zavi.json";
}

std::vector<CloneResult> run_clone(const std::vector<CloneJob>& jobs, const CloneOptions& options) {
    std::vector<CloneResult> results(jobs.size());
    std::vector<std::thread> threads;
    threads.reserve(jobs.size());
    for (std::size_t i = 0; i < jobs.size(); ++i)
        threads.emplace_back(clone_one, i, std::cref(jobs[i]), std::cref(options), &results[i]);
    for (std::thread& t : threads) t.join();
    return results;
}

}  // namespace zavi::fleet
