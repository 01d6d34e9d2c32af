// The module through a COM port (FTDI's virtual COM port driver, or under Wine a Linux tty
// mapped to COMn): the seven driver calls over the port names that each count lists again,
// index i opening name i. 9600 baud, 8N1, no flow control, as the chip comes up for the D2XX
// path.
#pragma once

#include <string>
#include <vector>

#include "link/driver.h"
#include "link/named_port_driver.h"

namespace zavi {

class ComDriver : public NamedPortDriver {
  public:
    // Port names as the user knows them ("COM5"), listed again at every count.
    using ListComPorts = std::function<std::vector<std::wstring>()>;
    explicit ComDriver(ListComPorts list_ports);
    ~ComDriver() override;
    ComDriver(const ComDriver&) = delete;
    ComDriver& operator=(const ComDriver&) = delete;

    DriverStatus set_timeouts(DriverHandle handle, uint32_t read_ms, uint32_t write_ms) override;
    DriverStatus purge(DriverHandle handle, uint32_t mask) override;
    DriverStatus write(DriverHandle handle, const void* buffer, uint32_t count,
                       uint32_t* written) override;
    DriverStatus read(DriverHandle handle, void* buffer, uint32_t count, uint32_t* got) override;

    // The Windows error of the last failed call (0: none) and a short English description.
    unsigned long last_error() const { return static_cast<unsigned long>(failure_.os_error); }
    std::string last_error_text() const override { return failure_.message; }

  protected:
    DriverStatus open_port(const std::string& name, DriverHandle* handle) override;
    DriverStatus close_port(DriverHandle handle) override;

  private:
    // Notes the Windows error of the call that just failed; gives `status` back.
    DriverStatus fail(DriverStatus status);

    std::vector<void*> handles_;  // every handle open_port gave and close_port has not closed
    DriverFailure failure_;
};

// The COM ports whose USB vendor is FTDI, found through SetupAPI, in port-number order.
std::vector<std::wstring> find_ftdi_com_ports();

// The device instance ID of a COM port ("FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000"), or ""
// when SetupAPI knows no port of that name.
std::string com_port_instance_id(const std::wstring& port);

// True for "COM1" to "COM255" (any letter case); the device path is \\.\COMn.
bool is_com_port_name(const std::wstring& name);

}  // namespace zavi
