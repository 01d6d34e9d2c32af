// The program's link commands against the simulated module: both sides agree on every layout,
// and on a realistic serial line an exchange takes milliseconds, not the read time-out.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "link/phone_commands.h"
#include "link/status_commands.h"
#include "tests/support/sim_fixture.h"

namespace zavi {
namespace {

class NoNotice : public FirmwareNotice {
  public:
    void firmware_mismatch(std::string_view message) override { shown = message; }
    std::string shown;
};

class LinkAgainstSim : public SimTest {};

TEST_F(LinkAgainstSim, StatusAndSettingsArriveQuicklyOnARealisticLine) {
    sim().scenario().timing = {true, 9600, 16, 5000};
    state().io_state_text = {"Door open", "", "Mains on", "x", "Siren off", "Light on"};
    state().operator_name = "Orange";
    state().alarm_settings[13] = 150;
    const uint64_t start = sim().now_us();
    for (uint8_t part = 0; part < 3; ++part) EXPECT_EQ(read_status(handle(), part), kOk);
    EXPECT_EQ(read_alarm_settings(handle()), kOk);
    // Four answers of at most a few dozen bytes: far less than one read time-out in all.
    EXPECT_LT(sim().now_us() - start, 400'000u) << "took " << sim().now_us() - start;
    EXPECT_GT(sim().now_us() - start, 4 * 16'000u);  // each answer waits for the latency timer
    EXPECT_STREQ(device_status.io_state_text[0], "Door open");
    EXPECT_STREQ(device_status.io_state_text[5], "Light on");
    EXPECT_STREQ(device_status.operator_name, "Orange");
    EXPECT_EQ(device_status.temp1_whole, state().temp1_whole);
    EXPECT_EQ(alarm_settings.battery_threshold, 100);
}

TEST_F(LinkAgainstSim, TelephoneListsSurviveASaveAndRead) {
    accept_all = 1;
    emergency_count = 2;
    std::memset(emergency_numbers, 0x16, sizeof emergency_numbers);
    accepted_count = 77;
    for (int i = 0; i < 77; ++i) std::memset(accepted_numbers[i].bytes, 0x53 + i % 3, 7);
    ASSERT_EQ(write_phone_numbers(handle()), kOk);
    EXPECT_EQ(state().accepted_numbers.size(), 77u);
    EXPECT_EQ(frames(17).size(), 8u);

    reset_all_records();
    ASSERT_EQ(read_phone_numbers(handle()), kOk);
    EXPECT_EQ(accept_all, 1);
    EXPECT_EQ(emergency_count, 2);
    EXPECT_EQ(accepted_count, 77);
    EXPECT_EQ(accepted_numbers[76].bytes[0], 0x53 + 76 % 3);
    EXPECT_EQ(link_read_timeout_ms(), kReadTimeoutMs);
}

TEST_F(LinkAgainstSim, OpenDeviceClosesWhatItOpenedOnEveryFailure) {
    sim().scenario().modules.resize(3);
    sim().state(1).firmware = "ZAVI-GSM v1.6";
    sim().scenario().modules[2].faults.push_back({sim::FaultKind::no_answer, 1});
    NoNotice notice;
    DriverHandle h = nullptr;
    EXPECT_EQ(open_device(1, &h, 1, notice), kOpenWrongFirmware);
    EXPECT_NE(notice.shown.find("v1.6"), std::string::npos);
    EXPECT_EQ(open_device(2, &h, 1, notice), kOpenFailed);
    EXPECT_EQ(h, nullptr);
    EXPECT_EQ(sim().open_handles(), 1);  // only the fixture's
}

}  // namespace
}  // namespace zavi
