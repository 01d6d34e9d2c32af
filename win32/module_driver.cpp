#include "win32/module_driver.h"

#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <vector>

#include "common/utf16.h"
#include "link/connection.h"
#include "win32/com_driver.h"
#include "win32/d2xx_driver.h"

namespace zavi {

namespace {

D2xxDriver d2xx;
std::unique_ptr<ComDriver> com;

// The value of --port, "" when the option is absent; false when it is given badly.
bool port_option(const wchar_t* command_line, std::wstring* port, std::wstring* problem) {
    port->clear();
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(command_line, &argc);
    if (!argv) return true;
    bool ok = true;
    for (int i = 1; i < argc && ok; ++i) {
        const std::wstring arg = argv[i];
        if (arg != L"--port") continue;
        if (i + 1 >= argc || !is_com_port_name(argv[i + 1])) {
            *problem = L"--port needs a COM port name such as COM5.";
            ok = false;
        } else {
            *port = argv[++i];
        }
    }
    LocalFree(argv);
    return ok;
}

}  // namespace

ModuleDriver choose_module_driver(const wchar_t* command_line) {
    ModuleDriver out;
    std::wstring port;
    if (!port_option(command_line, &port, &out.problem)) {
        out.choice = ModuleDriverChoice::bad_option;
        return out;
    }
    if (!port.empty()) {
        com = std::make_unique<ComDriver>([port] { return std::vector<std::wstring>{port}; });
        out.choice = ModuleDriverChoice::named_port;
        out.driver = out.com = com.get();
        return out;
    }
    if (d2xx.load() == D2xxLoad::ok) {
        out.choice = ModuleDriverChoice::d2xx;
        out.driver = &d2xx;
        return out;
    }
    // Connect again counts again, and so lists the ports again: one plugged in later is found.
    if (find_ftdi_com_ports().empty()) return out;
    com = std::make_unique<ComDriver>(find_ftdi_com_ports);
    out.choice = ModuleDriverChoice::com_ports;
    out.driver = out.com = com.get();
    return out;
}

}  // namespace zavi
