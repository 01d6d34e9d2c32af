// The module's side of the wire: how it decodes a request frame and which requests it takes.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace zavi::sim {

struct DecodedRequest {
    bool frame_ok = false;  // start and end byte, clean escaping, both CRCs, length consistent
    uint8_t command = 0;
    std::vector<uint8_t> data;  // data bytes without the CRC (best effort when !frame_ok)
};

// `wire` is one frame as it arrived, from the start byte "M" to the end byte 0x16. Never reads
// outside `wire`, whatever it holds.
DecodedRequest decode_request(std::span<const uint8_t> wire);

// True for a command the module knows, carrying the data size that command needs.
bool request_fits_command(uint8_t command, std::span<const uint8_t> data);

bool is_write_command(uint8_t command);

// The number of the part, half or block a request addresses (commands 8, 16, 17, 24, 25), or -1.
int request_sub_index(uint8_t command, std::span<const uint8_t> data);

}  // namespace zavi::sim
