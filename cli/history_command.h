// zavi-gsm-cli history, and the copy every operation on a module leaves in the module history.
#pragma once

#include <string>

#include "cli/arguments.h"
#include "cli/cli.h"
#include "config/configuration.h"
#include "config/operations.h"

namespace zavi::cli {

int command_history(const Arguments& args, Environment& env);

// Keeps `cfg` as the module's copy after `operation` and says where, or why not; a copy that
// cannot be kept is a warning, the operation's result stands. Nothing without a history folder.
// `site`: the site label the module was set up for, "" for none.
void keep_in_history(Environment& env, const std::string& serial, const std::string& operation,
                     const std::string& result, const config::Configuration& cfg,
                     const std::string& site = "");

// After a restore of `target`: what its outcome leaves in the module. Nothing was written for a
// dry run, a failed read or backup, so those keep nothing.
void keep_restore_in_history(Environment& env, const std::string& serial,
                             const std::string& operation, config::Configuration target,
                             bool with_sim_codes, const config::RestoreReport& report,
                             const std::string& site = "");

}  // namespace zavi::cli
