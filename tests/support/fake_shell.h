// A Shell for tests: runs each worker job at once on the calling thread, as the worker thread
// would behind the progress dialog, and records the job codes.
#pragma once

#include <cstdint>
#include <vector>

#include "app/shell.h"
#include "app/worker_job.h"

namespace zavi::test {

class FakeShell : public Shell {
  public:
    LinkResult run_worker_job(WorkerJob job) override;

    std::vector<WorkerJob> jobs;
};

}  // namespace zavi::test
