#include "link/named_port_driver.h"

#include <algorithm>
#include <utility>

namespace zavi {

NamedPortDriver::NamedPortDriver(ListPorts list_ports) : list_ports_(std::move(list_ports)) {}

DriverStatus NamedPortDriver::count_devices(uint32_t* count) {
    if (!count) return kDriverInvalidParameter;
    ports_ = list_ports_ ? list_ports_() : std::vector<std::string>{};
    listed_ = true;
    *count = static_cast<uint32_t>(ports_.size());
    return kDriverOk;
}

DriverStatus NamedPortDriver::open_by_index(int index, DriverHandle* handle) {
    if (!handle) return kDriverInvalidParameter;
    *handle = nullptr;
    if (!listed_) {
        uint32_t ignored = 0;
        count_devices(&ignored);
    }
    if (index < 0 || index >= static_cast<int>(ports_.size())) return kDriverNotFound;
    const std::string name = ports_[static_cast<std::size_t>(index)];
    DriverHandle opened = nullptr;
    const DriverStatus status = open_port(name, &opened);
    if (status != kDriverOk || !opened) return status != kDriverOk ? status : kDriverNotFound;
    open_.push_back({opened, name});
    *handle = opened;
    return kDriverOk;
}

DriverStatus NamedPortDriver::close(DriverHandle handle) {
    const auto it = std::find_if(open_.begin(), open_.end(),
                                 [handle](const OpenPort& p) { return p.handle == handle; });
    if (it == open_.end()) return kDriverInvalidHandle;
    open_.erase(it);
    return close_port(handle);
}

std::string NamedPortDriver::port_of(DriverHandle handle) const {
    for (const OpenPort& p : open_)
        if (p.handle == handle) return p.name;
    return {};
}

bool NamedPortDriver::is_open(DriverHandle handle) const {
    return std::any_of(open_.begin(), open_.end(),
                       [handle](const OpenPort& p) { return p.handle == handle; });
}

}  // namespace zavi
