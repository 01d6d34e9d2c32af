// Fuzzes the simulated module's side of the wire: the request decoder on its own, and whatever
// bytes the program might write going through the module. Checks that a request the decoder
// accepts is exactly the frame the program's encoder makes for it, that sub-indexes stay
// within a byte, and that the module changes its state only for a well-formed write request.
#include <cstring>

#include "fuzz/fuzz_check.h"
#include "link/codec.h"
#include "sim/request_decoder.h"
#include "sim/simulator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace zavi;
    const std::span<const uint8_t> input(data, size);

    const sim::DecodedRequest decoded = sim::decode_request(input);
    const int sub = sim::request_sub_index(decoded.command, decoded.data);
    FUZZ_CHECK(sub >= -1 && sub <= 255, "sub-index is a byte or none");
    if (decoded.frame_ok) {
        WireFrame again;
        FUZZ_CHECK(encode_frame(kRequestStart, decoded.command, decoded.data, again),
                   "an accepted request fits one frame");
        FUZZ_CHECK(again.size == size && std::memcmp(again.bytes, data, size) == 0,
                   "an accepted request is exactly what the encoder makes of it");
    }

    sim::SimDriver module;  // one module, default state, virtual time
    const sim::ModuleState fresh = module.state();
    DriverHandle handle = nullptr;
    FUZZ_CHECK(module.open_by_index(0, &handle) == kDriverOk, "the module opens");
    uint32_t written = 0;
    module.write(handle, data, static_cast<uint32_t>(size), &written);
    uint8_t answer[1024];
    uint32_t got = 0;
    module.read(handle, answer, sizeof answer, &got);
    FUZZ_CHECK(got <= sizeof answer, "a read stays within its buffer");

    bool acted_on_write = false;
    for (const sim::JournalEntry& e : module.journal()) {
        if (!e.valid) continue;
        const sim::DecodedRequest again = sim::decode_request(e.wire);
        FUZZ_CHECK(again.frame_ok && sim::request_fits_command(again.command, again.data),
                   "only well-formed requests are taken");
        if (sim::is_write_command(e.command)) acted_on_write = true;
    }
    if (!acted_on_write)
        FUZZ_CHECK(module.state() == fresh, "no write request, no change in the module");
    module.close(handle);
    return 0;
}
