// Windows: FTD2XX.dll as the program uses it, else the FTDI COM ports; --port COMn alone.
#include <memory>

#include "cli/module_ports.h"
#include "common/utf16.h"
#include "fleet/identity.h"
#include "win32/com_driver.h"
#include "win32/d2xx_driver.h"

namespace zavi::cli {

namespace {

constexpr uint8_t kEnglish = 1;

struct Ports {
    D2xxDriver d2xx;
    std::unique_ptr<ComDriver> com;
};

std::wstring wide(const std::string& utf8) {
    const std::u16string w = utf8_to_utf16(utf8);
    return std::wstring(w.begin(), w.end());
}

// Why the COM driver could not use its last port, or "" when it opened.
std::string com_problem(const ComDriver& com, const std::string& port) {
    if (com.last_error() == 0) return {};
    return "cannot open " + port + ": " + com.last_error_text();
}

}  // namespace

void use_module_ports(Environment& env) {
    auto ports = std::make_shared<Ports>();

    env.open_port = [ports](const std::string& port, FirmwareNotice& notice, DriverHandle* handle,
                            std::string* message) {
        *handle = nullptr;
        const std::wstring name = wide(port);
        if (!is_com_port_name(name)) {
            *message = port + " is not a COM port name (COM1 to COM255)";
            return PortOutcome::unusable;
        }
        ports->com =
            std::make_unique<ComDriver>([name] { return std::vector<std::wstring>{name}; });
        set_driver(ports->com.get());
        const uint8_t result = open_device(0, handle, kEnglish, notice);
        if (result == kOpenOk && *handle) return PortOutcome::ok;
        *handle = nullptr;
        if (result == kOpenWrongFirmware) {
            *message = "The module on " + port + " runs other firmware.";
            return PortOutcome::wrong_firmware;
        }
        if (const std::string why = com_problem(*ports->com, port); !why.empty()) {
            *message = why;
            return PortOutcome::unusable;
        }
        *message = "No ZAVI-GSM module answered on " + port + ".";
        return PortOutcome::silent;
    };

    env.usb_driver = [ports](std::string* why) -> Driver* {
        const D2xxLoad load = ports->d2xx.load();
        if (load == D2xxLoad::ok) return &ports->d2xx;
        if (find_ftdi_com_ports().empty()) {
            *why = load == D2xxLoad::library_missing
                       ? "the USB driver FTD2XX.dll is not installed"
                       : "FTD2XX.dll lacks a function this program needs";
            *why += ", and no FTDI COM port was found; name one with --port COMn";
            return nullptr;
        }
        ports->com = std::make_unique<ComDriver>(find_ftdi_com_ports);
        return ports->com.get();
    };

    // The chip's serial number from the USB driver, or from the COM port's device instance.
    env.port_serial = [ports](int index) -> std::string {
        if (ports->com) {
            const auto& names = ports->com->ports();
            if (index < 0 || static_cast<std::size_t>(index) >= names.size()) return {};
            return fleet::identity_from_instance_id(
                com_port_instance_id(wide(names[static_cast<std::size_t>(index)])));
        }
        return ports->d2xx.serial_number(index);
    };

    env.unusable_port = [ports]() -> std::string {
        if (!ports->com) return {};
        return com_problem(*ports->com, "an FTDI COM port");
    };
}

}  // namespace zavi::cli
