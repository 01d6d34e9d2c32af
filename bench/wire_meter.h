// A driver that passes every call through to another and notes what crosses the wire: one
// exchange per write (the request), with the bytes the reads after it brought back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "bench/pass_through_driver.h"
#include "link/driver.h"

namespace zavi::bench {

struct Exchange {
    uint8_t command = 0;      // decoded from the request
    uint32_t request = 0;     // bytes written
    uint32_t answer = 0;      // bytes read back
    uint32_t read_calls = 0;  // driver reads it took
};

class WireMeter : public PassThroughDriver {
  public:
    explicit WireMeter(Driver& inner) : PassThroughDriver(inner) {}

    const std::vector<Exchange>& exchanges() const { return exchanges_; }
    void clear() { exchanges_.clear(); }

    DriverStatus write(DriverHandle handle, const void* buffer, uint32_t count,
                       uint32_t* written) override;
    DriverStatus read(DriverHandle handle, void* buffer, uint32_t count, uint32_t* got) override;

  private:
    std::vector<Exchange> exchanges_;
};

// The command code of a request as written ("M", then the command byte, escaped or not); 0 when
// the bytes are no request.
uint8_t request_command(const uint8_t* bytes, std::size_t count);

}  // namespace zavi::bench
