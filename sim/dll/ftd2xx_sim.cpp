// The simulated modules as a drop-in FTD2XX.dll: the seven driver calls, exported by ordinal
// with the real library's stdcall ABI, over a DeviceSet running on real time. Each module is a
// device of its own: its faults, silence and unplugging strike it alone.
//
// Environment (read here only, never by the program):
//   ZAVI_SIM_SCENARIO  scenario JSON file; without it one demo module is simulated, its
//                      status changing on the demo timeline
//   ZAVI_SIM_JOURNAL   file to which every call and every received frame is appended at once,
//                      one JSON object per line: {"event":"frame","module":0,"command":8,
//                      "data":"00","wire":"4D0802CA0016","valid":true}, and "count", "open",
//                      "set_timeouts", "latency", "close" events with their arguments and status
//   ZAVI_SIM_STATE     module state file: loaded at start when it exists, saved after every
//                      write command, so that what a user writes survives a restart; when
//                      someone else changes the file while the program runs, the module takes
//                      the new state before the next request (a test changing readings)
// The scenario file is read again whenever the program counts modules with none open: when its
// text changed, the modules are replaced by the new ones (a module swapped, unplugged or
// plugged in between two searches); the state file still wins for the module state.
#include <windows.h>

#include <cstdio>
#include <string>

#include "sim/device_set.h"

namespace {

std::filesystem::path environment(const wchar_t* name) {
    wchar_t buffer[MAX_PATH * 2];
    const DWORD n = GetEnvironmentVariableW(name, buffer, MAX_PATH * 2);
    return n > 0 && n < MAX_PATH * 2 ? std::filesystem::path(std::wstring(buffer, n))
                                     : std::filesystem::path();
}

zavi::sim::DeviceSet& devices() {
    static zavi::sim::DeviceSet set(zavi::sim::DeviceFiles{environment(L"ZAVI_SIM_JOURNAL"),
                                                           environment(L"ZAVI_SIM_STATE"),
                                                           environment(L"ZAVI_SIM_SCENARIO")});
    return set;
}

}  // namespace

extern "C" {

DWORD WINAPI ZaviSimCountDevices(DWORD* count) {
    uint32_t n = 0;
    const DWORD status = devices().count(count ? &n : nullptr);
    if (count && status == 0) *count = n;
    return status;
}

DWORD WINAPI ZaviSimOpenByIndex(int index, void** handle) {
    return devices().open(index, handle);
}

DWORD WINAPI ZaviSimSetTimeouts(void* handle, DWORD read_ms, DWORD write_ms) {
    return devices().set_timeouts(handle, read_ms, write_ms);
}

DWORD WINAPI ZaviSimPurge(void* handle, DWORD mask) {
    return devices().purge(handle, mask);
}

DWORD WINAPI ZaviSimWrite(void* handle, void* buffer, DWORD count, DWORD* written) {
    uint32_t n = 0;
    const DWORD status = devices().write(handle, buffer, count, written ? &n : nullptr);
    if (written) *written = n;
    return status;
}

DWORD WINAPI ZaviSimRead(void* handle, void* buffer, DWORD count, DWORD* got) {
    uint32_t n = 0;
    const DWORD status = devices().read(handle, buffer, count, got ? &n : nullptr);
    if (got) *got = n;
    return status;
}

DWORD WINAPI ZaviSimClose(void* handle) {
    return devices().close(handle);
}

// Exported by name only, as the vendor library does; the program looks it up by name.
DWORD WINAPI FT_SetLatencyTimer(void* handle, UCHAR ms) {
    return devices().set_latency_timer(handle, ms);
}

// The device information list, by name only as in the vendor library: the serial number is the
// scenario's, the description the product's.
DWORD WINAPI FT_CreateDeviceInfoList(DWORD* count) {
    uint32_t n = 0;
    const DWORD status = devices().count_listed(&n);
    if (count && status == 0) *count = n;
    return status;
}

DWORD WINAPI FT_GetDeviceInfoDetail(DWORD index, DWORD* flags, DWORD* type, DWORD* id,
                                    DWORD* location, void* serial, void* description,
                                    void** handle) {
    std::string text;
    const DWORD status = devices().serial_of(index, &text);
    if (status != 0) return status;
    if (flags) *flags = 0;
    if (type) *type = 5;  // an FT232R
    if (id) *id = 0x04036001;
    if (location) *location = 0x11 + index;
    if (handle) *handle = nullptr;
    // 16 and 64 bytes with their ends, as the vendor library fills them.
    if (serial) std::snprintf(static_cast<char*>(serial), 16, "%s", text.c_str());
    if (description) std::snprintf(static_cast<char*>(description), 64, "%s", "FT232R USB UART");
    return 0;
}

}  // extern "C"
