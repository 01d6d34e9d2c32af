#include "link/status_commands.h"

#include <algorithm>
#include <cstring>

#include "link/exchange.h"
#include "link/records.h"
#include "link/wire_text.h"

namespace zavi {

namespace {

constexpr uint8_t kReadStatus = 8;
constexpr uint8_t kReadAlarmSettings = 6;
constexpr uint8_t kWriteAlarmSettings = 7;
constexpr uint8_t kResetDevice = 15;
constexpr std::size_t kStatusAsk = 400;
constexpr std::size_t kAlarmSettingsAsk = 40;
constexpr int kAlarmSettingsLength = kAlarmSettingsBytes + 1;
constexpr std::size_t kStatusValues = 10;
constexpr uint8_t kMaxBatteryThreshold = 100;

// Reads `count` texts from data byte `pos` on into the given slots. False when any of them runs
// past the data; the caller's slots are then partly written, so callers pass temporaries.
bool take_texts(std::span<const uint8_t> data, std::size_t pos, char (*slots)[kStateTextSlot],
                std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (!take_text(data, &pos, slots[i], kStateTextSlot)) return false;
    return true;
}

LinkResult store_part0(std::span<const uint8_t> data) {
    if (data.size() < 1 + kStatusValues) return kBadEcho;
    char texts[4][kStateTextSlot] = {};
    if (!take_texts(data, 1 + kStatusValues, texts, 4)) return kBadEcho;
    DeviceStatus& s = device_status;
    s.temp1_negative = data[1];
    s.temp1_whole = data[2];
    s.temp1_tenths = data[3];
    s.temp2_negative = data[4];
    s.temp2_whole = data[5];
    s.temp2_tenths = data[6];
    s.battery_level = data[7];
    s.battery_flags = data[8];
    s.gsm_signal = data[9];
    s.gsm_state = data[10];
    std::memcpy(s.io_state_text, texts, sizeof texts);
    return kOk;
}

LinkResult store_part1(std::span<const uint8_t> data) {
    char texts[2][kStateTextSlot] = {};
    if (!take_texts(data, 1, texts, 2)) return kBadEcho;
    std::memcpy(device_status.io_state_text[4], texts, sizeof texts);
    return kOk;
}

LinkResult store_part2(std::span<const uint8_t> data) {
    char name[kOperatorNameSlot] = {};
    std::size_t pos = 1;
    if (!take_text(data, &pos, name, sizeof name)) return kBadEcho;
    std::memcpy(device_status.operator_name, name, sizeof name);
    return kOk;
}

}  // namespace

LinkResult read_status(DriverHandle handle, uint8_t part) {
    Response answer;
    const uint8_t request[] = {part};
    const LinkResult result =
        request_answer(handle, kReadStatus, request, kStatusAsk, kAnyLength, part, answer);
    if (result != kOk) return result;
    // A text that runs past the end of the frame makes the whole answer malformed (result 5):
    // nothing of it is stored.
    const std::span<const uint8_t> data = answer.data();
    switch (part) {
        case 0:
            return store_part0(data);
        case 1:
            return store_part1(data);
        case 2:
            return store_part2(data);
        default:
            return kOk;  // a part this program does not know: nothing to store
    }
}

LinkResult read_alarm_settings(DriverHandle handle) {
    Response answer;
    if (request_answer(handle, kReadAlarmSettings, {}, kAlarmSettingsAsk, kAlarmSettingsLength,
                       kNoSubIndex, answer) != kOk)
        return kFailed;
    const uint8_t* d = answer.data().data();
    AlarmSettings& a = alarm_settings;
    a.input_modes = d[0];
    a.t1_high = {d[1], d[2], d[3]};
    a.t1_low = {d[4], d[5], d[6]};
    a.t2_high = {d[7], d[8], d[9]};
    a.t2_low = {d[10], d[11], d[12]};
    a.battery_threshold = std::min(d[13], kMaxBatteryThreshold);
    return kOk;
}

LinkResult write_alarm_settings(DriverHandle handle) {
    const AlarmSettings& a = alarm_settings;
    // Sign and degrees of each threshold; its fraction goes out as 0.
    uint8_t data[kAlarmSettingsBytes] = {a.input_modes};
    std::size_t at = 1;
    for (const TemperatureThreshold& t : {a.t1_high, a.t1_low, a.t2_high, a.t2_low}) {
        data[at] = t.negative;
        data[at + 1] = t.whole;
        at += 3;
    }
    data[at] = a.battery_threshold;
    return request_ack(handle, kWriteAlarmSettings, data);
}

LinkResult reset_device(DriverHandle handle) {
    return request_ack(handle, kResetDevice, {});
}

}  // namespace zavi
