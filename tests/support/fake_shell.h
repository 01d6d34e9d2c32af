// A Shell for tests: runs each worker job at once on the calling thread, as the worker thread
// would behind the progress dialog, and records the job codes.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/shell.h"
#include "app/worker_job.h"
#include "commission/live_loop.h"

namespace zavi::test {

class FakeShell : public Shell {
  public:
    LinkResult run_worker_job(WorkerJob job, const WorkerTask& task) override;
    // The worker ends while the platform waits: the job's operations run now.
    void wait_for_job() override;
    // Hands out `chosen_files` in order; none left is a cancelled chooser.
    bool choose_file(FileKind kind, bool save, std::string* path) override;
    // Live status: start_live only records the request; run_live plays the worker on the
    // calling thread, delivering each cycle through `deliver_live` (the window's
    // IDC_LIVE_CYCLE), until it stops (stop_live, a failed read) or `cycles` were delivered.
    bool start_live(uint64_t interval_us, LiveParts parts, LiveCycle* cycle) override;
    void stop_live() override;
    void run_live(int cycles);
    std::string connection_kind() const override { return connection ? connection() : ""; }
    bool no_ftdi_com_port() const override { return no_ftdi_com_port_found; }
    ModuleIdentity module_identity(DriverHandle handle) const override {
        return identity && handle ? identity(handle) : Shell::module_identity(handle);
    }

    bool live_start_fails = false;
    bool live_requested = false;  // started and not yet stopped
    std::vector<uint64_t> live_intervals;
    LiveParts live_parts = LiveParts::all;
    int live_stops = 0;
    std::vector<size_t> jobs_at_live_stop;  // jobs.size() at each stop that ended a worker
    commission::Pace live_pace;
    std::function<void()> deliver_live;

    std::deque<std::string> chosen_files;
    struct FileRequest {
        FileKind kind;
        bool save;
    };
    std::vector<FileRequest> file_requests;
    // Every text the running jobs reported through their status.
    std::vector<std::string> statuses;

    // What connection_kind answers (asked after each discovery); none: unknown.
    std::function<std::string()> connection;
    bool no_ftdi_com_port_found = false;
    // What module_identity answers for an open handle; none: unknown.
    std::function<ModuleIdentity(DriverHandle)> identity;

    std::vector<WorkerJob> jobs;
    // Called once the job has started, before its operations run: what reaches the window
    // while the worker talks to the module.
    std::function<void()> during_job;
    int waits = 0;

  private:
    void finish_job();
    bool running_ = false;
    WorkerJob job_ = JOB_NONE;
    const WorkerTask* task_ = nullptr;
    LinkResult result_ = LinkResult::ok;
    std::atomic<bool> live_stop_{false};
    LiveCycle* live_cycle_ = nullptr;
};

}  // namespace zavi::test
