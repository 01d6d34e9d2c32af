// Linux: the module's tty through the POSIX tty driver.
#include <filesystem>
#include <memory>

#include "cli/module_ports.h"
#include "fleet/identity.h"
#include "posix/port_discovery.h"
#include "posix/port_module.h"
#include "posix/tty_driver.h"

namespace zavi::cli {

namespace {

constexpr uint8_t kEnglish = 1;

struct Ports {
    std::unique_ptr<posix::TtyDriver> driver;
};

PortOutcome outcome_of(posix::PortOpen open) {
    switch (open) {
        case posix::PortOpen::ok:
            return PortOutcome::ok;
        case posix::PortOpen::unusable:
            return PortOutcome::unusable;
        case posix::PortOpen::silent:
            return PortOutcome::silent;
        case posix::PortOpen::wrong_firmware:
            return PortOutcome::wrong_firmware;
    }
    return PortOutcome::unusable;
}

}  // namespace

void use_module_ports(Environment& env, const std::string& dev_root, const std::string& sys_root) {
    auto ports = std::make_shared<Ports>();

    env.open_port = [ports, sys_root](const std::string& port, FirmwareNotice& notice,
                                      DriverHandle* handle, std::string* message) {
        ports->driver = std::make_unique<posix::TtyDriver>(std::vector<std::string>{port});
        ports->driver->set_sysfs_root(sys_root);
        const posix::PortOpen open =
            posix::open_module_on_port(*ports->driver, kEnglish, notice, message);
        *handle = open == posix::PortOpen::ok ? device_handle : nullptr;
        return outcome_of(open);
    };

    env.usb_driver = [ports, dev_root, sys_root](std::string* why) -> Driver* {
        std::vector<std::string> found = posix::find_ftdi_ports(dev_root, sys_root);
        if (found.empty()) {
            *why = "no FTDI serial port found (neither " + dev_root + "/zavi-gsm-*, " + dev_root +
                   "/serial/by-id/usb-FTDI_* nor a " + dev_root +
                   "/ttyUSB* with USB vendor 0403); name one with --port PATH, or use --sim";
            return nullptr;
        }
        ports->driver = std::make_unique<posix::TtyDriver>(std::move(found));
        ports->driver->set_sysfs_root(sys_root);
        return ports->driver.get();
    };

    // The serial number from the port's own name, or from the stable name of the same device
    // (a ttyUSB named with --port has one under /dev/serial/by-id).
    env.port_serial = [ports, dev_root, sys_root](int index) -> std::string {
        if (!ports->driver || index < 0 ||
            static_cast<std::size_t>(index) >= ports->driver->paths().size())
            return {};
        const std::string& path = ports->driver->paths()[static_cast<std::size_t>(index)];
        std::string serial = fleet::identity_from_port_path(path);
        std::error_code error;
        const std::filesystem::path device = std::filesystem::canonical(path, error);
        if (!serial.empty() || error) return serial;
        for (const std::string& name : posix::find_ftdi_ports(dev_root, sys_root)) {
            const std::filesystem::path other = std::filesystem::canonical(name, error);
            if (!error && other == device) return fleet::identity_from_port_path(name);
        }
        return {};
    };

    env.unusable_port = [ports]() -> std::string {
        if (!ports->driver) return {};
        const posix::PortFailure& failure = ports->driver->last_failure();
        // A port that hung up was usable: something was there and went away.
        if (failure.problem == posix::PortProblem::none ||
            failure.problem == posix::PortProblem::hung_up)
            return {};
        return failure.message;
    };
}

}  // namespace zavi::cli
