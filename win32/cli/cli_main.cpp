// zavi-gsm-cli on Windows: UTF-16 arguments to UTF-8, the module through FTD2XX.dll or a COM
// port.
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <iostream>

#include "cli/cli.h"
#include "cli/module_ports.h"
#include "cli/signals.h"
#include "common/utf16.h"
#include "config/files.h"
#include "fleet/history.h"

int wmain(int argc, wchar_t** argv) {
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(zavi::utf16_to_utf8(reinterpret_cast<const char16_t*>(argv[i])));
    zavi::cli::Environment env{std::cout, std::cerr};
    env.err_is_terminal = _isatty(_fileno(stderr)) != 0;
    env.backup_folder = zavi::config::automatic_backup_folder();
    env.history_folder = zavi::fleet::default_history_folder();
    zavi::cli::use_module_ports(env);
    env.watch_signals = zavi::cli::watch_signals;
    env.caught_signal = zavi::cli::caught_signal;
    const int code = zavi::cli::run(args, env);
    std::cout.flush();
    return code;
}
