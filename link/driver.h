// The USB driver as the link layer sees it: exactly the seven calls of the FTDI D2XX library.
// Every call returns a driver status, 0 for success. Implementations: the D2XX binding
// (Windows, win32/) and the simulated module (sim/).
#pragma once

#include <cstdint>

namespace zavi {

using DriverHandle = void*;
using DriverStatus = uint32_t;

constexpr DriverStatus kDriverOk = 0;
constexpr uint32_t kPurgeRxTx = 3;

class Driver {
  public:
    virtual ~Driver() = default;
    virtual DriverStatus count_devices(uint32_t* count) = 0;
    virtual DriverStatus open_by_index(int index, DriverHandle* handle) = 0;
    virtual DriverStatus set_timeouts(DriverHandle handle, uint32_t read_ms, uint32_t write_ms) = 0;
    virtual DriverStatus purge(DriverHandle handle, uint32_t mask) = 0;
    virtual DriverStatus write(DriverHandle handle, const void* buffer, uint32_t count,
                               uint32_t* written) = 0;
    // Returns when `count` bytes have arrived or the read time-out has passed; `*got` tells
    // how many arrived (success with fewer bytes on a time-out).
    virtual DriverStatus read(DriverHandle handle, void* buffer, uint32_t count, uint32_t* got) = 0;
    virtual DriverStatus close(DriverHandle handle) = 0;
};

// The one driver of the process (or of a clone thread, link/link_state.h): set once at
// start-up (or by a test), used by every command. Null when no driver library could be loaded.
void set_driver(Driver* driver);
Driver* driver();

}  // namespace zavi
