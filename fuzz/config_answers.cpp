// Fuzzes the answers to the five configuration records, read directly and through their jobs.
#include "app/worker_job.h"
#include "fuzz/answer_target.h"
#include "link/config_commands.h"

namespace zavi::fuzz {
namespace {

template <WorkerJob Job>
uint8_t job(DriverHandle handle) {
    return run_job_operations(Job, handle);
}

constexpr AnswerOperation kOperations[] = {
    {"read_actions", read_actions, 1, true},
    {"read_call_answer", read_call_answer, 1, true},
    {"read_auto_reset", read_auto_reset, 1, true},
    {"read_auto_status", read_auto_status, 1, true},
    {"read_sim_codes", read_sim_codes, 1, true},
    {"PIN/PUK job", job<JOB_READ_PIN_PUK>, 1, true},
    {"actions job", job<JOB_READ_ACTIONS>, 1, true},
    {"call answer job", job<JOB_READ_CALL_ANSWER>, 1, true},
    {"auto status job", job<JOB_READ_AUTO_STATUS>, 1, true},
    {"auto reset job", job<JOB_READ_AUTO_RESET>, 1, true},
};

}  // namespace
}  // namespace zavi::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    return zavi::fuzz::run_answer_target(data, size, zavi::fuzz::kOperations);
}
