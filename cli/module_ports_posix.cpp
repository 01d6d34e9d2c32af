// Linux: the module's tty through the POSIX tty driver.
#include <filesystem>
#include <memory>

#include "cli/module_ports.h"
#include "common/three_languages.h"
#include "fleet/identity.h"
#include "link/module_choice.h"
#include "posix/port_discovery.h"
#include "posix/port_module.h"
#include "posix/tty_driver.h"

namespace zavi::cli {

namespace {

// The tty driver of the command's module, replaced when --port or the search makes a new one.
struct CommandTty {
    std::unique_ptr<posix::TtyDriver> driver;
};

// The serial number from the port's own name, or from the stable name of the same device (a
// ttyUSB named with --port has one under /dev/serial/by-id).
std::string identity_of(const std::string& path, const std::string& dev_root,
                        const std::string& sys_root) {
    std::string serial = fleet::identity_from_port_path(path);
    std::error_code error;
    const std::filesystem::path device = std::filesystem::canonical(path, error);
    if (!serial.empty() || error) return serial;
    for (const std::string& name : posix::find_ftdi_ports(dev_root, sys_root)) {
        const std::filesystem::path other = std::filesystem::canonical(name, error);
        if (!error && other == device) return fleet::identity_from_port_path(name);
    }
    return {};
}

// The FTDI ports the search finds, asked through choose_route as the other platforms are; there
// is no maker's library here.
bool found_ftdi_ports(const std::string& dev_root, const std::string& sys_root,
                      std::vector<std::string>* found) {
    const auto vendor_ports = [&] {
        *found = posix::find_ftdi_ports(dev_root, sys_root);
        return !found->empty();
    };
    return choose_route(false, nullptr, vendor_ports) == ModuleRoute::vendor_ports;
}

}  // namespace

void use_module_ports(Environment& env, const std::string& dev_root, const std::string& sys_root) {
    auto tty = std::make_shared<CommandTty>();

    env.open_port = [tty, sys_root](const std::string& port, FirmwareNotice& notice,
                                    DriverHandle* handle, std::string* message) {
        tty->driver = std::make_unique<posix::TtyDriver>(std::vector<std::string>{port});
        tty->driver->set_sysfs_root(sys_root);
        const PortOutcome outcome =
            posix::open_module_on_port(*tty->driver, kEnglish, notice, message);
        *handle = outcome == PortOutcome::ok ? device_handle : nullptr;
        return outcome;
    };

    env.usb_driver = [tty, dev_root, sys_root](std::string* why) -> Driver* {
        std::vector<std::string> found;
        if (!found_ftdi_ports(dev_root, sys_root, &found)) {
            *why = "no FTDI serial port found (neither " + dev_root + "/zavi-gsm-*, " + dev_root +
                   "/serial/by-id/usb-FTDI_* nor a " + dev_root +
                   "/ttyUSB* with USB vendor 0403); name one with --port PATH, or use --sim";
            return nullptr;
        }
        tty->driver = std::make_unique<posix::TtyDriver>(std::move(found));
        tty->driver->set_sysfs_root(sys_root);
        return tty->driver.get();
    };

    env.port_serial = [tty, dev_root, sys_root](int index) -> std::string {
        if (!tty->driver || index < 0 ||
            static_cast<std::size_t>(index) >= tty->driver->paths().size())
            return {};
        return identity_of(tty->driver->paths()[static_cast<std::size_t>(index)], dev_root,
                           sys_root);
    };

    env.port_identity = [dev_root, sys_root](const std::string& path) {
        return identity_of(path, dev_root, sys_root);
    };

    env.find_ports = [dev_root, sys_root](std::string* why) {
        std::vector<std::string> found;
        if (!found_ftdi_ports(dev_root, sys_root, &found))
            *why = "no FTDI serial port found; name them with --ports P1,P2,...";
        return found;
    };

    // Each clone thread gets a driver of its own for its one port.
    env.open_port_here = [sys_root](const std::string& port, DriverHandle* handle,
                                    std::string* why) -> std::shared_ptr<void> {
        auto own = std::make_shared<posix::TtyDriver>(std::vector<std::string>{port});
        own->set_sysfs_root(sys_root);
        FirmwareNoticeText notice;
        const PortOutcome outcome = posix::open_module_on_port(*own, kEnglish, notice, why);
        *handle = outcome == PortOutcome::ok ? device_handle : nullptr;
        if (outcome == PortOutcome::wrong_firmware && !notice.text.empty())
            *why += (why->empty() ? "" : "; ") + notice.text;
        return own;
    };

    env.unusable_port = [tty]() -> std::string {
        return tty->driver ? posix::port_trouble(*tty->driver).unusable : std::string();
    };
}

}  // namespace zavi::cli
