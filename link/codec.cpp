#include "link/codec.h"

#include <array>
#include <cstring>

namespace zavi {

namespace {

constexpr std::array<uint8_t, 256> make_crc_table() {
    std::array<uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        uint8_t crc = static_cast<uint8_t>(i);
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0x8C : crc >> 1;
        table[i] = crc;
    }
    return table;
}

constexpr std::array<uint8_t, 256> kCrcTable = make_crc_table();

bool needs_escape(uint8_t b) {
    return b == kFrameEnd || b == kRequestStart || b == kResponseStart || b == kEscape;
}

}  // namespace

uint8_t crc8(std::span<const uint8_t> bytes, uint8_t crc) {
    for (uint8_t b : bytes) crc = kCrcTable[crc ^ b];
    return crc;
}

bool build_request(uint8_t command, std::span<const uint8_t> data, PlainFrame& out) {
    out.size = 0;
    if (data.size() > kMaxFrameData) return false;
    const uint8_t length = data.empty() ? 0 : static_cast<uint8_t>(data.size() + 1);
    out.bytes[0] = command;
    out.bytes[1] = length;
    out.bytes[2] = crc8({out.bytes, 2});
    if (data.empty()) {
        out.size = 3;
        return true;
    }
    std::memcpy(out.bytes + 3, data.data(), data.size());
    out.bytes[3 + data.size()] = crc8(data);
    out.size = 4 + data.size();
    return true;
}

bool escape_bytes(std::span<const uint8_t> in, EscapedBytes& out) {
    out.size = 0;
    if (in.size() > kMaxPlainFrame) return false;
    for (uint8_t b : in) {
        if (needs_escape(b)) {
            out.bytes[out.size++] = kEscape;
            out.bytes[out.size++] = static_cast<uint8_t>(~b);
        } else {
            out.bytes[out.size++] = b;
        }
    }
    return true;
}

bool frame_bytes(uint8_t start, std::span<const uint8_t> escaped, WireFrame& out) {
    out.size = 0;
    if (escaped.size() + 2 > WireFrame::capacity) return false;
    out.bytes[0] = start;
    if (!escaped.empty()) std::memcpy(out.bytes + 1, escaped.data(), escaped.size());
    out.bytes[1 + escaped.size()] = kFrameEnd;
    out.size = escaped.size() + 2;
    return true;
}

bool encode_frame(uint8_t start, uint8_t command, std::span<const uint8_t> data, WireFrame& out) {
    PlainFrame plain;
    EscapedBytes escaped;
    return build_request(command, data, plain) && escape_bytes(plain.view(), escaped) &&
           frame_bytes(start, escaped.view(), out);
}

bool extract_payload(std::span<const uint8_t> received, std::span<const uint8_t>* payload) {
    // Without any "S" the first byte is the start; an end byte at position 0 does not count.
    std::size_t last_start = 0;
    std::size_t last_end = 0;
    for (std::size_t i = 0; i < received.size(); ++i) {
        if (received[i] == kResponseStart) last_start = i;
        if (received[i] == kFrameEnd && i > 0) last_end = i;
    }
    if (last_end == 0) return false;
    // A start byte after the last end byte leaves nothing between them.
    *payload = last_start >= last_end ? received.subspan(last_end, 0)
                                      : received.subspan(last_start + 1, last_end - last_start - 1);
    return true;
}

std::size_t unescape_bytes(std::span<const uint8_t> in, std::span<uint8_t> out) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < in.size() && n < out.size(); ++i) {
        if (in[i] == kEscape) {
            if (++i >= in.size()) break;  // a dangling escape byte decodes to nothing
            out[n++] = static_cast<uint8_t>(~in[i]);
        } else {
            out[n++] = in[i];
        }
    }
    return n;
}

FrameCheck check_response(std::span<const uint8_t> frame, uint8_t command, int expected_length,
                          int expected_sub_index) {
    if (frame.size() < 2) return FrameCheck::too_short;
    const std::size_t length =
        expected_length == kAnyLength ? frame[1] : static_cast<std::size_t>(expected_length);
    const std::size_t covered = length + 3;
    if (frame.size() < covered) return FrameCheck::too_short;
    if (crc8(frame.first(covered)) != 0) return FrameCheck::bad_crc;
    if (frame[0] != command) return FrameCheck::bad_command;
    if (expected_length != kAnyLength && frame[1] != expected_length) return FrameCheck::bad_length;
    if (expected_sub_index != kNoSubIndex) {
        if (frame.size() < 4 || frame[1] < 2 || frame[3] != expected_sub_index)
            return FrameCheck::bad_sub_index;
    }
    return FrameCheck::ok;
}

bool await_ack(std::span<const uint8_t> received, uint8_t command) {
    return received.size() == kAckSize && received[0] == kResponseStart && received[1] == command;
}

}  // namespace zavi
