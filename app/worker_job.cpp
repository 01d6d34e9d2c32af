#include "app/worker_job.h"

#include "common/language.h"
#include "link/config_commands.h"
#include "link/io_name_commands.h"
#include "link/phone_commands.h"
#include "link/status_commands.h"

namespace zavi {

WorkerJob worker_job = JOB_NONE;
LinkResult worker_result = LinkResult::ok;

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

}  // namespace

LinkResult run_job_operations(WorkerJob job, DriverHandle handle) {
    switch (job) {
        case JOB_READ_STATUS:
            return read_all_status(handle);
        case JOB_READ_ALARM_SETTINGS:
            return read_alarm_settings(handle);
        case JOB_READ_PIN_PUK:
            return read_sim_codes(handle);
        case JOB_READ_ACTIONS:
            return read_actions(handle);
        case JOB_READ_PHONE_NUMBERS:
            return read_phone_numbers(handle);
        case JOB_READ_IO_NAMES:
            return read_both_io_name_halves(handle);
        case JOB_READ_CALL_ANSWER:
            return read_call_answer(handle);
        case JOB_READ_AUTO_STATUS:
            return read_auto_status(handle);
        case JOB_READ_AUTO_RESET:
            return read_auto_reset(handle);
        case JOB_RESET_DEVICE:
            return reset_device(handle);
        default:
            return LinkResult::ok;  // JOB_NONE and unknown codes have nothing to do
    }
}

const char* progress_text(uint8_t language) {
    return pick_text(language, "Komunikacja z urządzeniem.\n\nProszę czekać...",
                     "Communication with the device.\n\nPlease wait...",
                     "Kommunikation mit dem Gerät.\n\nBitte warten...");
}

}  // namespace zavi
