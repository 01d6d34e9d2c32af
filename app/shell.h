// What the main window needs from the platform besides its own view: running a worker job
// behind the progress dialog and opening modal dialogs owned by the main window.
#pragma once

#include <cstdint>

#include "app/worker_job.h"
#include "ui/dialog_view.h"

namespace zavi {

class Shell {
public:
    virtual ~Shell() = default;
    // Sets worker_job, shows the progress dialog (118) modally until the worker thread has run
    // the job's operations, and returns worker_result.
    virtual uint8_t run_worker_job(WorkerJob job) = 0;
    // Runs dialog template `template_id` modally with `logic`, owned by the main window.
    virtual void run_dialog(int template_id, DialogLogic& logic) = 0;
};

}  // namespace zavi
