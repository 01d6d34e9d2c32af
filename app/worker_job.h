// The jobs that run on the worker thread behind the progress dialog, and their operations.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "link/driver.h"
#include "link/result.h"

namespace zavi {

using WorkerJob = uint8_t;

constexpr WorkerJob JOB_NONE = 0;
constexpr WorkerJob JOB_READ_STATUS = 1;
constexpr WorkerJob JOB_READ_ALARM_SETTINGS = 2;
constexpr WorkerJob JOB_READ_PIN_PUK = 3;
constexpr WorkerJob JOB_READ_ACTIONS = 4;
constexpr WorkerJob JOB_READ_PHONE_NUMBERS = 5;
constexpr WorkerJob JOB_READ_IO_NAMES = 6;
constexpr WorkerJob JOB_READ_CALL_ANSWER = 7;
constexpr WorkerJob JOB_READ_AUTO_STATUS = 8;
constexpr WorkerJob JOB_READ_AUTO_RESET = 9;
constexpr WorkerJob JOB_RESET_DEVICE = 10;
constexpr WorkerJob JOB_TASK = 11;  // runs worker_task

// The work of JOB_TASK (a backup, compare or restore), set together with worker_job.
extern std::function<LinkResult(DriverHandle)> worker_task;
// Set by the platform while a job runs: shows what the job is doing now (UTF-8). Called on the
// worker thread; empty when nobody listens.
extern std::function<void(const std::string&)> worker_status;

// Set by the main window before the progress dialog opens; back to JOB_NONE when it is done.
extern WorkerJob worker_job;
// Result of the last job: ok, otherwise the result of the operation that failed.
extern LinkResult worker_result;

// Runs the operations of `job` in order on `handle`, stopping at the first failure, and returns
// what worker_result gets. Codes without operations (0, 11-255) give ok.
LinkResult run_job_operations(WorkerJob job, DriverHandle handle);

// Text of the progress dialog (control 40001) in `language`.
const char* progress_text(uint8_t language);

}  // namespace zavi
