#include "link/config_commands.h"

#include <cstring>

#include "link/exchange.h"
#include "link/records.h"

namespace zavi {

namespace {

constexpr uint8_t kReadSimCodes = 9;
constexpr uint8_t kWriteSimCodes = 10;
constexpr uint8_t kReadActions = 11;
constexpr uint8_t kWriteActions = 12;
constexpr uint8_t kReadAutoReset = 20;
constexpr uint8_t kWriteAutoReset = 21;
constexpr uint8_t kReadCallAnswer = 22;
constexpr uint8_t kWriteCallAnswer = 23;
constexpr uint8_t kReadAutoStatus = 26;
constexpr uint8_t kWriteAutoStatus = 27;

// One fixed-size record read: the answer must carry exactly `size` data bytes (L = size + 1),
// which are copied to `out` only after every check passed.
LinkResult read_record(DriverHandle handle, uint8_t command, std::size_t ask, std::size_t size,
                       uint8_t* out) {
    Response answer;
    if (request_answer(handle, command, {}, ask, static_cast<int>(size + 1), kNoSubIndex, answer) !=
        kOk)
        return kFailed;
    std::memcpy(out, answer.data().data(), size);
    return kOk;
}

}  // namespace

LinkResult read_actions(DriverHandle handle) {
    return read_record(handle, kReadActions, 30, sizeof action_table.entry, action_table.entry);
}

LinkResult write_actions(DriverHandle handle) {
    return request_ack(handle, kWriteActions, action_table.entry);
}

LinkResult read_call_answer(DriverHandle handle) {
    uint8_t data[2];
    if (read_record(handle, kReadCallAnswer, 11, sizeof data, data) != kOk) return kFailed;
    call_answer.sms = data[0];
    call_answer.reactions = data[1];
    return kOk;
}

LinkResult write_call_answer(DriverHandle handle) {
    const uint8_t data[] = {call_answer.sms, call_answer.reactions};
    return request_ack(handle, kWriteCallAnswer, data);
}

LinkResult read_auto_reset(DriverHandle handle) {
    return read_record(handle, kReadAutoReset, 10, 1, &auto_reset.period);
}

LinkResult write_auto_reset(DriverHandle handle) {
    const uint8_t data[] = {auto_reset.period};
    return request_ack(handle, kWriteAutoReset, data);
}

LinkResult read_auto_status(DriverHandle handle) {
    return read_record(handle, kReadAutoStatus, 10, 1, &auto_status.value);
}

LinkResult write_auto_status(DriverHandle handle) {
    const uint8_t data[] = {auto_status.value};
    return request_ack(handle, kWriteAutoStatus, data);
}

// PIN and PUK travel most significant byte first.
LinkResult read_sim_codes(DriverHandle handle) {
    uint8_t d[6];
    if (read_record(handle, kReadSimCodes, 24, sizeof d, d) != kOk) return kFailed;
    sim_codes.pin = static_cast<uint16_t>(d[0] << 8 | d[1]);
    sim_codes.puk = uint32_t{d[2]} << 24 | uint32_t{d[3]} << 16 | uint32_t{d[4]} << 8 | d[5];
    return kOk;
}

LinkResult write_sim_codes(DriverHandle handle) {
    const uint16_t pin = sim_codes.pin;
    const uint32_t puk = sim_codes.puk;
    const uint8_t data[] = {
        static_cast<uint8_t>(pin >> 8),  static_cast<uint8_t>(pin),
        static_cast<uint8_t>(puk >> 24), static_cast<uint8_t>(puk >> 16),
        static_cast<uint8_t>(puk >> 8),  static_cast<uint8_t>(puk),
    };
    return request_ack(handle, kWriteSimCodes, data);
}

}  // namespace zavi
