// The commands on one module: status, backup, restore, diff, numbers export and import, and
// the commissioning commands' opening of the module.
#pragma once

#include "cli/arguments.h"
#include "cli/cli.h"

namespace zavi::cli {

int command_status(const Arguments& args, Environment& env);
int command_commission(const Arguments& args, Environment& env);
int command_backup(const Arguments& args, Environment& env);
int command_restore(const Arguments& args, Environment& env);
int command_diff(const Arguments& args, Environment& env);
int command_numbers_export(const Arguments& args, Environment& env);
int command_numbers_import(const Arguments& args, Environment& env);

}  // namespace zavi::cli
