// zavi-gsm-cli on Windows: UTF-16 arguments to UTF-8, the module through FTD2XX.dll.
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <iostream>

#include "cli/cli.h"
#include "common/utf16.h"
#include "config/files.h"
#include "win32/d2xx_driver.h"

int wmain(int argc, wchar_t** argv) {
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(zavi::utf16_to_utf8(reinterpret_cast<const char16_t*>(argv[i])));
    zavi::cli::Environment env{std::cout, std::cerr};
    env.err_is_terminal = _isatty(_fileno(stderr)) != 0;
    env.backup_folder = zavi::config::automatic_backup_folder();
    static zavi::D2xxDriver d2xx;
    env.usb_driver = [](std::string* why) -> zavi::Driver* {
        switch (d2xx.load()) {
            case zavi::D2xxLoad::ok:
                return &d2xx;
            case zavi::D2xxLoad::library_missing:
                *why = "the USB driver FTD2XX.dll is not installed";
                return nullptr;
            case zavi::D2xxLoad::function_missing:
                break;
        }
        *why = "FTD2XX.dll lacks a function this program needs";
        return nullptr;
    };
    const int code = zavi::cli::run(args, env);
    std::cout.flush();
    return code;
}
