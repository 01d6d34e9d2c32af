// zavi-gsm-cli on Linux: the module on its tty (--port, or the FTDI ports found), or simulated.
#include <unistd.h>

#include <iostream>

#include "cli/cli.h"
#include "cli/module_ports.h"
#include "cli/signals.h"
#include "config/files.h"
#include "fleet/history.h"

int main(int argc, char** argv) {
    zavi::cli::Environment env{std::cout, std::cerr};
    env.err_is_terminal = isatty(STDERR_FILENO) != 0;
    env.backup_folder = zavi::config::automatic_backup_folder();
    env.history_folder = zavi::fleet::default_history_folder();
    zavi::cli::use_module_ports(env);
    env.watch_signals = zavi::cli::watch_signals;
    env.caught_signal = zavi::cli::caught_signal;
    const int code = zavi::cli::run(std::vector<std::string>(argv + 1, argv + argc), env);
    std::cout.flush();
    return code;
}
