// zavi-gsm-cli clone: one configuration file onto several modules at once.
#pragma once

#include "cli/arguments.h"
#include "cli/cli.h"

namespace zavi::cli {

int command_clone(const Arguments& args, Environment& env);

}  // namespace zavi::cli
