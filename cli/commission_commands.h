// zavi-gsm-cli's commissioning commands on an open module: watch, test, survey, report.
#pragma once

#include <string>

#include "cli/arguments.h"
#include "cli/cli.h"

namespace zavi::cli {

// `connection` names how the module is attached, for the report.
int run_commission(const Arguments& args, Environment& env, DriverHandle handle,
                   const std::string& connection);

}  // namespace zavi::cli
