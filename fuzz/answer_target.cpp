#include "fuzz/answer_target.h"

#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzz_check.h"
#include "fuzz/record_invariants.h"
#include "link/connection.h"
#include "sim/request_decoder.h"

namespace zavi::fuzz {

WrittenRequest decode_written(const std::vector<uint8_t>& wire) {
    const sim::DecodedRequest decoded = sim::decode_request(wire);
    if (!decoded.frame_ok) return {};
    return {decoded.command, decoded.data};
}

int run_answer_target(const uint8_t* data, std::size_t size,
                      std::span<const AnswerOperation> operations) {
    if (size == 0 || operations.empty()) return 0;
    const AnswerOperation& op = operations[data[0] % operations.size()];

    prefill_records();
    const std::vector<uint8_t> before = snapshot_records();
    AnswerDriver usb(std::span<const uint8_t>(data + 1, size - 1));
    set_link_timeouts(usb.handle(), kReadTimeoutMs, kWriteTimeoutMs);

    const LinkResult result = op.run(usb.handle());

    // ZAVI_FUZZ_VERBOSE=1 shows what each input did, to check that seeds reach their paths.
    static const bool verbose = std::getenv("ZAVI_FUZZ_VERBOSE") != nullptr;
    if (verbose)
        std::fprintf(stderr, "%s: result %u, %zu requests\n", op.name,
                     static_cast<unsigned>(result), usb.requests().size());

    FUZZ_CHECK(result <= op.max_result, op.name);
    for (const auto& wire : usb.requests()) {
        const WrittenRequest request = decode_written(wire);
        FUZZ_CHECK(request.command != 0, "the program writes well-formed requests");
        FUZZ_CHECK(sim::request_fits_command(request.command, request.data),
                   "each request carries the data its command needs");
        FUZZ_CHECK(!sim::is_write_command(request.command), "a read sends no write command");
    }
    // A module that stalls or drips costs each request at most twice the read time-out.
    FUZZ_CHECK(usb.elapsed_us() <= usb.requests().size() * 2 * uint64_t{kReadTimeoutMs} * 1000,
               "no request waits much past the read time-out");
    if (op.single) {
        FUZZ_CHECK(usb.requests().size() == 1, "a single command is sent once");
        if (result != kOk)
            FUZZ_CHECK(snapshot_records() == before, "a failed read leaves the records alone");
    }
    check_record_invariants();
    if (op.check) op.check(result, usb);
    return 0;
}

}  // namespace zavi::fuzz
