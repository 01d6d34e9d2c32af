// What the main window needs from the platform besides its own view: running a worker job
// behind the progress dialog, and the system's file chooser.
#pragma once

#include <cstdint>
#include <string>

#include "app/worker_job.h"

namespace zavi {

// What a file chooser offers: configuration files (*.zavi.json) or CSV lists of numbers.
enum class FileKind : uint8_t { configuration, numbers_csv };

class Shell {
  public:
    virtual ~Shell() = default;
    // Sets worker_job, shows the progress dialog (118) modally until the worker thread has run
    // the job's operations, and returns worker_result.
    virtual LinkResult run_worker_job(WorkerJob job) = 0;
    // Returns once the worker of a running job has ended (the session is ending).
    virtual void wait_for_job() {}
    // The system's open (save false) or save dialog; false when the user cancelled. The path
    // is UTF-8.
    virtual bool choose_file(FileKind kind, bool save, std::string* path) = 0;
};

}  // namespace zavi
