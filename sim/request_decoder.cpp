#include "sim/request_decoder.h"

#include <cstddef>

#include "link/codec.h"

namespace zavi::sim {

namespace {

bool is_control_byte(uint8_t b) {
    return b == kFrameEnd || b == kRequestStart || b == kResponseStart || b == kEscape;
}

constexpr std::size_t kNumberBytes = 7;
constexpr std::size_t kNamesPerHalf = 6;

// Half byte followed by exactly six length-prefixed texts.
bool names_fit(std::span<const uint8_t> data) {
    if (data.empty()) return false;
    std::size_t pos = 1;
    for (std::size_t i = 0; i < kNamesPerHalf; ++i) {
        if (pos >= data.size()) return false;
        pos += 1 + data[pos];
    }
    return pos == data.size();
}

}  // namespace

DecodedRequest decode_request(std::span<const uint8_t> wire) {
    DecodedRequest out;
    if (wire.size() < 2) return out;
    const bool framed = wire.front() == kRequestStart && wire.back() == kFrameEnd;
    const auto body = wire.subspan(1, wire.size() - 2);

    // Strict unescaping: the sender escapes exactly the four control bytes, and none of them
    // may appear bare inside a frame.
    std::vector<uint8_t> plain;
    plain.reserve(body.size());
    bool clean = true;
    for (std::size_t i = 0; i < body.size(); ++i) {
        uint8_t b = body[i];
        if (b == kEscape) {
            if (i + 1 >= body.size()) {
                clean = false;
                break;
            }
            b = static_cast<uint8_t>(~body[++i]);
            if (!is_control_byte(b)) clean = false;
        } else if (is_control_byte(b)) {
            clean = false;
        }
        plain.push_back(b);
    }

    if (!plain.empty()) out.command = plain[0];
    if (plain.size() > 4) out.data.assign(plain.begin() + 3, plain.end() - 1);
    if (!framed || !clean || plain.size() < 3) return out;

    const std::size_t length = plain[1];
    const std::size_t expected_size = length == 0 ? 3 : length + 3;
    if (plain.size() != expected_size) return out;
    if (crc8(std::span<const uint8_t>(plain).first(3)) != 0) return out;
    if (length > 0 && crc8(std::span<const uint8_t>(plain).subspan(3)) != 0) return out;
    out.frame_ok = true;
    return out;
}

bool is_write_command(uint8_t command) {
    switch (command) {
        case 7:
        case 10:
        case 12:
        case 14:
        case 15:
        case 17:
        case 19:
        case 21:
        case 23:
        case 25:
        case 27:
            return true;
        default:
            return false;
    }
}

bool request_fits_command(uint8_t command, std::span<const uint8_t> data) {
    const std::size_t n = data.size();
    switch (command) {
        case 1:
        case 6:
        case 9:
        case 11:
        case 13:
        case 15:
        case 18:
        case 20:
        case 22:
        case 26:
            return n == 0;
        case 7:
            return n == 14;
        case 10:
            return n == 6;
        case 12:
            return n == 9;
        case 23:
            return n == 2;
        case 8:
        case 16:
        case 19:
        case 21:
        case 24:
        case 27:
            return n == 1;
        case 14:
            return n >= 1 && n == 1 + kNumberBytes * data[0];
        case 17:
            return n >= 2 && n == 2 + kNumberBytes * data[1];
        case 25:
            return names_fit(data);
        default:
            return false;
    }
}

int request_sub_index(uint8_t command, std::span<const uint8_t> data) {
    switch (command) {
        case 8:
        case 16:
        case 17:
        case 24:
        case 25:
            return data.empty() ? -1 : data[0];
        default:
            return -1;
    }
}

}  // namespace zavi::sim
