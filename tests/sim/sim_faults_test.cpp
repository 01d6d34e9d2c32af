// The simulated module misbehaving on request: each fault kind, and which requests it hits.
#include <gtest/gtest.h>

#include "tests/sim/wire_helpers.h"

namespace zavi::sim {
namespace {

Scenario with_fault(Fault fault) {
    Scenario s;
    s.modules[0].faults.push_back(std::move(fault));
    return s;
}

TEST(SimFaults, BrokenAnswersFailTheProgramsChecksForTheirReason) {
    struct Case {
        FaultKind kind;
        uint8_t command;
        Bytes data;
        int expected_length;
        int sub_index;
        FrameCheck expected;
    };
    const std::vector<Case> cases = {
        {FaultKind::bad_header_crc, 6, {}, 15, kNoSubIndex, FrameCheck::bad_crc},
        {FaultKind::bad_data_crc, 6, {}, 15, kNoSubIndex, FrameCheck::bad_crc},
        {FaultKind::bad_data_crc, 13, {}, kAnyLength, kNoSubIndex, FrameCheck::bad_crc},
        {FaultKind::wrong_command, 6, {}, 15, kNoSubIndex, FrameCheck::bad_command},
        {FaultKind::wrong_length, 6, {}, 15, kNoSubIndex, FrameCheck::bad_length},
        {FaultKind::wrong_sub_index, 8, {1}, kAnyLength, 1, FrameCheck::bad_sub_index},
        {FaultKind::wrong_sub_index, 24, {0}, kAnyLength, 0, FrameCheck::bad_sub_index},
    };
    for (const Case& c : cases) {
        SimLink link(with_fault({c.kind, c.command}));
        const Bytes plain = decode_answer(link.exchange(c.command, c.data));
        EXPECT_EQ(check_response(plain, c.command, c.expected_length, c.sub_index), c.expected)
            << "fault " << int(c.kind) << " on command " << int(c.command);
    }
}

TEST(SimFaults, AnswersReplacedCutOrHeldBack) {
    SimLink link;
    const Bytes normal = link.exchange(6);
    const Bytes raw = {0x53, 0x01, 0x02};
    link.sim.scenario().modules[0].faults = {
        {FaultKind::truncated, 6, -1, 0, 1, 5, {}},
        {FaultKind::garbage, 9, -1, 0, 1, 40, {}},
        {FaultKind::raw_answer, 11, -1, 0, 1, 0, raw},
        {FaultKind::no_answer, 18, -1, 0, 1, 0, {}},
        {FaultKind::previous_answer, 20, -1, 0, 1, 0, {}},
        {FaultKind::stale_first, 22, -1, 0, 1, 0, {}},
    };
    EXPECT_EQ(link.exchange(6), Bytes(normal.begin(), normal.begin() + 5));

    const Bytes garbage = link.exchange(9);
    EXPECT_EQ(garbage.size(), 40u);
    std::span<const uint8_t> payload;
    EXPECT_FALSE(extract_payload(garbage, &payload) && !payload.empty());

    EXPECT_EQ(link.exchange(11), raw);
    EXPECT_TRUE(link.exchange(18).empty());
    EXPECT_EQ(link.exchange(20), raw);  // the last answer this module sent

    const Bytes before = link.exchange(26);
    const Bytes stale = link.exchange(22);
    ASSERT_GT(stale.size(), before.size());
    EXPECT_EQ(Bytes(stale.begin(), stale.begin() + before.size()), before);
    EXPECT_EQ(decode_answer(stale)[0], 22);  // the program's extraction finds the fresh frame
}

TEST(SimFaults, CountOverrideKeepsTheNumbersAndAValidFrame) {
    Scenario s = with_fault({FaultKind::count_override, -1, -1, 0, -1, 37, {}});
    s.modules[0].state.emergency_numbers.assign(2,
                                                Number{0x12, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    s.modules[0].state.accepted_numbers.assign(3, Number{0x34, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    SimLink link(s);
    const Bytes emergency = answer_data_of(link.exchange(13), 13);
    EXPECT_EQ(emergency[0], 37);
    EXPECT_EQ(emergency.size(), 1 + 2 * 7u);
    const Bytes block = answer_data_of(link.exchange(16, {0}), 16);
    EXPECT_EQ(block[1], 37);
    EXPECT_EQ(block.size(), 2 + 3 * 7u);
}

TEST(SimFaults, AcknowledgementFaultsStillTakeTheWrite) {
    const std::vector<std::pair<FaultKind, Bytes>> cases = {
        {FaultKind::short_ack, {0x53, 21, 0x00, crc8(Bytes{21, 0})}},
        {FaultKind::long_ack, {0x53, 21, 0x00, crc8(Bytes{21, 0}), 0x16, 0x00}},
        {FaultKind::wrong_ack, {0x53, 22, 0x00, crc8(Bytes{22, 0}), 0x16}},
        {FaultKind::no_answer, {}},
    };
    for (const auto& [kind, expected] : cases) {
        SimLink link(with_fault({kind, 21}));
        EXPECT_EQ(link.exchange(21, {4}), expected) << int(kind);
        EXPECT_EQ(link.sim.state().auto_reset, 4);  // the write itself was taken
    }
}

TEST(SimFaults, MatchBySubIndexAfterSkipForTimes) {
    // Part 1 of the status: the first request answered normally, the next one not at all,
    // then normal again; part 0 is never affected.
    SimLink link(with_fault({FaultKind::no_answer, 8, 1, 1, 1}));
    const std::vector<std::pair<uint8_t, bool>> sequence = {{0, true},  {1, true}, {0, true},
                                                            {1, false}, {1, true}, {0, true}};
    for (std::size_t i = 0; i < sequence.size(); ++i)
        EXPECT_EQ(!link.exchange(8, {sequence[i].first}).empty(), sequence[i].second) << i;
}

TEST(SimFaults, UnplugFailsThatRequestAndEveryCallAfterIt) {
    SimLink link(with_fault({FaultKind::unplug, 21}));
    EXPECT_FALSE(link.exchange(6).empty());

    const Bytes request = request_wire(21, {2});
    uint32_t n = 99;
    EXPECT_NE(link.sim.write(link.handle, request.data(), uint32_t(request.size()), &n), kDriverOk);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(link.sim.state().auto_reset, 0);
    EXPECT_TRUE(link.sim.unplugged());

    uint8_t buf[8];
    DriverHandle h = nullptr;
    EXPECT_NE(link.sim.count_devices(&n), kDriverOk);
    EXPECT_NE(link.sim.open_by_index(0, &h), kDriverOk);
    EXPECT_EQ(h, nullptr);
    EXPECT_NE(link.sim.set_timeouts(link.handle, 1000, 0), kDriverOk);
    EXPECT_NE(link.sim.purge(link.handle, kPurgeRxTx), kDriverOk);
    EXPECT_NE(link.sim.write(link.handle, request.data(), uint32_t(request.size()), &n), kDriverOk);
    EXPECT_NE(link.sim.read(link.handle, buf, sizeof buf, &n), kDriverOk);
    EXPECT_EQ(n, 0u);
    EXPECT_NE(link.sim.close(link.handle), kDriverOk);
    EXPECT_EQ(link.sim.open_handles(), 0);
}

TEST(SimFaults, DelayAndDripStretchTheAnswerInTime) {
    Scenario s = with_fault({FaultKind::delay, 6, -1, 0, -1, 300'000});
    s.modules[0].faults.push_back({FaultKind::drip, 6, -1, 0, -1, 2'000});
    SimLink link(s);
    link.write(request_wire(6));
    const uint64_t t0 = link.sim.now_us();
    EXPECT_EQ(link.read(1).size(), 1u);
    EXPECT_EQ(link.sim.now_us() - t0, 300'000u);
    EXPECT_EQ(link.read(2).size(), 2u);
    EXPECT_EQ(link.sim.now_us() - t0, 304'000u);

    // A delay beyond the read time-out: the read gives up with nothing after 1000 ms.
    link.sim.scenario().modules[0].faults = {{FaultKind::delay, 6, -1, 0, -1, 1'500'000}};
    link.sim.purge(link.handle, kPurgeRxTx);
    link.write(request_wire(6));
    const uint64_t t1 = link.sim.now_us();
    EXPECT_TRUE(link.read(40).empty());
    EXPECT_EQ(link.sim.now_us() - t1, 1'000'000u);
}

}  // namespace
}  // namespace zavi::sim
