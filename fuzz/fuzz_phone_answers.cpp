// Fuzzes the answers to accept-all, the emergency numbers and the accepted blocks, alone and as
// the Telephone numbers read job.
#include "app/worker_job.h"
#include "fuzz/answer_target.h"
#include "fuzz/fuzz_check.h"
#include "link/phone_commands.h"
#include "link/records.h"

namespace zavi::fuzz {
namespace {

constexpr uint8_t kReadAcceptAll = 18;
constexpr uint8_t kReadEmergency = 13;
constexpr uint8_t kReadBlock = 16;

uint8_t last_block = 0;
uint8_t last_count = 0;

template <uint8_t Block>
LinkResult block(DriverHandle handle) {
    last_block = Block;
    last_count = 0xEE;
    return read_accepted_block(handle, Block, &last_count);
}

void block_count_fits(LinkResult result, const AnswerDriver&) {
    if (result != kOk) return;
    FUZZ_CHECK(last_count <= kAcceptedBlockSize, "a block holds at most 36 numbers");
    FUZZ_CHECK(last_block * kAcceptedBlockSize + last_count <= kAcceptedCapacity,
               "a block stores only what fits the table");
}

LinkResult phone_job(DriverHandle handle) {
    return run_job_operations(JOB_READ_PHONE_NUMBERS, handle);
}

void sequence_in_order(LinkResult result, const AnswerDriver& usb) {
    const auto& requests = usb.requests();
    const uint8_t expected_head[] = {kReadAcceptAll, kReadEmergency};
    std::size_t blocks = 0;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        const WrittenRequest r = decode_written(requests[i]);
        if (i < 2) {
            FUZZ_CHECK(r.command == expected_head[i], "accept-all, then the emergency numbers");
            continue;
        }
        FUZZ_CHECK(r.command == kReadBlock && r.data.size() == 1 && r.data[0] == blocks,
                   "blocks requested 0, 1, 2 ... in order");
        ++blocks;
    }
    FUZZ_CHECK(blocks <= kAcceptedBlockCount, "never a request for block 8");
    if (result != kOk) {
        FUZZ_CHECK(accepted_count == 0, "a failed read leaves no accepted numbers");
        return;
    }
    FUZZ_CHECK(blocks >= 1, "a good read asks for block 0");
    FUZZ_CHECK(accepted_count >= (blocks - 1) * kAcceptedBlockSize,
               "every block before the last was full");
    if (blocks < kAcceptedBlockCount)
        FUZZ_CHECK(accepted_count < blocks * kAcceptedBlockSize,
                   "the read stops only after a block that was not full");
}

constexpr AnswerOperation kOperations[] = {
    {"read_accept_all", read_accept_all, kFailed, true},
    {"read_emergency_numbers", read_emergency_numbers, kFailed, true},
    {"read_accepted_block 0", block<0>, kFailed, true, block_count_fits},
    {"read_accepted_block 1", block<1>, kFailed, true, block_count_fits},
    {"read_accepted_block 6", block<6>, kFailed, true, block_count_fits},
    {"read_accepted_block 7", block<7>, kFailed, true, block_count_fits},
    {"telephone numbers job", phone_job, kFailed, false, sequence_in_order},
};

}  // namespace
}  // namespace zavi::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    return zavi::fuzz::run_answer_target(data, size, zavi::fuzz::kOperations);
}
