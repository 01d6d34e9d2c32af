// The steps the module commands share: a configuration file read and checked, the module read,
// and a restore with its automatic backup, signals held off and the outcome told.
#pragma once

#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/module_access.h"
#include "config/configuration.h"
#include "config/operations.h"

namespace zavi::cli {

// The exit code of a restore that ended so; `signal` is the one that interrupted it.
int outcome_code(config::RestoreOutcome outcome, int signal);

// Reads and checks a configuration file before anything touches the module: kExitDone, or the
// exit code after telling why.
int load_configuration(const std::string& path, Environment& env, config::Configuration* cfg);

int read_failed(Environment& env, config::Record record);

// Reads the records `shape` holds (all by default).
int read_module(ModuleSession& session, Environment& env, bool with_sim, config::Configuration* cfg,
                const config::Configuration& shape = config::Configuration{});

// Restores `file` and tells how it went. `module_now`: what a read just made found, or null.
// `operation` and `site` go into the module history's entry.
int restore(ModuleSession& session, Environment& env, const config::Configuration& file,
            bool with_sim, bool dry_run, const config::Configuration* module_now = nullptr,
            const char* operation = "restore", const std::string& site = "");

}  // namespace zavi::cli
