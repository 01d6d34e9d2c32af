// What the main window needs from the platform besides its own view: running a worker job
// behind the progress dialog, and the system's file chooser.
#pragma once

#include <cstdint>
#include <string>

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
};

}  // namespace zavi
