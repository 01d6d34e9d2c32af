#include "link/io_name_commands.h"

#include <algorithm>
#include <cstring>

#include "link/exchange.h"
#include "link/records.h"
#include "link/wire_text.h"

namespace zavi {

namespace {

constexpr uint8_t kReadIoNames = 24;
constexpr uint8_t kWriteIoNames = 25;
constexpr std::size_t kIoNamesAsk = 400;
constexpr std::size_t kNamesPerHalf = kIoNameCount / 2;

char (*half_slots(uint8_t half))[kIoNameSlot] {
    return io_names.name + (half == 0 ? 0 : kNamesPerHalf);
}

}  // namespace

LinkResult read_io_names(DriverHandle handle, uint8_t half) {
    Response answer;
    const uint8_t request[] = {half};
    const LinkResult result =
        request_answer(handle, kReadIoNames, request, kIoNamesAsk, kAnyLength, half, answer);
    if (result != kOk) return result;
    // Names too long for a slot are cut; a name that runs past the frame rejects the answer.
    char names[kNamesPerHalf][kIoNameSlot] = {};
    const std::span<const uint8_t> data = answer.data();
    std::size_t pos = 1;
    for (auto& name : names)
        if (!take_text(data, &pos, name, kIoNameSlot)) return kBadEcho;
    std::memcpy(half_slots(half), names, sizeof names);
    return kOk;
}

LinkResult write_io_names(DriverHandle handle, uint8_t half) {
    uint8_t data[1 + kNamesPerHalf * (1 + kIoNameMaxSent)];
    std::size_t size = 0;
    data[size++] = half;
    const char(*slots)[kIoNameSlot] = half_slots(half);
    for (std::size_t i = 0; i < kNamesPerHalf; ++i) {
        const std::size_t length = std::min(slot_length(slots[i], kIoNameSlot), kIoNameMaxSent);
        data[size++] = static_cast<uint8_t>(length);
        std::memcpy(data + size, slots[i], length);
        size += length;
    }
    return request_ack(handle, kWriteIoNames, std::span<const uint8_t>(data, size));
}

}  // namespace zavi
