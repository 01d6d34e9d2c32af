#include "link/phone_commands.h"

#include <algorithm>
#include <cstring>

#include "link/exchange.h"
#include "link/records.h"

namespace zavi {

namespace {

constexpr uint8_t kReadAcceptAll = 18;
constexpr uint8_t kWriteAcceptAll = 19;
constexpr uint8_t kReadEmergency = 13;
constexpr uint8_t kWriteEmergency = 14;
constexpr uint8_t kReadAcceptedBlock = 16;
constexpr uint8_t kWriteAcceptedBlock = 17;
constexpr std::size_t kAcceptAllAsk = 10;
constexpr std::size_t kEmergencyAsk = 90;
constexpr std::size_t kAcceptedBlockAsk = 512;

// How many entries of accepted_numbers a block may touch, from its first entry on.
std::size_t block_room(uint8_t block) {
    const std::size_t first = std::size_t{block} * kAcceptedBlockSize;
    return first >= kAcceptedCapacity ? 0 : std::min(kAcceptedBlockSize, kAcceptedCapacity - first);
}

}  // namespace

LinkResult read_accept_all(DriverHandle handle) {
    Response answer;
    if (request_answer(handle, kReadAcceptAll, {}, kAcceptAllAsk, 2, kNoSubIndex, answer) != kOk)
        return kFailed;
    accept_all = answer.data()[0];
    return kOk;
}

LinkResult write_accept_all(DriverHandle handle) {
    const uint8_t data[] = {accept_all};
    return request_ack(handle, kWriteAcceptAll, data);
}

// The answer must hold every number it announces; more than the list's six are read past and
// only the first six kept.
LinkResult read_emergency_numbers(DriverHandle handle) {
    Response answer;
    if (request_answer(handle, kReadEmergency, {}, kEmergencyAsk, kAnyLength, kNoSubIndex,
                       answer) != kOk)
        return kFailed;
    const std::span<const uint8_t> data = answer.data();
    if (data.empty()) return kFailed;
    const std::size_t announced = data[0];
    if (data.size() < 1 + announced * kPhoneNumberBytes) return kFailed;
    const std::size_t kept = std::min(announced, kEmergencyCapacity);
    if (kept > 0) std::memcpy(emergency_numbers, data.data() + 1, kept * kPhoneNumberBytes);
    emergency_count = static_cast<uint8_t>(kept);
    return kOk;
}

LinkResult write_emergency_numbers(DriverHandle handle) {
    const std::size_t count = std::min<std::size_t>(emergency_count, kEmergencyCapacity);
    uint8_t data[1 + kEmergencyCapacity * kPhoneNumberBytes];
    data[0] = static_cast<uint8_t>(count);
    std::memcpy(data + 1, emergency_numbers, count * kPhoneNumberBytes);
    return request_ack(handle, kWriteEmergency,
                       std::span<const uint8_t>(data, 1 + count * kPhoneNumberBytes));
}

// A count above 36 is taken as an empty block. Of a good block only the entries that fit
// accepted_numbers are stored, and *count says how many that were.
LinkResult read_accepted_block(DriverHandle handle, uint8_t block, uint8_t* count) {
    *count = 0;
    Response answer;
    if (request_answer(handle, kReadAcceptedBlock, std::span<const uint8_t>(&block, 1),
                       kAcceptedBlockAsk, kAnyLength, kNoSubIndex, answer) != kOk)
        return kFailed;
    const std::span<const uint8_t> data = answer.data();
    if (data.size() < 2) return kFailed;
    const std::size_t announced = data[1];
    if (announced > kAcceptedBlockSize) return kOk;
    if (data.size() < 2 + announced * kPhoneNumberBytes) return kFailed;
    const std::size_t kept = std::min(announced, block_room(block));
    if (kept > 0)
        std::memcpy(accepted_numbers + std::size_t{block} * kAcceptedBlockSize, data.data() + 2,
                    kept * kPhoneNumberBytes);
    *count = static_cast<uint8_t>(kept);
    return kOk;
}

LinkResult write_accepted_block(DriverHandle handle, uint8_t block, uint8_t count) {
    const std::size_t sent = std::min<std::size_t>(count, block_room(block));
    uint8_t data[2 + kAcceptedBlockSize * kPhoneNumberBytes];
    data[0] = block;
    data[1] = static_cast<uint8_t>(sent);
    if (sent > 0)
        std::memcpy(data + 2, accepted_numbers + std::size_t{block} * kAcceptedBlockSize,
                    sent * kPhoneNumberBytes);
    return request_ack(handle, kWriteAcceptedBlock,
                       std::span<const uint8_t>(data, 2 + sent * kPhoneNumberBytes));
}

LinkResult read_phone_numbers(DriverHandle handle) {
    accepted_count = 0;
    LinkResult result = read_accept_all(handle);
    if (result != kOk) return result;
    result = read_emergency_numbers(handle);
    if (result != kOk) return result;
    for (std::size_t block = 0; block < kAcceptedBlockCount; ++block) {
        uint8_t count = 0;
        result = read_accepted_block(handle, static_cast<uint8_t>(block), &count);
        if (result != kOk) {
            accepted_count = 0;
            return result;
        }
        accepted_count = static_cast<uint16_t>(accepted_count + count);
        if (count < kAcceptedBlockSize) break;  // a full block means another one follows
    }
    return kOk;
}

namespace {

LinkResult write_phone_lists(DriverHandle handle) {
    LinkResult result = write_accept_all(handle);
    if (result != kOk) return result;
    result = write_emergency_numbers(handle);
    if (result != kOk) return result;
    // Every block is sent, the ones past the list with count 0, so the module drops what it
    // held there before.
    std::size_t remaining = std::min<std::size_t>(accepted_count, kAcceptedCapacity);
    for (std::size_t block = 0; block < kAcceptedBlockCount; ++block) {
        const std::size_t count = std::min(remaining, kAcceptedBlockSize);
        result =
            write_accepted_block(handle, static_cast<uint8_t>(block), static_cast<uint8_t>(count));
        if (result != kOk) return result;
        remaining -= count;
    }
    return kOk;
}

}  // namespace

LinkResult write_phone_numbers(DriverHandle handle) {
    // The lists go out under a longer read time-out; the usual one is back whatever happens.
    set_link_timeouts(handle, kLongReadTimeoutMs, kWriteTimeoutMs);
    const LinkResult result = write_phone_lists(handle);
    set_link_timeouts(handle, kReadTimeoutMs, kWriteTimeoutMs);
    return result;
}

}  // namespace zavi
