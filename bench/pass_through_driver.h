// A driver that hands every call to another one; the meters derive from it and look at the
// writes and reads on their way through.
#pragma once

#include "link/driver.h"

namespace zavi::bench {

class PassThroughDriver : public Driver {
  public:
    explicit PassThroughDriver(Driver& inner) : inner_(inner) {}

    DriverStatus count_devices(uint32_t* count) override { return inner_.count_devices(count); }
    DriverStatus open_by_index(int index, DriverHandle* handle) override {
        return inner_.open_by_index(index, handle);
    }
    DriverStatus set_timeouts(DriverHandle handle, uint32_t read_ms, uint32_t write_ms) override {
        return inner_.set_timeouts(handle, read_ms, write_ms);
    }
    DriverStatus purge(DriverHandle handle, uint32_t mask) override {
        return inner_.purge(handle, mask);
    }
    DriverStatus write(DriverHandle handle, const void* buffer, uint32_t count,
                       uint32_t* written) override {
        return inner_.write(handle, buffer, count, written);
    }
    DriverStatus read(DriverHandle handle, void* buffer, uint32_t count, uint32_t* got) override {
        return inner_.read(handle, buffer, count, got);
    }
    DriverStatus close(DriverHandle handle) override { return inner_.close(handle); }

  protected:
    Driver& inner_;
};

}  // namespace zavi::bench
