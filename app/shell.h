// What the main window needs from the platform besides its own view: running a worker job
// behind the progress dialog, the system's file chooser, and how the module is reached and which
// one it is.
#pragma once

#include <cstdint>
#include <string>

#include "app/live_status.h"
#include "app/module_identity.h"
#include "app/worker_job.h"
#include "ui/file_chooser.h"

namespace zavi {

class Shell : public FileChooser, public ModuleIdentifier {
  public:
    virtual ~Shell() = default;
    // Shows the progress dialog (118) modally until the worker thread has run the job's
    // operations (for JOB_TASK: `task`, whose steps the dialog shows), and returns their result.
    virtual LinkResult run_worker_job(WorkerJob job, const WorkerTask& task) = 0;
    // Returns once the worker of a running job has ended (the session is ending).
    virtual void wait_for_job() {}
    // Live status: starts a worker that runs run_live_status (or, for `signal`, only status
    // part 0) on device_handle and, after each cycle, fills `*cycle` and delivers
    // IDC_LIVE_CYCLE to the main window's on_command on its own thread while the worker waits.
    // `cycle` is the window's and outlives the worker. False when no worker could be started.
    virtual bool start_live(uint64_t interval_us, LiveParts parts, LiveCycle* cycle) = 0;
    // Asks the live worker to stop and returns once it has ended (at most one exchange later),
    // delivering what it sends meanwhile. Nothing to do when none runs.
    virtual void stop_live() = 0;
    // How this run reaches the module, for the user to see: "D2XX" through FTDI's library, the
    // port in use ("COM5") through a COM port; empty when unknown. Asked once discovery has
    // settled on a module.
    virtual std::string connection_kind() const { return {}; }
    // True when FTD2XX.dll was missing and the search for FTDI COM ports found none either, so
    // that the driver-missing message can say so.
    virtual bool no_ftdi_com_port() const { return false; }
};

}  // namespace zavi
