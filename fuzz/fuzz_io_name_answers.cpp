// Fuzzes the answers carrying the two halves of the I/O state names, alone and as the job.
#include <cstring>

#include "app/worker_job.h"
#include "fuzz/answer_target.h"
#include "fuzz/fuzz_check.h"
#include "link/io_name_commands.h"
#include "link/records.h"

namespace zavi::fuzz {
namespace {

template <uint8_t Half>
LinkResult half(DriverHandle handle) {
    return read_io_names(handle, Half);
}

bool slots_untouched(std::size_t first) {
    for (std::size_t i = first; i < first + 6; ++i)
        for (std::size_t c = 0; c + 1 < kIoNameSlot; ++c)
            if (io_names.name[i][c] != 'n') return false;
    return true;
}

void half0_only(LinkResult result, const AnswerDriver&) {
    if (result == kOk) FUZZ_CHECK(slots_untouched(6), "half 0 leaves slots 6-11 alone");
}
void half1_only(LinkResult result, const AnswerDriver&) {
    if (result == kOk) FUZZ_CHECK(slots_untouched(0), "half 1 leaves slots 0-5 alone");
}

LinkResult names_job(DriverHandle handle) {
    return run_job_operations(JOB_READ_IO_NAMES, handle);
}

void halves_in_order(LinkResult result, const AnswerDriver& usb) {
    const auto& requests = usb.requests();
    FUZZ_CHECK(requests.size() <= 2, "two halves at most");
    if (result == kOk) FUZZ_CHECK(requests.size() == 2, "a good read asks for both halves");
    for (std::size_t i = 0; i < requests.size(); ++i) {
        const WrittenRequest r = decode_written(requests[i]);
        FUZZ_CHECK(r.data.size() == 1 && r.data[0] == i, "half 0, then half 1");
    }
}

constexpr AnswerOperation kOperations[] = {
    {"read_io_names 0", half<0>, kBadEcho, true, half0_only},
    {"read_io_names 1", half<1>, kBadEcho, true, half1_only},
    {"I/O names job", names_job, kBadEcho, false, halves_in_order},
};

}  // namespace
}  // namespace zavi::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    return zavi::fuzz::run_answer_target(data, size, zavi::fuzz::kOperations);
}
