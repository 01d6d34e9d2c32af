// The template commands: `template` cuts a partial file out of a full one, and `apply` builds a
// site's configuration from a template and a sites table for the restore.
#pragma once

#include "cli/arguments.h"
#include "cli/cli.h"

namespace zavi::cli {

int command_template(const Arguments& args, Environment& env);
int command_apply(const Arguments& args, Environment& env);

}  // namespace zavi::cli
