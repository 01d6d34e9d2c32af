// Setting up several modules at once: one thread per port, each with its own link state and
// driver handle, each module restored as a single restore would be (automatic backup, only
// the differing records, read-back). One port's failure never touches another's.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "config/configuration.h"
#include "config/operations.h"
#include "link/driver.h"

namespace zavi::fleet {

struct CloneJob {
    std::string port;      // as the user names it: /dev/ttyUSB0, COM5, sim:1
    std::string identity;  // the module's identity, "" when unknown
    std::string site;      // the site label, "" without a sites table
    config::Configuration file;
};

struct CloneOptions {
    bool with_sim_codes = false;
    std::string backup_folder;  // the automatic backups
    std::string out_dir;        // "": no copies; else each module's before and after go here
    // Asked before every frame on every port; true: each port stops after its frame in flight.
    std::function<bool()> stop;
    // Opens job `index`'s module on the calling thread, whose link state is its own: sets the
    // driver (set_driver) and returns the handle, or null with an English reason in *why.
    std::function<DriverHandle(std::size_t index, std::string* why)> open;
    // Called on the port's thread when its automatic backup is saved (before its first write).
    std::function<void(std::size_t index, const std::string& path)> backup_saved;
};

struct CloneResult {
    std::string port, identity, site;
    bool opened = false;
    std::string open_error;
    config::RestoreReport report;
    std::string before_path, after_path;  // in out_dir
    std::string out_error;                // saving into out_dir failed
    double seconds = 0;
    // Opened, holds the file's configuration now (verified, or nothing differed), and its copies
    // were saved where asked.
    bool succeeded() const;
};

// Runs every job at once and returns their results in job order, once all have ended.
std::vector<CloneResult> run_clone(const std::vector<CloneJob>& jobs, const CloneOptions& options);

// The copies' file names in out_dir: "<n>-<label>-before.zavi.json" and "...-after...", with the
// label the site, else the identity, else the port, cut to letters, digits, '-', '_' and '.'.
std::string copy_name(std::size_t index, const CloneJob& job, const char* which);

}  // namespace zavi::fleet
