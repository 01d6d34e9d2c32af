// What every serial back end answers: one status numbering (the vendor library's, so that a
// log reads the same whichever driver ran) and one shape for the last failure.
#pragma once

#include <cstdint>
#include <string>

namespace zavi {

using DriverStatus = uint32_t;

constexpr DriverStatus kDriverOk = 0;
constexpr DriverStatus kDriverInvalidHandle = 1;
constexpr DriverStatus kDriverNotFound = 2;   // no such index, or the device went away
constexpr DriverStatus kDriverNotOpened = 3;  // there, but it cannot be opened
constexpr DriverStatus kDriverIoError = 4;
constexpr DriverStatus kDriverInvalidParameter = 6;
constexpr DriverStatus kDriverNotLoaded = 0xFFFFFFFF;  // the driver library is not there

// Why the last call of a driver failed, beyond its status.
struct DriverFailure {
    int os_error = 0;     // errno, or the Windows error code (0: none)
    std::string message;  // English, names the port and the system's reason
};

// The first checks of a read or write, the same in every driver: the count done is zeroed, the
// handle must be one the driver opened, and there must be a count to fill and a buffer for a
// non-empty transfer.
inline DriverStatus check_transfer(bool handle_open, const void* buffer, uint32_t count,
                                   uint32_t* done) {
    if (done) *done = 0;
    if (!handle_open) return kDriverInvalidHandle;
    if (!done || (!buffer && count > 0)) return kDriverInvalidParameter;
    return kDriverOk;
}

}  // namespace zavi
