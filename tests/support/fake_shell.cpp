#include "tests/support/fake_shell.h"

#include "app/live_status.h"
#include "link/connection.h"

namespace zavi::test {

LinkResult FakeShell::run_worker_job(WorkerJob job, const WorkerTask& task) {
    jobs.push_back(job);
    job_ = job;
    task_ = &task;
    running_ = true;
    if (during_job) during_job();
    if (running_) finish_job();
    task_ = nullptr;
    return result_;
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

bool FakeShell::start_live(uint64_t interval_us, LiveParts parts, LiveCycle* cycle) {
    if (live_start_fails) return false;
    live_parts = parts;
    live_cycle_ = cycle;
    live_intervals.push_back(interval_us);
    live_requested = true;
    live_stop_ = false;
    return true;
}

void FakeShell::stop_live() {
    if (!live_requested) return;
    ++live_stops;
    jobs_at_live_stop.push_back(jobs.size());
    live_requested = false;
    live_stop_ = true;  // the loop in run_live ends at its next check
}

void FakeShell::run_live(int cycles) {
    if (!live_requested) return;
    live_stop_ = false;  // the worker goes on where the last run_live paused it
    int delivered = 0;
    const auto deliver = [&] {
        if (deliver_live) deliver_live();
        if (++delivered >= cycles) live_stop_ = true;
    };
    if (live_parts == LiveParts::signal)
        run_signal_samples(device_handle, live_stop_, *live_cycle_, deliver);
    else
        run_live_status(device_handle, live_intervals.back(), live_stop_, live_pace, *live_cycle_,
                        deliver);
    // A loop that ended on a failure is over; the window waits for it at its next stop.
}

void FakeShell::finish_job() {
    result_ = run_job_operations(job_, device_handle, *task_,
                                 [this](const std::string& text) { statuses.push_back(text); });
    running_ = false;
}

}  // namespace zavi::test
