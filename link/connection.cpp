#include "link/connection.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "common/three_languages.h"
#include "link/clock.h"
#include "link/link_state.h"

namespace zavi {

ZAVI_BIND_PER_THREAD(DriverHandle, device_handle);

namespace {

constexpr uint8_t kVersionCommand = 1;
constexpr uint8_t kVersionLength = 14;
constexpr std::size_t kVersionAsk = 30;
constexpr std::size_t kVersionMinimum = 21;  // "S" and "M" of the text are always escaped
constexpr std::size_t kVersionDecoded = 3 + kFirmwareLength;
constexpr std::size_t kMajorDigit = 13;  // decoded positions of the module's version digits
constexpr std::size_t kMinorDigit = 15;

using Received = ByteBuffer<kMaxReceive>;

// Encodes the request and writes it in one call.
bool write_request(Driver& d, DriverHandle handle, uint8_t command, std::span<const uint8_t> data) {
    WireFrame wire;
    if (!encode_frame(kRequestStart, command, data, wire)) return false;
    uint32_t written = 0;
    const auto count = static_cast<uint32_t>(wire.size);
    return d.write(handle, wire.bytes, count, &written) == kDriverOk && written == count;
}

bool has_end_byte(const Received& rx, std::size_t from) {
    for (std::size_t i = std::max<std::size_t>(from, 1); i < rx.size; ++i)
        if (rx.bytes[i] == kFrameEnd) return true;
    return false;
}

// Reads an answer of up to `ask` bytes. A single read for `ask` bytes would always wait out
// the whole read time-out, since no answer is that long; so the bytes are fetched in pieces
// (first `first`, then one at a time) and the read ends as soon as `complete` accepts what has
// arrived. Otherwise it ends when `ask` bytes are in, when a read came back short (nothing
// arrived within the read time-out), or when the receive has taken the read time-out, so a
// module that drips bytes cannot hold it much past twice that. An answer is accepted at its
// first good frame, so leftovers of an earlier exchange ahead of it are skipped unless they
// themselves pass every check for this request. False when a read call failed.
template <class Complete>
bool read_answer(Driver& d, DriverHandle handle, std::size_t ask, std::size_t first, Received& rx,
                 Complete complete) {
    rx.size = 0;
    ask = std::min(ask, kMaxReceive);
    const uint64_t start = now_us();
    const uint64_t limit_us = uint64_t{link_state().read_timeout_ms} * 1000;
    std::size_t want = std::clamp<std::size_t>(first, 1, ask);
    while (rx.size < ask) {
        uint32_t got = 0;
        if (d.read(handle, rx.bytes + rx.size, static_cast<uint32_t>(want), &got) != kDriverOk)
            return false;
        const std::size_t before = rx.size;
        rx.size += std::min<std::size_t>(got, want);
        if (got < want) break;
        if (has_end_byte(rx, before) && complete(rx.view())) break;
        if (now_us() - start >= limit_us) break;
        want = 1;
    }
    return true;
}

// Extraction and decoding of whatever arrived. False when there is no usable end byte.
bool decode_received(std::span<const uint8_t> received, Response& out) {
    out.size = 0;
    std::span<const uint8_t> payload;
    if (!extract_payload(received, &payload)) return false;
    out.size = unescape_bytes(payload, out.bytes);
    return true;
}

LinkResult result_of(FrameCheck check) {
    switch (check) {
        case FrameCheck::ok:
            return kOk;
        case FrameCheck::too_short:
        case FrameCheck::bad_crc:
            return kBadCrc;
        default:
            return kBadEcho;
    }
}

// The version answer is not CRC-checked: command, length and enough bytes for the text.
bool version_answer_usable(std::span<const uint8_t> received, Response& decoded) {
    return received.size() >= kVersionMinimum && decode_received(received, decoded) &&
           decoded.size >= kVersionDecoded && decoded.bytes[0] == kVersionCommand &&
           decoded.bytes[1] == kVersionLength;
}

}  // namespace

void format_firmware_message(uint8_t language, char major, char minor, char* out,
                             std::size_t size) {
    if (out == nullptr || size == 0) return;
    const char* required =
        pick_text(language, "Wymagany firmware:", "Required firmware:", "Erforderliche Firmware:");
    const char* device =
        pick_text(language, "W urządzeniu jest:", "the device is:", "im Gerät ist:");
    std::snprintf(out, size, "%s   %s\n%s   v%c.%c\n", required, kRequiredFirmware, device, major,
                  minor);
}

uint8_t open_device(int index, DriverHandle* handle, uint8_t language, FirmwareNotice& notice) {
    *handle = nullptr;
    Driver* d = driver();
    if (d == nullptr) return kOpenFailed;
    DriverHandle h = nullptr;
    if (d->open_by_index(index, &h) != kDriverOk) return kOpenFailed;

    if (set_link_timeouts(h, kReadTimeoutMs, kWriteTimeoutMs) == kDriverOk) d->purge(h, kPurgeRxTx);
    Received rx;
    Response decoded;
    const bool answered = write_request(*d, h, kVersionCommand, {}) &&
                          read_answer(*d, h, kVersionAsk, kVersionMinimum, rx,
                                      [&](std::span<const uint8_t> bytes) {
                                          return version_answer_usable(bytes, decoded);
                                      }) &&
                          version_answer_usable(rx.view(), decoded);
    if (!answered) {
        d->close(h);
        return kOpenFailed;
    }

    if (std::memcmp(decoded.bytes + 3, kRequiredFirmware, kFirmwareLength) == 0) {
        *handle = h;
        return kOpenOk;
    }
    char message[160];
    format_firmware_message(language, static_cast<char>(decoded.bytes[kMajorDigit]),
                            static_cast<char>(decoded.bytes[kMinorDigit]), message, sizeof message);
    notice.firmware_mismatch(message);
    d->close(h);
    return kOpenWrongFirmware;
}

DriverStatus set_link_timeouts(DriverHandle handle, uint32_t read_ms, uint32_t write_ms) {
    // Remembered even when the driver refuses: it is what the receive loop is meant to allow.
    link_state().read_timeout_ms = read_ms;
    Driver* d = driver();
    if (d == nullptr) return 1;
    return d->set_timeouts(handle, read_ms, write_ms);
}

uint32_t link_read_timeout_ms() {
    return link_state().read_timeout_ms;
}

bool send_frame(DriverHandle handle, uint8_t command, std::span<const uint8_t> data) {
    Driver* d = driver();
    if (d == nullptr) return false;
    d->purge(handle, kPurgeRxTx);  // leftovers of an earlier exchange never reach this one
    return write_request(*d, handle, command, data);
}

std::span<const uint8_t> Response::data() const {
    if (size < 3 || bytes[1] == 0) return {};
    const std::size_t count = std::min<std::size_t>(bytes[1] - 1u, size - 3);
    return {bytes + 3, count};
}

LinkResult receive_frame(DriverHandle handle, uint8_t command, std::size_t ask, int expected_length,
                         int expected_sub_index, Response& out) {
    out.size = 0;
    Driver* d = driver();
    if (d == nullptr) return kReadFailed;
    // The read sizes of the commands can be shorter than a valid answer whose bytes happen to
    // need escaping (numbers full of the digit pairs 16 and 53, names full of "S", "M" and "n").
    // The read stops at the first good frame anyway, so allowing for the longest answer with
    // every byte escaped costs nothing and such answers are no longer cut off.
    const std::size_t longest = expected_length == kAnyLength
                                    ? kMaxWireFrame
                                    : 2 + 2 * (static_cast<std::size_t>(expected_length) + 3);
    ask = std::max(ask, longest);
    // The smallest good answer: start, header, data and CRCs unescaped, end.
    const std::size_t first =
        expected_length == kAnyLength ? 5 : static_cast<std::size_t>(expected_length) + 5;
    Received rx;
    const bool read_ok =
        read_answer(*d, handle, ask, first, rx, [&](std::span<const uint8_t> bytes) {
            return decode_received(bytes, out) &&
                   check_response(out.view(), command, expected_length, expected_sub_index) ==
                       FrameCheck::ok;
        });
    if (!read_ok) return kReadFailed;
    if (!decode_received(rx.view(), out)) return kNoFrameEnd;
    return result_of(check_response(out.view(), command, expected_length, expected_sub_index));
}

bool await_ack(DriverHandle handle, uint8_t command) {
    Driver* d = driver();
    if (d == nullptr) return false;
    uint8_t ack[kAckSize];
    uint32_t got = 0;
    if (d->read(handle, ack, kAckSize, &got) != kDriverOk) return false;
    return await_ack(std::span<const uint8_t>(ack, std::min<std::size_t>(got, kAckSize)), command);
}

}  // namespace zavi
