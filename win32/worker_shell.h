// The Win32 side of a worker job: the progress dialog (118) and the worker thread it starts.
#pragma once

#include <windows.h>

#include "app/shell.h"

namespace zavi {

class Win32Shell : public Shell {
  public:
    explicit Win32Shell(HINSTANCE instance) : instance_(instance) {}

    // The window that owns the progress dialog: the main window, once it exists.
    void set_owner(HWND owner) { owner_ = owner; }
    HWND* owner_slot() { return &owner_; }

    // Sets worker_job, shows the progress dialog modally until the worker thread has run the
    // job, and returns worker_result.
    LinkResult run_worker_job(WorkerJob job) override;
    void wait_for_job() override;
    bool choose_file(FileKind kind, bool save, std::string* path) override;
    // The live-status worker: its own thread, which sends each cycle to the owner as
    // WM_COMMAND IDC_LIVE_CYCLE and waits until the window has taken it.
    bool start_live(uint64_t interval_us, LiveParts parts) override;
    void stop_live() override;

  private:
    HINSTANCE instance_;
    HWND owner_ = nullptr;
};

}  // namespace zavi
