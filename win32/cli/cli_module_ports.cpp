// Windows: FTD2XX.dll as the program uses it, else the FTDI COM ports; --port COMn alone. clone
// opens the D2XX devices by index ("D2XX:0", "D2XX:1"...) or the COM ports, one driver per
// thread, so that a port that fails never disturbs the others.
#include <charconv>
#include <memory>

#include "cli/module_ports.h"
#include "common/three_languages.h"
#include "fleet/identity.h"
#include "link/module_choice.h"
#include "win32/com_driver.h"
#include "win32/d2xx_driver.h"
#include "win32/wide_text.h"

namespace zavi::cli {

namespace {

constexpr std::string_view kD2xxPrefix = "D2XX:";

// The drivers of the command's module: the D2XX library, or the COM driver it falls back to.
struct CommandDrivers {
    D2xxDriver d2xx;
    std::unique_ptr<ComDriver> com;
};

// Why the COM driver could not use its last port, or "" when it opened.
std::string com_problem(const ComDriver& com, const std::string& port) {
    if (com.last_error() == 0) return {};
    return "cannot open " + port + ": " + com.last_error_text();
}

// The index of a clone port named "D2XX:n", or -1 for any other name.
int d2xx_index(const std::string& port) {
    if (!port.starts_with(kD2xxPrefix)) return -1;
    const char* first = port.data() + kD2xxPrefix.size();
    const char* last = port.data() + port.size();
    int index = -1;
    const auto [end, error] = std::from_chars(first, last, index);
    return error == std::errc() && end == last && first != last && index >= 0 ? index : -1;
}

// Opens the module on the COM port `port` through `com`, made the calling thread's driver.
PortOutcome open_on_com(ComDriver& com, const std::string& port, FirmwareNotice& notice,
                        DriverHandle* handle, std::string* message) {
    const auto trouble = [&] { return PortTrouble{com_problem(com, port), ""}; };
    return open_module_on_named_port(com, port, kEnglish, notice, handle, trouble, message);
}

std::unique_ptr<ComDriver> com_driver_for(const std::wstring& name) {
    return std::make_unique<ComDriver>([name] { return std::vector<std::wstring>{name}; });
}

std::string not_a_port(const std::string& port) {
    return port + " is not a COM port name (COM1 to COM255)";
}

// clone: the module on D2XX device `index`, through a library binding of the thread's own.
std::shared_ptr<void> open_d2xx_here(int index, const std::string& port, DriverHandle* handle,
                                     std::string* why) {
    auto own = std::make_shared<D2xxDriver>();
    if (own->load() != D2xxLoad::ok) {
        *why = "the USB driver FTD2XX.dll cannot be used";
        return own;
    }
    set_driver(own.get());
    uint32_t count = 0;
    if (own->count_devices(&count) != kDriverOk || static_cast<uint32_t>(index) >= count) {
        *why = "no module at " + port + " (" + std::to_string(count) + " found)";
        return own;
    }
    FirmwareNoticeText notice;
    if (open_device(index, handle, kEnglish, notice) != kOpenOk || !*handle) {
        *handle = nullptr;
        *why = notice.text.empty() ? "No ZAVI-GSM module answered on " + port + "." : notice.text;
    }
    return own;
}

}  // namespace

void use_module_ports(Environment& env) {
    auto drivers = std::make_shared<CommandDrivers>();

    env.open_port = [drivers](const std::string& port, FirmwareNotice& notice, DriverHandle* handle,
                              std::string* message) {
        *handle = nullptr;
        const std::wstring name = to_wide(port);
        if (!is_com_port_name(name)) {
            *message = not_a_port(port);
            return PortOutcome::unusable;
        }
        drivers->com = com_driver_for(name);
        return open_on_com(*drivers->com, port, notice, handle, message);
    };

    env.usb_driver = [drivers](std::string* why) -> Driver* {
        D2xxLoad load = D2xxLoad::ok;
        const ModuleRoute route = choose_route(
            false,
            [&] {
                load = drivers->d2xx.load();
                return load == D2xxLoad::ok;
            },
            [] { return !find_ftdi_com_ports().empty(); });
        if (route == ModuleRoute::usb_library) return &drivers->d2xx;
        if (route == ModuleRoute::vendor_ports) {
            drivers->com = std::make_unique<ComDriver>(find_ftdi_com_ports);
            return drivers->com.get();
        }
        *why = load == D2xxLoad::library_missing ? "the USB driver FTD2XX.dll is not installed"
                                                 : "FTD2XX.dll lacks a function this program needs";
        *why += ", and no FTDI COM port was found; name one with --port COMn";
        return nullptr;
    };

    // The chip's serial number from the USB driver, or from the COM port's device instance.
    env.port_serial = [drivers](int index) -> std::string {
        if (drivers->com) {
            const auto& names = drivers->com->ports();
            if (index < 0 || static_cast<std::size_t>(index) >= names.size()) return {};
            return fleet::identity_from_instance_id(
                com_port_instance_id(to_wide(names[static_cast<std::size_t>(index)])));
        }
        return drivers->d2xx.serial_number(index);
    };

    env.unusable_port = [drivers]() -> std::string {
        if (!drivers->com) return {};
        return com_problem(*drivers->com, "an FTDI COM port");
    };

    // clone --ports all: the D2XX devices by index where the library loads, else the FTDI COM
    // ports, as a single command would pick.
    env.find_ports = [drivers](std::string* why) {
        std::vector<std::string> found;
        const ModuleRoute route = choose_route(
            false, [&] { return drivers->d2xx.load() == D2xxLoad::ok; },
            [] { return !find_ftdi_com_ports().empty(); });
        if (route == ModuleRoute::usb_library) {
            uint32_t count = 0;
            if (drivers->d2xx.count_devices(&count) != kDriverOk) count = 0;
            for (uint32_t i = 0; i < count; ++i)
                found.push_back(std::string(kD2xxPrefix) + std::to_string(i));
            if (found.empty()) *why = "no module connected (FTD2XX.dll finds none)";
        } else if (route == ModuleRoute::vendor_ports) {
            for (const std::wstring& name : find_ftdi_com_ports()) found.push_back(from_wide(name));
        } else {
            *why =
                "neither FTD2XX.dll nor an FTDI COM port was found; name them with --ports "
                "COM5,COM6,...";
        }
        return found;
    };

    env.open_port_here = [](const std::string& port, DriverHandle* handle,
                            std::string* why) -> std::shared_ptr<void> {
        *handle = nullptr;
        if (const int index = d2xx_index(port); index >= 0)
            return open_d2xx_here(index, port, handle, why);
        const std::wstring name = to_wide(port);
        if (!is_com_port_name(name)) {
            *why = not_a_port(port) + " nor D2XX:n";
            return nullptr;
        }
        std::shared_ptr<ComDriver> own = com_driver_for(name);
        FirmwareNoticeText notice;
        if (open_on_com(*own, port, notice, handle, why) == PortOutcome::wrong_firmware &&
            !notice.text.empty())
            *why += "; " + notice.text;
        return own;
    };

    env.port_identity = [drivers](const std::string& port) -> std::string {
        if (const int index = d2xx_index(port); index >= 0)
            return drivers->d2xx.load() == D2xxLoad::ok ? drivers->d2xx.serial_number(index)
                                                        : std::string();
        return fleet::identity_from_instance_id(com_port_instance_id(to_wide(port)));
    };
}

}  // namespace zavi::cli
