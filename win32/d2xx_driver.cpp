#include "win32/d2xx_driver.h"

#include <windows.h>

namespace zavi {

namespace {

template <typename Fn>
bool bind(HMODULE library, WORD ordinal, Fn& call) {
    call = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(ordinal))));
    return call != nullptr;
}

}  // namespace

D2xxDriver::~D2xxDriver() {
    if (library_) FreeLibrary(library_);
}

D2xxLoad D2xxDriver::load() {
    if (library_) return D2xxLoad::ok;
    HMODULE library = LoadLibraryW(L"FTD2XX.dll");
    if (!library) return D2xxLoad::library_missing;
    D2xxCalls found = {};
    if (!bind(library, 70, found.count) || !bind(library, 1, found.open) ||
        !bind(library, 17, found.timeouts) || !bind(library, 16, found.purge) ||
        !bind(library, 4, found.write) || !bind(library, 3, found.read) ||
        !bind(library, 2, found.close)) {
        FreeLibrary(library);
        return D2xxLoad::function_missing;
    }
    library_ = library;
    calls_ = found;
    set_latency_ = reinterpret_cast<decltype(set_latency_)>(
        reinterpret_cast<void*>(GetProcAddress(library, "FT_SetLatencyTimer")));
    create_info_list_ = reinterpret_cast<decltype(create_info_list_)>(
        reinterpret_cast<void*>(GetProcAddress(library, "FT_CreateDeviceInfoList")));
    info_detail_ = reinterpret_cast<decltype(info_detail_)>(
        reinterpret_cast<void*>(GetProcAddress(library, "FT_GetDeviceInfoDetail")));
    return D2xxLoad::ok;
}

std::string D2xxDriver::serial_number(int index) {
    if (!create_info_list_ || !info_detail_ || index < 0) return {};
    DWORD count = 0;
    if (create_info_list_(&count) != 0 || static_cast<DWORD>(index) >= count) return {};
    DWORD flags = 0, type = 0, id = 0, location = 0;
    void* handle = nullptr;
    // The library writes up to 16 and 64 bytes; the rest stays zero, so the text always ends.
    char serial[80] = {};
    char description[80] = {};
    if (info_detail_(static_cast<DWORD>(index), &flags, &type, &id, &location, serial, description,
                     &handle) != 0)
        return {};
    serial[sizeof serial - 1] = '\0';
    return serial;
}

std::string D2xxDriver::serial_of(DriverHandle handle) {
    int index = -1;
    {
        std::lock_guard<std::mutex> guard(opened_lock_);
        for (const auto& [h, i] : opened_)
            if (h == handle) index = i;
    }
    return handle ? serial_number(index) : std::string();
}

DriverStatus D2xxDriver::count_devices(uint32_t* count) {
    if (!calls_.count) return kDriverNotLoaded;
    DWORD n = 0;
    const DWORD status = calls_.count(&n);
    if (count) *count = n;
    return status;
}

DriverStatus D2xxDriver::open_by_index(int index, DriverHandle* handle) {
    if (handle) *handle = nullptr;
    if (!calls_.open) return kDriverNotLoaded;
    const DWORD status = calls_.open(index, handle);
    if (status != 0 || !handle || !*handle) return status;
    // The chip holds received bytes up to 16 ms before passing them on; 1 ms cuts most of
    // that from every answer. Some chips accept 2 ms at the least. Failure changes nothing.
    if (set_latency_ && set_latency_(*handle, 1) != 0) set_latency_(*handle, 2);
    std::lock_guard<std::mutex> guard(opened_lock_);
    opened_.emplace_back(*handle, index);
    return status;
}

DriverStatus D2xxDriver::set_timeouts(DriverHandle handle, uint32_t read_ms, uint32_t write_ms) {
    if (!calls_.timeouts) return kDriverNotLoaded;
    return calls_.timeouts(handle, read_ms, write_ms);
}

DriverStatus D2xxDriver::purge(DriverHandle handle, uint32_t mask) {
    if (!calls_.purge) return kDriverNotLoaded;
    return calls_.purge(handle, mask);
}

DriverStatus D2xxDriver::write(DriverHandle handle, const void* buffer, uint32_t count,
                               uint32_t* written) {
    // The library knows its handles; the buffer and the count are checked here, as elsewhere.
    const DriverStatus checked = check_transfer(true, buffer, count, written);
    if (!calls_.write) return kDriverNotLoaded;
    if (checked != kDriverOk) return checked;
    DWORD n = 0;
    const DWORD status = calls_.write(handle, const_cast<void*>(buffer), count, &n);
    *written = n;
    return status;
}

DriverStatus D2xxDriver::read(DriverHandle handle, void* buffer, uint32_t count, uint32_t* got) {
    const DriverStatus checked = check_transfer(true, buffer, count, got);
    if (!calls_.read) return kDriverNotLoaded;
    if (checked != kDriverOk) return checked;
    DWORD n = 0;
    const DWORD status = calls_.read(handle, buffer, count, &n);
    // Never report more than was asked for, whatever the library claims.
    *got = n > count ? count : n;
    return status;
}

DriverStatus D2xxDriver::close(DriverHandle handle) {
    if (!calls_.close) return kDriverNotLoaded;
    {
        std::lock_guard<std::mutex> guard(opened_lock_);
        std::erase_if(opened_, [handle](const auto& open) { return open.first == handle; });
    }
    return calls_.close(handle);
}

}  // namespace zavi
