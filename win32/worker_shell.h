// The Win32 side of a worker job: the progress dialog (118) and the worker thread it starts.
#pragma once

#include <windows.h>

#include "app/shell.h"
#include "win32/module_driver.h"

namespace zavi {

struct WorkerRun;

class Win32Shell : public Shell {
  public:
    explicit Win32Shell(HINSTANCE instance) : instance_(instance) {}

    // Where the window that owns the progress dialog goes: the main window, once it exists.
    HWND* owner_slot() { return &owner_; }

    // Shows the progress dialog modally until the worker thread has run the job, and returns
    // its result.
    LinkResult run_worker_job(WorkerJob job, const WorkerTask& task) override;
    void wait_for_job() override;
    bool choose_file(FileKind kind, bool save, std::string* path) override;
    // The live-status worker: its own thread, which sends each cycle to the owner as
    // WM_COMMAND IDC_LIVE_CYCLE and waits until the window has taken it.
    bool start_live(uint64_t interval_us, LiveParts parts, LiveCycle* cycle) override;
    void stop_live() override;
    // The driver chosen at start-up tells how the module is reached.
    void set_module_driver(const ModuleDriver& chosen) { module_driver_ = chosen; }
    std::string connection_kind() const override;
    bool no_ftdi_com_port() const override;
    ModuleIdentity module_identity(DriverHandle handle) const override;

  private:
    HINSTANCE instance_;
    HWND owner_ = nullptr;
    WorkerRun* running_ = nullptr;  // the job behind the progress dialog
    ModuleDriver module_driver_;
};

}  // namespace zavi
