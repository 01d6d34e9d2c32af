// Fuzzes what the module sends on its way into the Options dialogs: input byte 0 picks the
// dialog, the rest are the module's replies to the read job and then to the writes of Save. The
// dialog must show only valid UTF-8, and Save may send only well-formed write requests that
// carry what their command needs (no more than 6 emergency numbers, 36 numbers a block, 40
// characters a name).
#include "fuzz/answer_driver.h"
#include "fuzz/answer_target.h"
#include "fuzz/dialog_session.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/record_invariants.h"
#include "link/connection.h"
#include "link/records.h"
#include "sim/request_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace zavi;
    using namespace zavi::fuzz;
    if (size == 0) return 0;
    const int template_id = kOptionsDialogs[data[0] % kOptionsDialogCount];
    reset_all_records();
    AnswerDriver usb(std::span<const uint8_t>(data + 1, size - 1));
    device_handle = usb.handle();
    set_link_timeouts(usb.handle(), kReadTimeoutMs, kWriteTimeoutMs);

    bool saved = false;
    const LinkResult result = run_dialog_session(template_id, usb.handle(), &saved);

    bool wrote = false;
    for (const auto& wire : usb.requests()) {
        const WrittenRequest request = decode_written(wire);
        FUZZ_CHECK(request.command != 0, "the program writes well-formed requests");
        FUZZ_CHECK(sim::request_fits_command(request.command, request.data),
                   "each request carries the data its command needs");
        if (sim::is_write_command(request.command)) wrote = true;
    }
    if (result != kOk) FUZZ_CHECK(!wrote, "a failed read opens no dialog and writes nothing");
    check_record_invariants();
    device_handle = nullptr;
    return 0;
}
