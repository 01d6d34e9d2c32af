// The USB driver as the link layer sees it: exactly the seven calls of the FTDI D2XX library.
// Every call returns a driver status (link/driver_status.h), kDriverOk for success.
// Implementations:
//   sim      SimDriver (sim/simulator.h): the simulated module in-process, also inside the
//            drop-in FTD2XX.dll (sim/dll/)
//   D2XX     D2xxDriver (win32/d2xx_driver.h): the vendor library, loaded at run time
//   COM      ComDriver (win32/com_driver.h): a COM port, through NamedPortDriver
//   tty      TtyDriver (posix/tty_driver.h): a serial tty or pseudo-terminal on Linux; the
//            simulated module served on a pty by zavi-sim-serve (sim/serve/) is reached so
//   bench    PassThroughDriver, WireMeter and ReplayDriver (bench/): measure or replay the calls
//   tests    ScriptedDriver (tests/support/) and AnswerDriver (fuzz/): play scripted answers
#pragma once

#include <cstdint>
#include <string>

#include "link/driver_status.h"

namespace zavi {

using DriverHandle = void*;

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
    // The last failure in words for the user, where the driver knows more than its status
    // (the port and the system's reason); empty otherwise.
    virtual std::string last_error_text() const { return {}; }
};

// The one driver of the process (or of a clone thread, link/link_state.h): set once at
// start-up (or by a test), used by every command. Null when no driver library could be loaded.
void set_driver(Driver* driver);
Driver* driver();

}  // namespace zavi
