// Loads FTD2XX.dll through the program's D2XX binding, opens module 0, asks for its firmware
// and its auto-reset period; with an argument N it first writes N as the auto-reset period.
// Prints what happened and exits with 0 only when every answer was well-formed. Run it beside
// the drop-in library (under Wine: `wine ftd2xx_smoke.exe [N]`).
#include <cstdio>
#include <cwchar>
#include <vector>

#include "link/codec.h"
#include "win32/d2xx_driver.h"

namespace {

using namespace zavi;

// One exchange; returns the decoded answer (empty when nothing usable came).
std::vector<uint8_t> exchange(D2xxDriver& d2xx, DriverHandle handle, uint8_t command,
                              std::span<const uint8_t> data, uint32_t ask) {
    d2xx.purge(handle, kPurgeRxTx);
    WireFrame request;
    encode_frame(kRequestStart, command, data, request);
    uint32_t written = 0, got = 0;
    d2xx.write(handle, request.bytes, uint32_t(request.size), &written);
    uint8_t answer[600];
    const DriverStatus status = d2xx.read(handle, answer, ask, &got);
    std::printf("command %u: write %u/%u, read status %u, %u bytes:", command, written,
                unsigned(request.size), status, got);
    for (uint32_t i = 0; i < got; ++i) std::printf(" %02X", answer[i]);
    std::printf("\n");
    std::span<const uint8_t> payload;
    std::vector<uint8_t> plain(600);
    if (!extract_payload({answer, got}, &payload)) return {};
    plain.resize(unescape_bytes(payload, plain));
    return plain;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    D2xxDriver d2xx;
    const D2xxLoad loaded = d2xx.load();
    if (loaded != D2xxLoad::ok) {
        std::printf("load failed: %s\n",
                    loaded == D2xxLoad::library_missing ? "library missing" : "function missing");
        return 1;
    }
    uint32_t count = 0;
    DriverHandle handle = nullptr;
    const DriverStatus counted = d2xx.count_devices(&count);
    std::printf("count: status %u, %u module(s)\n", counted, count);
    if (count == 0 || d2xx.open_by_index(0, &handle) != kDriverOk) return 1;
    d2xx.set_timeouts(handle, 1000, 0);

    bool ok = true;
    const auto version = exchange(d2xx, handle, 1, {}, 21);
    ok = ok && version.size() >= 17 && version[0] == 1 && version[1] == 14;
    if (ok) std::printf("firmware: %.13s\n", reinterpret_cast<const char*>(version.data() + 3));
    if (argc > 1) {
        const uint8_t period[] = {static_cast<uint8_t>(std::wcstoul(argv[1], nullptr, 10))};
        exchange(d2xx, handle, 21, period, 5);
    }
    const auto reset = exchange(d2xx, handle, 20, {}, 7);
    ok = ok && check_response(reset, 20, 2, kNoSubIndex) == FrameCheck::ok;
    if (ok) std::printf("auto-reset: %u\n", reset[3]);
    d2xx.close(handle);
    return ok ? 0 : 1;
}
