// The FTDI D2XX driver library, loaded at run time and bound by ordinal.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "link/driver.h"

namespace zavi {

// The library's seven calls as it exports them: stdcall, a 32-bit status, 0 for success.
struct D2xxCalls {
    DWORD(WINAPI* count)(DWORD* count);                                          // ordinal 70
    DWORD(WINAPI* open)(int index, void** handle);                               // 1
    DWORD(WINAPI* timeouts)(void* handle, DWORD read_ms, DWORD write_ms);        // 17
    DWORD(WINAPI* purge)(void* handle, DWORD mask);                              // 16
    DWORD(WINAPI* write)(void* handle, void* buffer, DWORD count, DWORD* done);  // 4
    DWORD(WINAPI* read)(void* handle, void* buffer, DWORD count, DWORD* got);    // 3
    DWORD(WINAPI* close)(void* handle);                                          // 2
};

enum class D2xxLoad { ok, library_missing, function_missing };

class D2xxDriver : public Driver {
  public:
    D2xxDriver() = default;
    ~D2xxDriver() override;
    D2xxDriver(const D2xxDriver&) = delete;
    D2xxDriver& operator=(const D2xxDriver&) = delete;

    // LoadLibraryW("FTD2XX.dll") and the seven functions by ordinal (70, 1, 17, 16, 4, 3, 2).
    // FT_SetLatencyTimer is looked up by name; a library without it works as before.
    D2xxLoad load();

    DriverStatus count_devices(uint32_t* count) override;
    // Also lowers the chip's latency timer to 1 ms (2 ms where 1 is refused) when it can.
    DriverStatus open_by_index(int index, DriverHandle* handle) override;
    DriverStatus set_timeouts(DriverHandle handle, uint32_t read_ms, uint32_t write_ms) override;
    DriverStatus purge(DriverHandle handle, uint32_t mask) override;
    DriverStatus write(DriverHandle handle, const void* buffer, uint32_t count,
                       uint32_t* written) override;
    DriverStatus read(DriverHandle handle, void* buffer, uint32_t count, uint32_t* got) override;
    DriverStatus close(DriverHandle handle) override;

    // The serial number of the chip at `index` (FT_CreateDeviceInfoList and
    // FT_GetDeviceInfoDetail, by name); "" where the library has neither or gives none.
    std::string serial_number(int index);
    // The serial number of the chip behind an open handle, by the index it was opened with.
    std::string serial_of(DriverHandle handle);

  private:
    HMODULE library_ = nullptr;
    D2xxCalls calls_ = {};  // all null until every call was found
    // FT_SetLatencyTimer, found by name; null where the library has none.
    DWORD(WINAPI* set_latency_)(void* handle, UCHAR ms) = nullptr;
    // The device information calls, found by name; null where the library has none.
    DWORD(WINAPI* create_info_list_)(DWORD* count) = nullptr;
    DWORD(WINAPI* info_detail_)
    (DWORD index, DWORD* flags, DWORD* type, DWORD* id, DWORD* location, void* serial,
     void* description, void** handle) = nullptr;
    // Open handles and their indices; the program opens and closes on more than one thread.
    std::mutex opened_lock_;
    std::vector<std::pair<DriverHandle, int>> opened_;
};

}  // namespace zavi
