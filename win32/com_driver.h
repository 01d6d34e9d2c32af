// The module through a COM port (FTDI's virtual COM port driver, or under Wine a Linux tty
// mapped to COMn): the seven driver calls over a fixed list of port names, index i opening
// name i. 9600 baud, 8N1, no flow control, as the chip comes up for the D2XX path.
#pragma once

#include <string>
#include <vector>

#include "link/driver.h"

namespace zavi {

class ComDriver : public Driver {
  public:
    // Port names as the user knows them: "COM5".
    explicit ComDriver(std::vector<std::wstring> ports);
    ~ComDriver() override;
    ComDriver(const ComDriver&) = delete;
    ComDriver& operator=(const ComDriver&) = delete;

    DriverStatus count_devices(uint32_t* count) override;
    DriverStatus open_by_index(int index, DriverHandle* handle) override;
    DriverStatus set_timeouts(DriverHandle handle, uint32_t read_ms, uint32_t write_ms) override;
    DriverStatus purge(DriverHandle handle, uint32_t mask) override;
    DriverStatus write(DriverHandle handle, const void* buffer, uint32_t count,
                       uint32_t* written) override;
    DriverStatus read(DriverHandle handle, void* buffer, uint32_t count, uint32_t* got) override;
    DriverStatus close(DriverHandle handle) override;

    const std::vector<std::wstring>& ports() const { return ports_; }
    // The port behind an open handle ("COM5"); empty for any other handle.
    const std::wstring& port_of(DriverHandle handle) const;
    // The Windows error of the last failed call (0: none) and a short English description.
    unsigned long last_error() const { return error_; }
    std::string last_error_text() const;

  private:
    std::vector<std::wstring> ports_;
    std::vector<void*> open_;
    std::vector<std::wstring> open_names_;  // the port of each entry of open_
    unsigned long error_ = 0;
};

// The COM ports whose USB vendor is FTDI, found through SetupAPI, in port-number order.
std::vector<std::wstring> find_ftdi_com_ports();

// True for "COM1" to "COM255" (any letter case); the device path is \\.\COMn.
bool is_com_port_name(const std::wstring& name);

}  // namespace zavi
