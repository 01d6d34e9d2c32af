// zavi-gsm-cli on Linux: the simulated module only, until a serial driver is wired in.
#include <unistd.h>

#include <iostream>

#include "cli/cli.h"
#include "config/files.h"

int main(int argc, char** argv) {
    zavi::cli::Environment env{std::cout, std::cerr};
    env.err_is_terminal = isatty(STDERR_FILENO) != 0;
    env.backup_folder = zavi::config::automatic_backup_folder();
    env.usb_driver = [](std::string* why) -> zavi::Driver* {
        *why = "no USB driver on this system (use --sim for the simulated module)";
        return nullptr;
    };
    const int code = zavi::cli::run(std::vector<std::string>(argv + 1, argv + argc), env);
    std::cout.flush();
    return code;
}
