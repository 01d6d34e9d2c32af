#include "app/worker_job.h"

#include <iterator>

#include "common/three_languages.h"
#include "link/config_commands.h"
#include "link/io_name_commands.h"
#include "link/phone_commands.h"
#include "link/status_commands.h"

namespace zavi {

namespace {

LinkResult read_all_status(DriverHandle handle) {
    for (uint8_t part = 0; part < 3; ++part) {
        const LinkResult result = read_status(handle, part);
        if (result != LinkResult::ok) return result;
    }
    return LinkResult::ok;
}

LinkResult read_both_io_name_halves(DriverHandle handle) {
    const LinkResult result = read_io_names(handle, 0);
    return result != LinkResult::ok ? result : read_io_names(handle, 1);
}

// The operations of each job, at the index of its code.
constexpr LinkResult (*kJobOperations[])(DriverHandle) = {
    nullptr,
    read_all_status,
    read_alarm_settings,
    read_sim_codes,
    read_actions,
    read_phone_numbers,
    read_both_io_name_halves,
    read_call_answer,
    read_auto_status,
    read_auto_reset,
    reset_device,
};
static_assert(std::size(kJobOperations) == JOB_RESET_DEVICE + 1);

}  // namespace

LinkResult run_job_operations(WorkerJob job, DriverHandle handle, const WorkerTask& task,
                              const WorkerStatus& status) {
    if (job == JOB_TASK) return task ? task(handle, status) : LinkResult::ok;
    // JOB_NONE and unknown codes have nothing to do.
    if (job >= std::size(kJobOperations) || !kJobOperations[job]) return LinkResult::ok;
    return kJobOperations[job](handle);
}

const char* progress_text(uint8_t language) {
    return pick_text(language, "Komunikacja z urządzeniem.\n\nProszę czekać...",
                     "Communication with the device.\n\nPlease wait...",
                     "Kommunikation mit dem Gerät.\n\nBitte warten...");
}

}  // namespace zavi
