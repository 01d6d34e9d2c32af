// The counting and opening half of a driver whose modules sit on ports known by name (COM5):
// every count lists the ports again, so that Connect again finds a port that appeared after
// start-up (a plugged-in adapter, a new COM mapping), and index i opens name i of that list.
// The platform part opens, configures and talks to one named port.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "link/driver.h"

namespace zavi {

class NamedPortDriver : public Driver {
  public:
    // Lists the port names in the order the indices take; UTF-8.
    using ListPorts = std::function<std::vector<std::string>()>;
    explicit NamedPortDriver(ListPorts list_ports);

    DriverStatus count_devices(uint32_t* count) final;
    // Opens name `index` of the last count (a first open without a count lists the ports).
    DriverStatus open_by_index(int index, DriverHandle* handle) final;
    DriverStatus close(DriverHandle handle) final;

    // The ports of the last count.
    const std::vector<std::string>& ports() const { return ports_; }
    // The port behind an open handle ("COM5"); empty for any other handle.
    std::string port_of(DriverHandle handle) const;

  protected:
    virtual DriverStatus open_port(const std::string& name, DriverHandle* handle) = 0;
    virtual DriverStatus close_port(DriverHandle handle) = 0;
    // True for a handle this driver opened and has not closed.
    bool is_open(DriverHandle handle) const;

  private:
    struct OpenPort {
        DriverHandle handle;
        std::string name;
    };
    ListPorts list_ports_;
    std::vector<std::string> ports_;
    bool listed_ = false;
    std::vector<OpenPort> open_;
};

}  // namespace zavi
