// Fuzzes the answers to the five configuration records, read directly and through their jobs.
#include "app/worker_job.h"
#include "fuzz/answer_target.h"
#include "link/config_commands.h"

namespace zavi::fuzz {
namespace {

template <WorkerJob Job>
LinkResult job(DriverHandle handle) {
    return run_job_operations(Job, handle);
}

constexpr AnswerOperation kOperations[] = {
    {"read_actions", read_actions, kFailed, true},
    {"read_call_answer", read_call_answer, kFailed, true},
    {"read_auto_reset", read_auto_reset, kFailed, true},
    {"read_auto_status", read_auto_status, kFailed, true},
    {"read_sim_codes", read_sim_codes, kFailed, true},
    {"PIN/PUK job", job<JOB_READ_PIN_PUK>, kFailed, true},
    {"actions job", job<JOB_READ_ACTIONS>, kFailed, true},
    {"call answer job", job<JOB_READ_CALL_ANSWER>, kFailed, true},
    {"auto status job", job<JOB_READ_AUTO_STATUS>, kFailed, true},
    {"auto reset job", job<JOB_READ_AUTO_RESET>, kFailed, true},
};

}  // namespace
}  // namespace zavi::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    return zavi::fuzz::run_answer_target(data, size, zavi::fuzz::kOperations);
}
