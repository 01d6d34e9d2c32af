// How zavi-gsm-cli reaches the module for one command: the simulated module (--sim, with its
// --scenario and --state), a port named with --port, or the platform's USB driver with the
// module search the program does.
#pragma once

#include <memory>
#include <string>

#include "cli/arguments.h"
#include "cli/cli.h"
#include "common/safe_file.h"
#include "link/driver.h"

namespace zavi::cli {

// The module open for one command; closed (and a simulated module's state saved) at the end.
class ModuleSession {
  public:
    ModuleSession(const Arguments& args, Environment& env);
    ~ModuleSession();
    ModuleSession(const ModuleSession&) = delete;
    ModuleSession& operator=(const ModuleSession&) = delete;

    // Loads the simulated module or the USB driver, then opens the module as the program does.
    // An exit code other than kExitDone ends the command; the reason has been told.
    int open();

    DriverHandle handle() const { return handle_; }
    // The USB chip's serial number of the open module, "" when not known.
    const std::string& identity() const { return identity_; }

    // Closes the module and saves the simulated module's state when asked to.
    int close();
    // close() after a command that ended with `code`: that code, or close()'s for kExitDone.
    int close_after(int code);

  private:
    int open_module();
    int open_named_port(const std::string& port);
    int load_sim();
    std::string serial_of_opened() const;

    const Arguments& args_;
    Environment& env_;
    std::unique_ptr<sim::SimDriver> own_sim_;
    FileLock state_lock_;
    DriverHandle handle_ = nullptr;
    int index_ = 0;
    std::string identity_;
};

}  // namespace zavi::cli
