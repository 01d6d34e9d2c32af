#include "link/phone_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/support/link_fixture.h"

namespace zavi::test {
namespace {

using PhoneTest = LinkTest;

// A distinct number per index: digits of i, then 0xF padding.
Bytes number(int i) {
    return {0x48, static_cast<uint8_t>(i % 100), 0x16, 0x53, 0xFF, 0xFF, 0xFF};
}

Bytes numbers(int first, int count) {
    Bytes out;
    for (int i = 0; i < count; ++i) {
        const Bytes n = number(first + i);
        out.insert(out.end(), n.begin(), n.end());
    }
    return out;
}

Bytes block_answer(uint8_t block, int count, int first = 0) {
    // A count above 36 comes with no more numbers than one frame can carry.
    return answer_frame(
        16, concat({{block, static_cast<uint8_t>(count)}, numbers(first, std::min(count, 36))}));
}

Bytes stored(const PhoneNumber& n) {
    return Bytes(n.bytes, n.bytes + kPhoneNumberBytes);
}

void script_head(ScriptedDriver& d, uint8_t all = 1, int emergency = 2) {
    d.reply(answer_frame(18, {all}));
    d.reply(answer_frame(13, concat({{static_cast<uint8_t>(emergency)}, numbers(100, emergency)})));
}

TEST_F(PhoneTest, ReadSequenceFollowsFullBlocks) {
    const struct {
        std::vector<int> counts;  // numbers the module puts in blocks 0, 1, ...
        int blocks_read;
        int accepted;
    } cases[] = {
        {{36, 36, 5}, 3, 77},
        {{36, 4}, 2, 40},
        {{0}, 1, 0},
        {{37}, 1, 0},  // a count above a block's 36 counts as empty
        {{36, 36, 36, 36, 36, 36, 36, 8}, 8, 260},
        {{36, 36, 36, 36, 36, 36, 36, 36}, 8, 260},  // block 7 ends it, and only 8 fit
    };
    for (const auto& c : cases) {
        ScriptedDriver fresh;
        script_head(fresh);
        int first = 0;
        for (std::size_t b = 0; b < c.counts.size(); ++b) {
            fresh.reply(block_answer(static_cast<uint8_t>(b), c.counts[b], first));
            first += c.counts[b];
        }
        accepted_count = 99;
        EXPECT_EQ(read_phone_numbers(fresh.handle()), kOk);
        EXPECT_EQ(accepted_count, c.accepted);
        ASSERT_EQ(fresh.write_count(), 2u + c.blocks_read);
        EXPECT_EQ(fresh.written(0), (Bytes{0x4D, 0x12, 0x00, 0x7D, 0x16}));
        EXPECT_EQ(fresh.written(1), (Bytes{0x4D, 0x0D, 0x00, 0x89, 0x16}));
        for (int b = 0; b < c.blocks_read; ++b)
            EXPECT_EQ(fresh.written(2 + b), request_frame(16, {static_cast<uint8_t>(b)}));
        if (c.accepted > 0) {
            EXPECT_EQ(stored(accepted_numbers[0]), number(0));
            EXPECT_EQ(stored(accepted_numbers[c.accepted - 1]), number(c.accepted - 1));
        }
    }
    EXPECT_EQ(accept_all, 1);
    EXPECT_EQ(emergency_count, 2);
    EXPECT_EQ(stored(emergency_numbers[1]), number(101));
}

TEST_F(PhoneTest, ReadSequenceStopsAtTheFirstFailure) {
    {
        ScriptedDriver fresh;  // block 3 gets no answer
        script_head(fresh);
        for (uint8_t b = 0; b < 3; ++b) fresh.reply(block_answer(b, 36));
        EXPECT_EQ(read_phone_numbers(fresh.handle()), kFailed);
        EXPECT_EQ(accepted_count, 0);
        EXPECT_EQ(fresh.write_count(), 6u);
    }
    {
        ScriptedDriver fresh;  // accept-all fails: nothing else is asked for
        fresh.reply(answer_frame(18, {1, 2}));
        accepted_count = 12;
        EXPECT_EQ(read_phone_numbers(fresh.handle()), kFailed);
        EXPECT_EQ(accepted_count, 0);
        EXPECT_EQ(fresh.write_count(), 1u);
    }
}

TEST_F(PhoneTest, EmergencyAnswers) {
    for (auto& n : emergency_numbers) n.bytes[0] = 0x77;
    const struct {
        const char* name;
        Bytes data;
        LinkResult result;
        uint8_t count;
    } cases[] = {
        {"none", {0}, kOk, 0},
        {"three", concat({{3}, numbers(0, 3)}), kOk, 3},
        {"eight: first six kept", concat({{8}, numbers(0, 8)}), kOk, 6},
        {"fewer numbers than announced", concat({{3}, numbers(0, 2)}), kFailed, 6},
        {"no count", {}, kFailed, 6},
    };
    emergency_count = 6;
    for (const auto& c : cases) {
        ScriptedDriver fresh;
        fresh.reply(answer_frame(13, c.data));
        EXPECT_EQ(read_emergency_numbers(fresh.handle()), c.result) << c.name;
        EXPECT_EQ(emergency_count, c.count) << c.name;
        if (c.count == 0) {
            EXPECT_EQ(emergency_numbers[0].bytes[0], 0x77) << c.name;
        }
        emergency_count = 6;
    }
    EXPECT_EQ(stored(emergency_numbers[5]), number(5));
}

TEST_F(PhoneTest, AnswersLongerOnTheWireThanTheirReadSizeArriveWhole) {
    // Six 14-digit numbers made of the digit pairs 16 and 53: every number byte is escaped, so
    // the answer needs more than the 90 bytes the emergency read asks for.
    Bytes data = {6};
    for (int i = 0; i < 6; ++i)
        for (int b = 0; b < 7; ++b) data.push_back(b % 2 ? 0x53 : 0x16);
    const Bytes frame = answer_frame(13, data);
    ASSERT_GT(frame.size(), 90u);
    ScriptedDriver fresh;
    fresh.reply(frame);
    ASSERT_EQ(read_emergency_numbers(fresh.handle()), kOk);
    EXPECT_EQ(emergency_count, 6);
    EXPECT_EQ(stored(emergency_numbers[5]), (Bytes{0x16, 0x53, 0x16, 0x53, 0x16, 0x53, 0x16}));
}

TEST_F(PhoneTest, BlockAnswersNeverOverrunTheTable) {
    for (auto& n : accepted_numbers) n.bytes[0] = 0x77;
    uint8_t count = 99;
    drv.reply(block_answer(7, 36, 500));  // block 7 has room for 8
    EXPECT_EQ(read_accepted_block(h, 7, &count), kOk);
    EXPECT_EQ(count, 8);
    EXPECT_EQ(stored(accepted_numbers[259]), number(507));

    drv.reply(block_answer(8, 5));  // past the table altogether
    EXPECT_EQ(read_accepted_block(h, 8, &count), kOk);
    EXPECT_EQ(count, 0);

    drv.reply(answer_frame(16, concat({{1, 4}, numbers(0, 3)})));  // announces more than it holds
    EXPECT_EQ(read_accepted_block(h, 1, &count), kFailed);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(accepted_numbers[36].bytes[0], 0x77);

    drv.reply(answer_frame(16, {1}));  // no count byte
    EXPECT_EQ(read_accepted_block(h, 1, &count), kFailed);
}

TEST_F(PhoneTest, SaveSendsEveryBlock) {
    const struct {
        uint16_t accepted;
        std::vector<uint8_t> counts;
    } cases[] = {
        {0, {0, 0, 0, 0, 0, 0, 0, 0}},          {37, {36, 1, 0, 0, 0, 0, 0, 0}},
        {40, {36, 4, 0, 0, 0, 0, 0, 0}},        {260, {36, 36, 36, 36, 36, 36, 36, 8}},
        {300, {36, 36, 36, 36, 36, 36, 36, 8}},  // more than the table: only what it holds
    };
    for (int i = 0; i < 260; ++i) {
        const Bytes n = number(i);
        std::copy(n.begin(), n.end(), accepted_numbers[i].bytes);
    }
    accept_all = 1;
    emergency_count = 1;
    std::copy_n(number(200).begin(), 7, emergency_numbers[0].bytes);
    for (const auto& c : cases) {
        ScriptedDriver fresh;
        fresh.reply(ack(19));
        fresh.reply(ack(14));
        for (int b = 0; b < 8; ++b) fresh.reply(ack(17));
        accepted_count = c.accepted;
        EXPECT_EQ(write_phone_numbers(fresh.handle()), kOk);
        ASSERT_EQ(fresh.write_count(), 10u);
        EXPECT_EQ(fresh.written(0), request_frame(19, {1}));
        EXPECT_EQ(fresh.written(1), request_frame(14, concat({{1}, number(200)})));
        for (uint8_t b = 0; b < 8; ++b) {
            const uint8_t n = c.counts[b];
            EXPECT_EQ(fresh.written(2 + b), request_frame(17, concat({{b, n}, numbers(36 * b, n)})))
                << "accepted " << c.accepted << " block " << int(b);
        }
    }
}

TEST_F(PhoneTest, SaveRaisesTheReadTimeoutOnlyWhileItRuns) {
    using Timeouts = std::vector<std::pair<uint32_t, uint32_t>>;
    const Timeouts expected = {{3000, 0}, {1000, 0}};
    for (int acks : {10, 0, 1, 5}) {  // success, then failures at accept-all, emergency, block 3
        ScriptedDriver fresh;
        fresh.fail(Call::timeouts);  // not looked at
        for (int i = 0; i < acks; ++i) fresh.reply(ack(i == 0 ? 19 : i == 1 ? 14 : 17));
        EXPECT_EQ(write_phone_numbers(fresh.handle()), acks == 10 ? kOk : kFailed);
        EXPECT_EQ(fresh.timeouts(), expected) << acks;
        EXPECT_EQ(fresh.write_count(), std::min<std::size_t>(acks + 1, 10)) << acks;
        EXPECT_EQ(link_read_timeout_ms(), kReadTimeoutMs);
    }
}

TEST_F(PhoneTest, WritesNeverReadPastTheirTables) {
    emergency_count = 9;
    drv.reply(ack(14));
    EXPECT_EQ(write_emergency_numbers(h), kOk);
    EXPECT_EQ(drv.written(0), request_frame(14, concat({{6}, Bytes(42, 0)})));

    drv.reply(ack(17));
    EXPECT_EQ(write_accepted_block(h, 7, 36), kOk);
    EXPECT_EQ(drv.written(1), request_frame(17, concat({{7, 8}, Bytes(56, 0)})));
    drv.reply(ack(17));
    EXPECT_EQ(write_accepted_block(h, 0, 200), kOk);
    EXPECT_EQ(drv.written(2), request_frame(17, concat({{0, 36}, Bytes(252, 0)})));
}

}  // namespace
}  // namespace zavi::test
