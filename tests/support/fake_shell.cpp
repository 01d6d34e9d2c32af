#include "tests/support/fake_shell.h"

#include "link/connection.h"

namespace zavi::test {

LinkResult FakeShell::run_worker_job(WorkerJob job) {
    jobs.push_back(job);
    worker_job = job;
    worker_result = run_job_operations(worker_job, device_handle);
    worker_job = JOB_NONE;
    return worker_result;
}

}  // namespace zavi::test
