// Fuzzes the answers to the status parts 0-2 and the alarm settings, alone and as the Refresh
// and Read jobs.
#include <cstring>

#include "app/worker_job.h"
#include "fuzz/answer_target.h"
#include "fuzz/fuzz_check.h"
#include "link/records.h"
#include "link/status_commands.h"

namespace zavi::fuzz {
namespace {

constexpr uint8_t kReadStatus = 8;

template <uint8_t Part>
LinkResult status_part(DriverHandle handle) {
    return read_status(handle, Part);
}

bool values_untouched() {
    const auto* values = reinterpret_cast<const uint8_t*>(&device_status);
    for (std::size_t i = 0; i < offsetof(DeviceStatus, io_state_text); ++i)
        if (values[i] != 0xA5) return false;
    return true;
}

bool text_untouched(const char* slot, std::size_t size, char fill) {
    for (std::size_t i = 0; i + 1 < size; ++i)
        if (slot[i] != fill) return false;
    return true;
}

void part1_touches_only_its_texts(LinkResult result, const AnswerDriver&) {
    if (result != kOk) return;
    FUZZ_CHECK(values_untouched(), "part 1 leaves the readings alone");
    for (int i = 0; i < 4; ++i)
        FUZZ_CHECK(text_untouched(device_status.io_state_text[i], kStateTextSlot, 's'),
                   "part 1 leaves the input texts alone");
}

void part2_touches_only_the_operator(LinkResult result, const AnswerDriver&) {
    if (result != kOk) return;
    FUZZ_CHECK(values_untouched(), "part 2 leaves the readings alone");
    for (const auto& slot : device_status.io_state_text)
        FUZZ_CHECK(text_untouched(slot, kStateTextSlot, 's'), "part 2 leaves the texts alone");
}

void battery_threshold_capped(LinkResult result, const AnswerDriver&) {
    if (result == kOk) FUZZ_CHECK(alarm_settings.battery_threshold <= 100, "threshold at most 100");
}

void parts_in_order(LinkResult result, const AnswerDriver& usb) {
    const auto& requests = usb.requests();
    FUZZ_CHECK(requests.size() <= 3, "three parts at most");
    if (result == kOk) FUZZ_CHECK(requests.size() == 3, "a good refresh reads all three parts");
    for (std::size_t i = 0; i < requests.size(); ++i) {
        const WrittenRequest r = decode_written(requests[i]);
        FUZZ_CHECK(r.command == kReadStatus && r.data.size() == 1 && r.data[0] == i,
                   "parts 0, 1, 2 in order");
    }
}

LinkResult refresh_job(DriverHandle handle) {
    return run_job_operations(JOB_READ_STATUS, handle);
}
LinkResult read_job(DriverHandle handle) {
    return run_job_operations(JOB_READ_ALARM_SETTINGS, handle);
}

constexpr AnswerOperation kOperations[] = {
    {"read_status 0", status_part<0>, kBadEcho, true},
    {"read_status 1", status_part<1>, kBadEcho, true, part1_touches_only_its_texts},
    {"read_status 2", status_part<2>, kBadEcho, true, part2_touches_only_the_operator},
    {"read_alarm_settings", read_alarm_settings, kFailed, true, battery_threshold_capped},
    {"refresh job", refresh_job, kBadEcho, false, parts_in_order},
    {"read job", read_job, kFailed, true, battery_threshold_capped},
};

}  // namespace
}  // namespace zavi::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    return zavi::fuzz::run_answer_target(data, size, zavi::fuzz::kOperations);
}
