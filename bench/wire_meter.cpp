#include "bench/wire_meter.h"

#include "link/codec.h"

namespace zavi::bench {

uint8_t request_command(const uint8_t* bytes, std::size_t count) {
    if (count < 2 || bytes[0] != kRequestStart) return 0;
    if (bytes[1] != kEscape) return bytes[1];
    return count < 3 ? 0 : static_cast<uint8_t>(~bytes[2]);
}

DriverStatus WireMeter::write(DriverHandle handle, const void* buffer, uint32_t count,
                              uint32_t* written) {
    const DriverStatus status = inner_.write(handle, buffer, count, written);
    if (status == kDriverOk && written != nullptr && *written > 0) {
        Exchange e;
        e.command = request_command(static_cast<const uint8_t*>(buffer), count);
        e.request = *written;
        exchanges_.push_back(e);
    }
    return status;
}

DriverStatus WireMeter::read(DriverHandle handle, void* buffer, uint32_t count, uint32_t* got) {
    const DriverStatus status = inner_.read(handle, buffer, count, got);
    if (!exchanges_.empty()) {
        Exchange& e = exchanges_.back();
        ++e.read_calls;
        if (status == kDriverOk && got != nullptr) e.answer += *got;
    }
    return status;
}

}  // namespace zavi::bench
