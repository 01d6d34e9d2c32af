#include "link/status_commands.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/link_fixture.h"

namespace zavi::test {
namespace {

const Bytes kTenValues = {1, 12, 5, 0, 3, 7, 88, 0x81, 17, 4};

Bytes part0_data(const std::string& t0, const std::string& t1, const std::string& t2,
                 const std::string& t3) {
    return concat({{0}, kTenValues, wire_text(t0), wire_text(t1), wire_text(t2), wire_text(t3)});
}

using StatusTest = LinkTest;

TEST_F(StatusTest, RequestsCarryThePartNumber) {
    const Bytes expected[] = {
        {0x4D, 0x08, 0x02, 0xCA, 0x00, 0x00, 0x16},
        {0x4D, 0x08, 0x02, 0xCA, 0x01, 0x5E, 0x16},
        {0x4D, 0x08, 0x02, 0xCA, 0x02, 0xBC, 0x16},
    };
    for (uint8_t part = 0; part < 3; ++part) read_status(h, part);
    for (uint8_t part = 0; part < 3; ++part) EXPECT_EQ(drv.written(part), expected[part]);
}

TEST_F(StatusTest, Part0StoresTenValuesAndFourTexts) {
    std::strcpy(device_status.io_state_text[3], "old");
    std::strcpy(device_status.io_state_text[4], "OUT-1 stays");
    drv.reply(answer_frame(8, part0_data("Open", "", "Voltage", "")));
    ASSERT_EQ(read_status(h, 0), kOk);
    const DeviceStatus& s = device_status;
    EXPECT_EQ(
        (Bytes{s.temp1_negative, s.temp1_whole, s.temp1_tenths, s.temp2_negative, s.temp2_whole,
               s.temp2_tenths, s.battery_level, s.battery_flags, s.gsm_signal, s.gsm_state}),
        kTenValues);
    EXPECT_STREQ(s.io_state_text[0], "Open");
    EXPECT_STREQ(s.io_state_text[1], "");
    EXPECT_STREQ(s.io_state_text[2], "Voltage");
    EXPECT_STREQ(s.io_state_text[3], "");
    EXPECT_STREQ(s.io_state_text[4], "OUT-1 stays");
}

TEST_F(StatusTest, Part1TouchesOnlyTheOutputTexts) {
    drv.reply(answer_frame(8, part0_data("a", "b", "c", "d")));
    ASSERT_EQ(read_status(h, 0), kOk);
    std::strcpy(device_status.operator_name, "Plus");
    DeviceStatus before = device_status;
    drv.reply(answer_frame(8, concat({{1}, wire_text("ON"), wire_text("")})));
    ASSERT_EQ(read_status(h, 1), kOk);
    std::strcpy(before.io_state_text[4], "ON");
    before.io_state_text[5][0] = '\0';
    EXPECT_TRUE(same_bytes(device_status, before));
}

TEST_F(StatusTest, Part2StoresOrEmptiesTheOperator) {
    drv.reply(answer_frame(8, concat({{2}, wire_text("Orange PL")})));
    ASSERT_EQ(read_status(h, 2), kOk);
    EXPECT_STREQ(device_status.operator_name, "Orange PL");
    drv.reply(answer_frame(8, concat({{2}, wire_text("")})));
    ASSERT_EQ(read_status(h, 2), kOk);
    EXPECT_STREQ(device_status.operator_name, "");
}

TEST_F(StatusTest, EchoedUnknownPartStoresNothing) {
    drv.reply(answer_frame(8, concat({{3}, wire_text("x"), kTenValues})));
    const DeviceStatus before = device_status;
    EXPECT_EQ(read_status(h, 3), kOk);
    EXPECT_TRUE(same_bytes(device_status, before));
}

TEST_F(StatusTest, TextsLongerThanTheirSlotAreCut) {
    drv.reply(answer_frame(8, part0_data(std::string(60, 'x'), "", "", "")));
    ASSERT_EQ(read_status(h, 0), kOk);
    EXPECT_EQ(std::string(device_status.io_state_text[0]), std::string(44, 'x'));
    drv.reply(answer_frame(8, concat({{2}, wire_text(std::string(40, 'o'))})));
    ASSERT_EQ(read_status(h, 2), kOk);
    EXPECT_EQ(std::string(device_status.operator_name), std::string(31, 'o'));
}

TEST_F(StatusTest, FailuresGiveTheirResultAndChangeNothing) {
    Bytes bad_crc = answer_frame(8, part0_data("a", "b", "c", "d"));
    bad_crc[bad_crc.size() - 2] ^= 0x01;
    Bytes no_end = answer_frame(8, part0_data("a", "b", "c", "d"));
    no_end.back() = 0x00;
    Bytes overrun = part0_data("a", "b", "c", "d");
    overrun.back() = 'd';
    overrun[overrun.size() - 2] = 5;  // last text claims 5 characters, 1 is there
    const struct {
        const char* name;
        bool fail_write;
        bool fail_read;
        uint8_t part;
        Bytes reply;
        LinkResult result;
    } cases[] = {
        {"write fails", true, false, 0, {}, kFailed},
        {"read fails", false, true, 0, {}, kReadFailed},
        {"no answer", false, false, 0, {}, kNoFrameEnd},
        {"no end byte", false, false, 0, no_end, kNoFrameEnd},
        {"bad CRC", false, false, 0, bad_crc, kBadCrc},
        {"other part", false, false, 1, answer_frame(8, part0_data("a", "b", "c", "d")), kBadEcho},
        {"other command", false, false, 1, answer_frame(6, concat({{1}, wire_text("a")})),
         kBadEcho},
        {"text past the end", false, false, 0, answer_frame(8, overrun), kBadEcho},
        {"values missing", false, false, 0, answer_frame(8, {0, 1, 2, 3}), kBadEcho},
        {"no text at all", false, false, 1, answer_frame(8, {1}), kBadEcho},
    };
    for (const auto& c : cases) {
        ScriptedDriver fresh;
        if (c.fail_write) fresh.fail(Call::write);
        if (c.fail_read) fresh.fail(Call::read);
        if (!c.reply.empty()) fresh.reply(c.reply);
        std::strcpy(device_status.io_state_text[0], "kept");
        std::strcpy(device_status.io_state_text[4], "kept");
        device_status.battery_level = 42;
        const DeviceStatus before = device_status;
        EXPECT_EQ(read_status(fresh.handle(), c.part), c.result) << c.name;
        EXPECT_TRUE(same_bytes(device_status, before)) << c.name;
    }
}

Bytes alarm_data() {
    return {0xF5, 1, 10, 9, 0, 5, 9, 0, 40, 9, 1, 20, 9, 30};
}

TEST_F(StatusTest, AlarmSettingsAreStoredInOrder) {
    Bytes data = alarm_data();
    data[13] = 150;
    drv.reply(answer_frame(6, data));
    ASSERT_EQ(read_alarm_settings(h), kOk);
    EXPECT_EQ(drv.written(0), (Bytes{0x4D, 0x06, 0x00, 0xAA, 0x16}));
    const AlarmSettings& a = alarm_settings;
    EXPECT_EQ(a.input_modes, 0xF5);
    EXPECT_EQ((Bytes{a.t1_high.negative, a.t1_high.whole, a.t1_low.negative, a.t1_low.whole,
                     a.t2_high.negative, a.t2_high.whole, a.t2_low.negative, a.t2_low.whole}),
              (Bytes{1, 10, 0, 5, 0, 40, 1, 20}));
    EXPECT_EQ(a.t1_high.fraction, 9);
    EXPECT_EQ(a.battery_threshold, 100);
}

TEST_F(StatusTest, AlarmSettingsOfAnotherLengthAreRejected) {
    alarm_settings.battery_threshold = 55;
    const AlarmSettings before = alarm_settings;
    Bytes thirteen = alarm_data();
    thirteen.pop_back();  // length byte 14, both CRCs right
    drv.reply(answer_frame(6, thirteen));
    EXPECT_EQ(read_alarm_settings(h), kFailed);
    drv.reply(answer_frame(6, concat({alarm_data(), {0}})));  // length byte 16
    EXPECT_EQ(read_alarm_settings(h), kFailed);
    EXPECT_TRUE(same_bytes(alarm_settings, before));
}

TEST_F(StatusTest, AlarmSettingsGoBackWithFractionsZeroAndUnknownBitsKept) {
    drv.reply(answer_frame(6, alarm_data()));
    ASSERT_EQ(read_alarm_settings(h), kOk);
    drv.reply(ack(7));
    ASSERT_EQ(write_alarm_settings(h), kOk);
    EXPECT_EQ(drv.written(1), request_frame(7, {0xF5, 1, 10, 0, 0, 5, 0, 0, 40, 0, 1, 20, 0, 30}));
    drv.reply(ack(6));
    EXPECT_EQ(write_alarm_settings(h), kFailed);
}

TEST_F(StatusTest, ResetIsCommand15) {
    drv.reply(ack(15));
    EXPECT_EQ(reset_device(h), kOk);
    EXPECT_EQ(drv.written(0), (Bytes{0x4D, 0x0F, 0x00, 0x18, 0x16}));
}

}  // namespace
}  // namespace zavi::test
