#include "win32/module_driver.h"

#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <vector>

#include "fleet/identity.h"
#include "link/connection.h"
#include "win32/com_driver.h"
#include "win32/d2xx_driver.h"
#include "win32/wide_text.h"

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
        out.bad_option = true;
        return out;
    }
    out.route = choose_route(
        !port.empty(), [] { return d2xx.load() == D2xxLoad::ok; },
        [] { return !find_ftdi_com_ports().empty(); });
    switch (out.route) {
        case ModuleRoute::named_port:
            com = std::make_unique<ComDriver>([port] { return std::vector<std::wstring>{port}; });
            break;
        case ModuleRoute::vendor_ports:
            // Connect again counts again, and so lists the ports again: one plugged in later is
            // found.
            com = std::make_unique<ComDriver>(find_ftdi_com_ports);
            break;
        case ModuleRoute::usb_library:
            out.driver = &d2xx;
            return out;
        case ModuleRoute::none:
            return out;
    }
    out.driver = out.com = com.get();
    return out;
}

ModuleIdentity identify_module(const ModuleDriver& chosen, DriverHandle handle) {
    if (!handle) return make_module_identity("", "");
    if (chosen.route == ModuleRoute::usb_library)
        return make_module_identity(d2xx.serial_of(handle), "D2XX (USB)");
    const std::string port = chosen.com ? chosen.com->port_of(handle) : std::string();
    if (port.empty()) return make_module_identity("", "");
    return make_module_identity(
        fleet::identity_from_instance_id(com_port_instance_id(to_wide(port))), port);
}

}  // namespace zavi
