// What the main window needs from the platform besides its own view: running a worker job
// behind the progress dialog, and the system's file chooser.
#pragma once

#include <cstdint>
#include <string>

#include "app/live_status.h"
#include "app/worker_job.h"
#include "ui/file_chooser.h"

namespace zavi {

class Shell : public FileChooser {
  public:
    virtual ~Shell() = default;
    // Sets worker_job, shows the progress dialog (118) modally until the worker thread has run
    // the job's operations, and returns worker_result.
    virtual LinkResult run_worker_job(WorkerJob job) = 0;
    // Returns once the worker of a running job has ended (the session is ending).
    virtual void wait_for_job() {}
    // Live status: starts a worker that runs run_live_status (or, for `signal`, only status
    // part 0) on device_handle and, after each cycle, delivers IDC_LIVE_CYCLE to the main
    // window's on_command on its own thread while the worker waits. False when no worker could
    // be started.
    virtual bool start_live(uint64_t interval_us, LiveParts parts) = 0;
    // Asks the live worker to stop and returns once it has ended (at most one exchange later),
    // delivering what it sends meanwhile. Nothing to do when none runs.
    virtual void stop_live() = 0;
};

}  // namespace zavi
