// The simulated driver's seven calls: modules and handles, time-outs, purge, and the timing of
// answers on the serial line and through the USB chip.
#include <gtest/gtest.h>

#include <chrono>

#include "link/clock.h"
#include "tests/sim/wire_helpers.h"

namespace zavi::sim {
namespace {

TEST(SimDriverCalls, SeveralModulesEachAnswerForThemselves) {
    Scenario s;
    s.modules.resize(3);
    s.modules[1].state.firmware = "ZAVI-GSM v1.5";
    s.modules[2].open_fails = true;
    SimDriver sim(s);

    uint32_t count = 0;
    EXPECT_EQ(sim.count_devices(&count), kDriverOk);
    EXPECT_EQ(count, 3u);

    DriverHandle h0 = nullptr, h1 = nullptr, h2 = nullptr, bad = nullptr;
    EXPECT_EQ(sim.open_by_index(0, &h0), kDriverOk);
    EXPECT_EQ(sim.open_by_index(1, &h1), kDriverOk);
    EXPECT_NE(h0, h1);
    EXPECT_NE(sim.open_by_index(2, &h2), kDriverOk);
    EXPECT_NE(sim.open_by_index(3, &bad), kDriverOk);
    EXPECT_NE(sim.open_by_index(-1, &bad), kDriverOk);
    EXPECT_EQ(bad, nullptr);
    EXPECT_EQ(sim.open_handles(), 2);

    const Bytes request = request_wire(1);
    uint32_t n = 0;
    sim.write(h1, request.data(), uint32_t(request.size()), &n);
    Bytes answer(40);
    sim.read(h1, answer.data(), 40, &n);
    answer.resize(n);
    const Bytes plain = decode_answer(answer);
    EXPECT_EQ(std::string(plain.begin() + 3, plain.begin() + 16), "ZAVI-GSM v1.5");
    ASSERT_EQ(sim.journal().size(), 1u);
    EXPECT_EQ(sim.journal()[0].module, 1);

    Scenario failing;
    failing.count_fails = true;
    SimDriver broken(failing);
    EXPECT_NE(broken.count_devices(&count), kDriverOk);
}

TEST(SimDriverCalls, AModuleIsOpenThroughOneHandleAtATime) {
    SimDriver sim;
    DriverHandle first = nullptr, second = nullptr;
    ASSERT_EQ(sim.open_by_index(0, &first), kDriverOk);
    EXPECT_NE(sim.open_by_index(0, &second), kDriverOk);
    EXPECT_EQ(sim.close(first), kDriverOk);
    EXPECT_EQ(sim.open_handles(), 0);

    // A closed handle is dead for every call.
    uint32_t n = 0;
    uint8_t b = 0;
    EXPECT_EQ(sim.set_timeouts(first, 1000, 0), kDriverInvalidHandle);
    EXPECT_EQ(sim.purge(first, kPurgeRxTx), kDriverInvalidHandle);
    EXPECT_EQ(sim.write(first, &b, 1, &n), kDriverInvalidHandle);
    EXPECT_EQ(sim.read(first, &b, 1, &n), kDriverInvalidHandle);
    EXPECT_EQ(sim.close(first), kDriverInvalidHandle);
    EXPECT_EQ(sim.open_by_index(0, &second), kDriverOk);
}

TEST(SimDriverCalls, TimeoutCallsAreRecordedAndTheReadTimeoutBoundsReads) {
    Scenario s;
    s.modules.resize(2);
    s.modules[1].timeouts_fail = true;
    SimLink link(s, 3000);
    DriverHandle other = nullptr;
    ASSERT_EQ(link.sim.open_by_index(1, &other), kDriverOk);
    EXPECT_NE(link.sim.set_timeouts(other, 500, 7), kDriverOk);
    ASSERT_EQ(link.sim.timeout_calls().size(), 2u);
    EXPECT_EQ(link.sim.timeout_calls()[1].module, 1);
    EXPECT_EQ(link.sim.timeout_calls()[1].read_ms, 500u);
    EXPECT_EQ(link.sim.timeout_calls()[1].write_ms, 7u);

    const uint64_t t0 = link.sim.now_us();
    EXPECT_TRUE(link.read(10).empty());
    EXPECT_EQ(link.sim.now_us() - t0, 3'000'000u);
}

TEST(SimDriverCalls, PurgeDropsWaitingBytesAndAnswersStillOnTheirWay) {
    Scenario s;
    s.modules[0].faults.push_back({FaultKind::delay, 9, -1, 0, -1, 200'000});
    SimLink link(s);
    link.write(request_wire(6));
    link.write(request_wire(9));
    link.sim.purge(link.handle, kPurgeRxTx);
    EXPECT_TRUE(link.read().empty());
    EXPECT_EQ(link.sim.journal().size(), 2u);
}

// The USB chip hands bytes over 16 ms after the first of a batch arrived, or at 62 bytes.
TEST(SimTiming, AnswerAt9600BaudArrivesInTwoLatencyBatches) {
    Scenario s;
    s.timing = {true, 9600, 16, 5000};
    s.modules[0].faults.push_back({FaultKind::raw_answer, 6, -1, 0, -1, 0, Bytes(18, 0x41)});
    SimLink link(s);
    link.write(request_wire(6));
    const uint64_t t0 = link.sim.now_us();
    // Request: 5 bytes, 5208 us on the line; the answer starts 5 ms later; byte i (from 0)
    // reaches the chip at 10208 + (i + 1) * 1041.7 us. The first batch leaves the chip 16 ms
    // after byte 0 arrived (at 27249 us) with the 16 bytes there by then, the last two bytes
    // 16 ms after byte 16 arrived.
    EXPECT_EQ(link.read(16).size(), 16u);
    EXPECT_EQ(link.sim.now_us() - t0, 11249u + 16000u);
    EXPECT_EQ(link.read(2).size(), 2u);
    EXPECT_EQ(link.sim.now_us() - t0, 27916u + 16000u);
}

TEST(SimTiming, FastLineFillsSixtyTwoByteBatches) {
    Scenario s;
    s.timing = {true, 115200, 16, 0};
    s.modules[0].faults.push_back({FaultKind::raw_answer, 6, -1, 0, -1, 0, Bytes(130, 0x41)});
    SimLink link(s);
    link.write(request_wire(6));
    const uint64_t t0 = link.sim.now_us();
    // Byte i of the answer reaches the chip when the request and i + 1 answer bytes have
    // crossed the line.
    const auto arrival = [](uint64_t i) {
        return 5 * 10'000'000 / 115200 + (i + 1) * 10'000'000 / 115200;
    };
    EXPECT_EQ(link.read(1).size(), 1u);
    EXPECT_EQ(link.sim.now_us() - t0, arrival(61));
    EXPECT_EQ(link.read(61).size(), 61u);
    EXPECT_EQ(link.sim.now_us() - t0, arrival(61));
    EXPECT_EQ(link.read(62).size(), 62u);
    EXPECT_EQ(link.sim.now_us() - t0, arrival(123));
    EXPECT_EQ(link.read(100).size(), 6u);  // the rest after the latency timer, then the time-out
    EXPECT_EQ(link.sim.now_us() - t0, arrival(123) + 1'000'000);
}

TEST(SimTiming, VirtualClockDrivesTheLinkClockWhileTheDriverLives) {
    {
        SimDriver outer;
        {
            SimLink inner;
            const uint64_t before = now_us();
            EXPECT_EQ(before, inner.sim.now_us());
            inner.read(1);  // nothing comes: the clock moves by the read time-out
            EXPECT_EQ(now_us() - before, 1'000'000u);
        }
        EXPECT_EQ(now_us(), outer.now_us());
    }
    using namespace std::chrono;
    const uint64_t steady =
        duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
    EXPECT_LT(now_us() - steady, 1'000'000u);
}

TEST(SimTiming, RealTimeDriverSleepsOutTheReadTimeout) {
    Scenario s;
    s.virtual_time = false;
    SimLink link(s, 30);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(link.read(5).empty());
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
    EXPECT_FALSE(link.exchange(1).empty());
}

}  // namespace
}  // namespace zavi::sim
