#include "sim/answer_builder.h"

#include <algorithm>

#include "link/codec.h"

namespace zavi::sim {

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kMaxGarbage = 1u << 16;

bool has(std::span<const Fault* const> faults, FaultKind kind, const Fault** found = nullptr) {
    for (const Fault* f : faults) {
        if (f->kind == kind) {
            if (found) *found = f;
            return true;
        }
    }
    return false;
}

// Plain frame: command, L, header CRC, data, data CRC.
Bytes plain_frame(uint8_t command, std::span<const uint8_t> data) {
    PlainFrame plain;
    if (!build_request(command, data, plain)) return {};
    return Bytes(plain.bytes, plain.bytes + plain.size);
}

void refresh_crcs(Bytes& plain) {
    plain[2] = crc8(std::span<const uint8_t>(plain).first(2));
    if (plain.size() > 3)
        plain.back() = crc8(std::span<const uint8_t>(plain).subspan(3, plain.size() - 4));
}

Bytes escape_and_frame(const Bytes& plain) {
    EscapedBytes escaped;
    WireFrame wire;
    if (!escape_bytes(plain, escaped) || !frame_response(escaped.view(), wire)) return {};
    return Bytes(wire.bytes, wire.bytes + wire.size);
}

// Bytes that never form a frame: no start byte "S" and no end byte.
Bytes garbage(uint32_t count, uint8_t seed) {
    Bytes out;
    uint32_t x = 0x9E3779B9u ^ seed;
    while (out.size() < std::min(count, kMaxGarbage)) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        const auto b = static_cast<uint8_t>(x);
        if (b != kFrameEnd && b != kResponseStart) out.push_back(b);
    }
    return out;
}

Bytes response_wire(uint8_t command, std::span<const uint8_t> data,
                    std::span<const Fault* const> faults) {
    Bytes content(data.begin(), data.end());
    const Fault* f = nullptr;
    uint8_t echoed = command;
    if (has(faults, FaultKind::wrong_command)) echoed = static_cast<uint8_t>(command + 1);
    if (has(faults, FaultKind::wrong_sub_index) && (command == 8 || command == 24) &&
        !content.empty())
        content[0] = static_cast<uint8_t>(content[0] + 1);
    if (has(faults, FaultKind::count_override, &f)) {
        const std::size_t at = command == 13 ? 0 : command == 16 ? 1 : content.size();
        if (at < content.size()) content[at] = static_cast<uint8_t>(f->value);
    }

    Bytes plain = plain_frame(echoed, content);
    if (plain.empty()) return {};
    if (has(faults, FaultKind::wrong_length)) {
        // One less than the bytes that follow, with a header CRC that matches it.
        plain[1] = static_cast<uint8_t>(plain[1] - 1);
        plain[2] = crc8(std::span<const uint8_t>(plain).first(2));
    }
    if (has(faults, FaultKind::bad_header_crc)) plain[2] ^= 0xFF;
    if (has(faults, FaultKind::bad_data_crc) && plain.size() > 3) plain.back() ^= 0xFF;
    return escape_and_frame(plain);
}

Bytes ack_wire(uint8_t command, std::span<const Fault* const> faults) {
    Bytes plain = {command, 0, 0};
    if (has(faults, FaultKind::wrong_command) || has(faults, FaultKind::wrong_ack))
        plain[0] = static_cast<uint8_t>(command + 1);
    refresh_crcs(plain);
    if (has(faults, FaultKind::bad_header_crc)) plain[2] ^= 0xFF;
    Bytes wire = {kResponseStart, plain[0], plain[1], plain[2], kFrameEnd};
    if (has(faults, FaultKind::short_ack)) wire.pop_back();
    if (has(faults, FaultKind::long_ack)) wire.push_back(0x00);
    return wire;
}

}  // namespace

Bytes ack_frame(uint8_t command) {
    return ack_wire(command, {});
}

OutgoingAnswer build_answer(uint8_t command, bool ack, std::span<const uint8_t> data,
                            std::span<const Fault* const> faults,
                            std::span<const uint8_t> previous) {
    OutgoingAnswer out;
    out.wire = ack ? ack_wire(command, faults) : response_wire(command, data, faults);

    const Fault* f = nullptr;
    if (has(faults, FaultKind::previous_answer)) out.wire.assign(previous.begin(), previous.end());
    if (has(faults, FaultKind::raw_answer, &f)) out.wire = f->bytes;
    if (has(faults, FaultKind::garbage, &f)) out.wire = garbage(f->value, command);
    if (has(faults, FaultKind::truncated, &f) && f->value < out.wire.size())
        out.wire.resize(f->value);
    if (has(faults, FaultKind::stale_first))
        out.wire.insert(out.wire.begin(), previous.begin(), previous.end());
    if (has(faults, FaultKind::no_answer)) out.wire.clear();

    for (const Fault* x : faults) {
        if (x->kind == FaultKind::delay) out.delay_us += x->value;
        if (x->kind == FaultKind::drip) out.drip_us = std::max(out.drip_us, x->value);
    }
    return out;
}

}  // namespace zavi::sim
