#include "tests/support/fake_shell.h"

#include "link/connection.h"

namespace zavi::test {

LinkResult FakeShell::run_worker_job(WorkerJob job) {
    jobs.push_back(job);
    worker_job = job;
    running_ = true;
    if (during_job) during_job();
    if (running_) finish_job();
    return worker_result;
}

void FakeShell::wait_for_job() {
    ++waits;
    if (running_) finish_job();
}

void FakeShell::finish_job() {
    worker_result = run_job_operations(worker_job, device_handle);
    worker_job = JOB_NONE;
    running_ = false;
}

}  // namespace zavi::test
