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
constexpr WorkerJob JOB_TASK = 11;  // runs the task handed over with it

// What a running job is doing now (UTF-8), for the progress dialog's text. Called on the worker
// thread; empty when nobody listens.
using WorkerStatus = std::function<void(const std::string&)>;
// The work of JOB_TASK (a backup, compare or restore); it tells its steps through the status.
using WorkerTask = std::function<LinkResult(DriverHandle, const WorkerStatus&)>;

// Runs the operations of `job` in order on `handle`, stopping at the first failure: ok, or the
// result of the operation that failed. JOB_TASK runs `task` (ok when there is none); the other
// codes without operations (0, 12-255) give ok.
LinkResult run_job_operations(WorkerJob job, DriverHandle handle, const WorkerTask& task = {},
                              const WorkerStatus& status = {});

// Text of the progress dialog (control 40001) in `language`.
const char* progress_text(uint8_t language);

}  // namespace zavi
