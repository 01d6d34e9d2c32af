#include "win32/d2xx_driver.h"

#include <windows.h>

namespace zavi {

namespace {

// The library's calls as it exports them: stdcall, a 32-bit status, 0 for success.
using CountFn = DWORD(WINAPI*)(DWORD* count);
using OpenFn = DWORD(WINAPI*)(int index, void** handle);
using TimeoutsFn = DWORD(WINAPI*)(void* handle, DWORD read_ms, DWORD write_ms);
using PurgeFn = DWORD(WINAPI*)(void* handle, DWORD mask);
using WriteFn = DWORD(WINAPI*)(void* handle, void* buffer, DWORD count, DWORD* written);
using ReadFn = DWORD(WINAPI*)(void* handle, void* buffer, DWORD count, DWORD* got);
using CloseFn = DWORD(WINAPI*)(void* handle);
using LatencyFn = DWORD(WINAPI*)(void* handle, UCHAR ms);

enum Slot { kCount, kOpen, kTimeouts, kPurge, kWrite, kRead, kClose, kSlots };
constexpr WORD kOrdinals[kSlots] = {70, 1, 17, 16, 4, 3, 2};

// Returned while the library or one of its calls is missing.
constexpr DriverStatus kNotLoaded = 0xFFFFFFFF;

template <typename Fn>
Fn as(void* p) {
    return reinterpret_cast<Fn>(p);
}

}  // namespace

D2xxDriver::~D2xxDriver() {
    if (library_) FreeLibrary(static_cast<HMODULE>(library_));
}

D2xxLoad D2xxDriver::load() {
    if (library_) return D2xxLoad::ok;
    HMODULE library = LoadLibraryW(L"FTD2XX.dll");
    if (!library) return D2xxLoad::library_missing;
    void* found[kSlots] = {};
    for (int i = 0; i < kSlots; ++i) {
        found[i] = reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(kOrdinals[i])));
        if (!found[i]) {
            FreeLibrary(library);
            return D2xxLoad::function_missing;
        }
    }
    library_ = library;
    for (int i = 0; i < kSlots; ++i) functions_[i] = found[i];
    set_latency_ = reinterpret_cast<void*>(GetProcAddress(library, "FT_SetLatencyTimer"));
    return D2xxLoad::ok;
}

DriverStatus D2xxDriver::count_devices(uint32_t* count) {
    if (!functions_[kCount]) return kNotLoaded;
    DWORD n = 0;
    const DWORD status = as<CountFn>(functions_[kCount])(&n);
    if (count) *count = n;
    return status;
}

DriverStatus D2xxDriver::open_by_index(int index, DriverHandle* handle) {
    if (handle) *handle = nullptr;
    if (!functions_[kOpen]) return kNotLoaded;
    const DWORD status = as<OpenFn>(functions_[kOpen])(index, handle);
    // The chip holds received bytes up to 16 ms before passing them on; 1 ms cuts most of
    // that from every answer. Some chips accept 2 ms at the least. Failure changes nothing.
    if (status == 0 && handle && *handle && set_latency_ &&
        as<LatencyFn>(set_latency_)(*handle, 1) != 0)
        as<LatencyFn>(set_latency_)(*handle, 2);
    return status;
}

DriverStatus D2xxDriver::set_timeouts(DriverHandle handle, uint32_t read_ms, uint32_t write_ms) {
    if (!functions_[kTimeouts]) return kNotLoaded;
    return as<TimeoutsFn>(functions_[kTimeouts])(handle, read_ms, write_ms);
}

DriverStatus D2xxDriver::purge(DriverHandle handle, uint32_t mask) {
    if (!functions_[kPurge]) return kNotLoaded;
    return as<PurgeFn>(functions_[kPurge])(handle, mask);
}

DriverStatus D2xxDriver::write(DriverHandle handle, const void* buffer, uint32_t count,
                               uint32_t* written) {
    if (written) *written = 0;
    if (!functions_[kWrite]) return kNotLoaded;
    DWORD n = 0;
    const DWORD status =
        as<WriteFn>(functions_[kWrite])(handle, const_cast<void*>(buffer), count, &n);
    if (written) *written = n;
    return status;
}

DriverStatus D2xxDriver::read(DriverHandle handle, void* buffer, uint32_t count, uint32_t* got) {
    if (got) *got = 0;
    if (!functions_[kRead]) return kNotLoaded;
    DWORD n = 0;
    const DWORD status = as<ReadFn>(functions_[kRead])(handle, buffer, count, &n);
    // Never report more than was asked for, whatever the library claims.
    if (got) *got = n > count ? count : n;
    return status;
}

DriverStatus D2xxDriver::close(DriverHandle handle) {
    if (!functions_[kClose]) return kNotLoaded;
    return as<CloseFn>(functions_[kClose])(handle);
}

}  // namespace zavi
