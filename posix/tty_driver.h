// The module through a serial tty (Linux's ftdi_sio gives /dev/ttyUSB*; a pseudo-terminal
// works the same way): the seven driver calls over a fixed list of port paths, index i opening
// path i. 9600 baud, 8N1, raw, no flow control: the chip's power-on setting that the rest of
// the link relies on. A port is claimed exclusively (flock and TIOCEXCL) while it is open.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/driver.h"

namespace zavi::posix {

// Why a port could not be opened or stopped working.
enum class PortProblem : uint8_t {
    none,
    missing,     // no such file, or the device went away
    not_a_tty,   // a file or device that is no serial port
    busy,        // held by another program
    permission,  // no right to open it (on Debian: not in the dialout group)
    hung_up,     // the other end went away while the port was open
    failed,      // any other refusal by the system
};

// The drivers' failure (errno as the system gave it) with the kind of problem.
struct PortFailure : DriverFailure {
    PortProblem problem = PortProblem::none;
};

class TtyDriver : public Driver {
  public:
    explicit TtyDriver(std::vector<std::string> paths);
    ~TtyDriver() override;
    TtyDriver(const TtyDriver&) = delete;
    TtyDriver& operator=(const TtyDriver&) = delete;

    DriverStatus count_devices(uint32_t* count) override;
    DriverStatus open_by_index(int index, DriverHandle* handle) override;
    DriverStatus set_timeouts(DriverHandle handle, uint32_t read_ms, uint32_t write_ms) override;
    DriverStatus purge(DriverHandle handle, uint32_t mask) override;
    DriverStatus write(DriverHandle handle, const void* buffer, uint32_t count,
                       uint32_t* written) override;
    DriverStatus read(DriverHandle handle, void* buffer, uint32_t count, uint32_t* got) override;
    DriverStatus close(DriverHandle handle) override;

    const std::vector<std::string>& paths() const { return paths_; }
    // The last failure of an open or of a read/write on an open port (problem none when the
    // last call succeeded).
    const PortFailure& last_failure() const { return failure_; }
    std::string last_error_text() const override { return failure_.message; }
    // Folder standing in for /sys, for tests.
    void set_sysfs_root(std::string root) { sysfs_root_ = std::move(root); }

  private:
    struct Port;
    Port* port_of(DriverHandle handle) const;
    DriverStatus fail(Port& port, PortProblem problem, int os_error, const char* what);

    std::vector<std::string> paths_;
    std::vector<Port*> open_;
    PortFailure failure_;
    std::string sysfs_root_ = "/sys";
};

// Opens and configures `path` as the driver does, then closes it: whether the port can be used,
// and why not.
PortFailure check_port(const std::string& path);

// What is wrong with the speeds a port reports after it was set to 9600 baud (the termios
// speed codes of both directions, as cfgetispeed and cfgetospeed give them): "" when both are
// 9600, otherwise a phrase such as "runs at 19200 baud instead of 9600".
std::string speed_problem(unsigned long input_speed, unsigned long output_speed);

// Lowers the USB-serial chip's latency timer of the tty at `device_path` (a /dev path or a
// link to one) to 1 ms through `sysfs_root`/bus/usb-serial/devices/NAME/latency_timer. True
// when the file took the value.
bool lower_sysfs_latency(const std::string& device_path, const std::string& sysfs_root);

}  // namespace zavi::posix
