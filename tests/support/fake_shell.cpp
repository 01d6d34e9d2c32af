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

bool FakeShell::choose_file(FileKind kind, bool save, std::string* path) {
    file_requests.push_back({kind, save});
    if (chosen_files.empty()) return false;
    *path = chosen_files.front();
    chosen_files.pop_front();
    return true;
}

void FakeShell::wait_for_job() {
    ++waits;
    if (running_) finish_job();
}

void FakeShell::finish_job() {
    worker_status = [this](const std::string& text) { statuses.push_back(text); };
    worker_result = run_job_operations(worker_job, device_handle);
    worker_status = nullptr;
    worker_job = JOB_NONE;
    running_ = false;
}

}  // namespace zavi::test
