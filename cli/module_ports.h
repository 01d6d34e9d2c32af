// The platform's ways to the module for zavi-gsm-cli: a port named with --port, and the search
// for the module's ports when neither --port nor --sim is given.
#pragma once

#include <string>

#include "cli/cli.h"

namespace zavi::cli {

// Fills the environment's ways to the module: the USB driver, --port, the identities, and clone's
// search and per-thread open. The drivers live as long as the hooks do. On Linux the roots stand
// in for /dev and /sys in tests.
#ifdef _WIN32
void use_module_ports(Environment& env);
#else
void use_module_ports(Environment& env, const std::string& dev_root = "/dev",
                      const std::string& sys_root = "/sys");
#endif

}  // namespace zavi::cli
