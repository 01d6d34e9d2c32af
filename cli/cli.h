// zavi-gsm-cli without its platform: arguments in, text out, an exit code back. The platform
// part supplies the streams, whether stderr is a terminal, and the USB driver.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "link/connection.h"
#include "link/driver.h"
#include "link/module_choice.h"

namespace zavi::sim {
class SimDriver;
}

namespace zavi::cli {

// Exit codes.
constexpr int kExitDone = 0;
constexpr int kExitDifferent = 1;
constexpr int kExitUsage = 2;
constexpr int kExitNoModule = 3;
constexpr int kExitCommunication = 4;
constexpr int kExitInvalidFile = 5;  // a file that cannot be read or is not valid
// A file, folder or the output that cannot be written: the same code, as the exit table says.
constexpr int kExitCannotWrite = 5;
constexpr int kExitVerifyFailed = 6;
constexpr int kExitBrokerRefused = 7;  // mqtt: user name or password refused
// A restore or import stopped by a signal: 128 + its number (SIGHUP 129, SIGINT 130,
// SIGTERM 143).
constexpr int kExitSignalBase = 128;

struct Environment {
    Environment(std::ostream& o, std::ostream& e) : out(o), err(e) {}
    std::ostream& out;
    std::ostream& err;
    bool err_is_terminal = false;
    // The module's USB driver, or null with the reason in *why.
    std::function<Driver*(std::string* why)> usb_driver;
    // --port: opens the module on that port alone, makes the port's driver the process's
    // driver and puts the module into *handle. `message` gets an English sentence naming the
    // port for anything but ok. Null: this build has no serial ports.
    std::function<PortOutcome(const std::string& port, FirmwareNotice& notice, DriverHandle* handle,
                              std::string* message)>
        open_port;
    // After an open by index failed: why the driver could not use that port at all (missing,
    // busy, no permission...), or "" when the port was fine and nothing answered on it.
    std::function<std::string()> unusable_port;
    // Restores and imports: watch_signals(true) before the module is read, (false) after; in
    // between caught_signal() gives a SIGINT, SIGTERM or SIGHUP that arrived (0: none), and the
    // write stops before its next frame. Null: no signal is watched.
    std::function<void(bool on)> watch_signals;
    std::function<int()> caught_signal;
    // Where restore keeps automatic backups.
    std::string backup_folder;
    // Where every operation keeps its copy of the module's configuration; "" keeps none.
    std::string history_folder;
    // The serial number of the USB chip behind the port the module was opened on (by index,
    // 0 for --port), or "" when the system does not tell. Null: never known.
    std::function<std::string(int index)> port_serial;
    // Tests: --sim uses this module instead of a new one (--state is then not allowed).
    sim::SimDriver* test_module = nullptr;
    // clone: the module ports found (--ports all), in port order, or none with the reason.
    std::function<std::vector<std::string>(std::string* why)> find_ports;
    // clone: opens the module on `port` on the calling thread (which has its link state of its
    // own) through a driver of its own, made that thread's driver. The handle, or null with an
    // English reason in *why; what is returned keeps the driver alive. Null: no serial ports.
    std::function<std::shared_ptr<void>(const std::string& port, DriverHandle* handle,
                                        std::string* why)>
        open_port_here;
    // clone: the identity of the module on `port`, "" when unknown. Null: always unknown.
    std::function<std::string(const std::string& port)> port_identity;
    // Tests: clone --sim sets up these modules, one port each.
    std::vector<sim::SimDriver*> test_modules;
};

// `args` without the program name.
int run(const std::vector<std::string>& args, Environment& env);

}  // namespace zavi::cli
