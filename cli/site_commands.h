// The template commands: `template` cuts a partial file out of a full one, and `apply` builds a
// site's configuration from a template and a sites table for the restore.
#pragma once

#include <string>

#include "cli/arguments.h"
#include "cli/cli.h"
#include "config/configuration.h"

namespace zavi::cli {

int command_template(const Arguments& args, Environment& env);
int command_apply(const Arguments& args, Environment& env);

// The configuration of --site from the template and --sites; nothing touches the module.
int load_site_configuration(const Arguments& args, Environment& env, config::Configuration* out);

}  // namespace zavi::cli
