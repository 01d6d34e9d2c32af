// Frame codec of the serial protocol: CRC-8/MAXIM, request building, byte stuffing, framing,
// extraction of a received frame and its acceptance rules. Pure functions over caller-owned
// fixed-size buffers; nothing here reads or writes past a buffer, whatever the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace zavi {

constexpr uint8_t kRequestStart = 0x4D;   // "M"
constexpr uint8_t kResponseStart = 0x53;  // "S"
constexpr uint8_t kFrameEnd = 0x16;
constexpr uint8_t kEscape = 0x6E;  // "n"

constexpr std::size_t kMaxFrameData = 254;  // the length byte counts the data CRC too
constexpr std::size_t kMaxPlainFrame = 3 + kMaxFrameData + 1;  // header, data, data CRC
constexpr std::size_t kMaxEscaped = 2 * kMaxPlainFrame;
constexpr std::size_t kMaxWireFrame = kMaxEscaped + 2;
constexpr std::size_t kAckSize = 5;

// A fixed-capacity byte buffer with its fill level.
template <std::size_t Capacity>
struct ByteBuffer {
    static constexpr std::size_t capacity = Capacity;
    uint8_t bytes[Capacity];
    std::size_t size = 0;

    std::span<const uint8_t> view() const { return {bytes, size}; }
};

using PlainFrame = ByteBuffer<kMaxPlainFrame>;
using EscapedBytes = ByteBuffer<kMaxEscaped>;
using WireFrame = ByteBuffer<kMaxWireFrame>;

// Table-driven CRC-8/MAXIM (reflected 0x31, init 0, no final XOR).
uint8_t crc8(std::span<const uint8_t> bytes, uint8_t crc = 0);

// command, L, header CRC, data, data CRC (L = 0 and no data CRC when there is no data).
// False when the data does not fit one frame.
bool build_request(uint8_t command, std::span<const uint8_t> data, PlainFrame& out);

// 0x16, 0x4D, 0x53 and 0x6E become 0x6E followed by the complement. False when `in` is longer
// than a plain frame.
bool escape_bytes(std::span<const uint8_t> in, EscapedBytes& out);

// start byte + escaped bytes + end byte. frame_request uses "M", frame_response "S".
bool frame_bytes(uint8_t start, std::span<const uint8_t> escaped, WireFrame& out);
inline bool frame_request(std::span<const uint8_t> escaped, WireFrame& out) {
    return frame_bytes(kRequestStart, escaped, out);
}
inline bool frame_response(std::span<const uint8_t> escaped, WireFrame& out) {
    return frame_bytes(kResponseStart, escaped, out);
}

// build_request + escape_bytes + frame_bytes in one go.
bool encode_frame(uint8_t start, uint8_t command, std::span<const uint8_t> data, WireFrame& out);

// The bytes between the last "S" and the last end byte of what one read returned. An end byte
// in the very first position does not count; without any "S" the first byte is taken as the
// start. False when there is no usable end byte.
bool extract_payload(std::span<const uint8_t> received, std::span<const uint8_t>* payload);

// Drops each 0x6E and complements the byte after it. Writes at most out.size() bytes and
// returns the count written.
std::size_t unescape_bytes(std::span<const uint8_t> in, std::span<uint8_t> out);

enum class FrameCheck : uint8_t {
    ok,
    too_short,      // fewer decoded bytes than the CRC must cover
    bad_crc,        // the CRC register does not end at 0
    bad_command,    // byte 0 is not the command that was sent
    bad_length,     // fixed-size answer with another length byte
    bad_sub_index,  // part/half number not echoed
};

constexpr int kAnyLength = -1;
constexpr int kNoSubIndex = -1;

// Acceptance of a decoded response, in order: CRC over L + 3 bytes (the expected L for
// fixed-size answers, the received one otherwise), command echo, length byte, sub-index echo
// in data byte 0.
FrameCheck check_response(std::span<const uint8_t> frame, uint8_t command, int expected_length,
                          int expected_sub_index);

// The module's 5-byte acknowledgement: exactly 5 bytes, "S", then the command code.
bool await_ack(std::span<const uint8_t> received, uint8_t command);

}  // namespace zavi
