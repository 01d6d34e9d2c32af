// The fastest possible exchange on the modelled serial line, worked out by hand, and what the
// wire meter makes of the requests it sees.
#include <gtest/gtest.h>

#include <cstdint>

#include "bench/line_bound.h"
#include "bench/wire_meter.h"

namespace zavi::bench {
namespace {

sim::Timing timing(uint32_t baud, uint32_t latency_ms, uint32_t answer_us) {
    sim::Timing t;
    t.realistic = true;
    t.baud = baud;
    t.latency_ms = latency_ms;
    t.answer_us = answer_us;
    return t;
}

TEST(LineBound, HandWorkedExchanges) {
    struct Case {
        const char* what;
        uint32_t request, answer;
        sim::Timing line;
        uint64_t expected_us;
    };
    const Case cases[] = {
        // 5-byte request (5208 us), 5 ms answer time, first answer byte at 11249 us: the latency
        // timer it starts runs out at 27249 us, after all 5 bytes are in.
        {"acknowledgement", 5, 5, timing(9600, 16, 5000), 27249},
        // 16 bytes fit the first 16 ms; byte 17 (27916 us) starts a second timer.
        {"two latency batches", 5, 20, timing(9600, 16, 5000), 43916},
        // At 115200 baud 62 bytes gather within the timer: both batches go when full.
        {"full batches", 5, 124, timing(115200, 16, 0), 434 + 10763},
        // ... but a 63rd byte waits alone for the timer.
        {"one byte past a batch", 5, 63, timing(115200, 16, 0), 434 + 5468 + 16000},
        {"no latency, no answer time", 3, 4, timing(9600, 0, 0), 3125 + 4166},
        {"no answer", 7, 0, timing(9600, 16, 5000), 7291},
    };
    for (const Case& c : cases)
        EXPECT_EQ(exchange_bound_us(c.request, c.answer, c.line), c.expected_us) << c.what;
}

TEST(LineBound, RuleOfThumbNeverBelowTheModel) {
    const sim::Timing line = timing(9600, 16, 5000);
    for (uint32_t answer : {1u, 5u, 16u, 17u, 61u, 62u, 63u, 300u, 518u}) {
        const uint64_t exact = exchange_bound_us(8, answer, line);
        const uint64_t rule = rule_of_thumb_us(8 + answer, 1, line);
        EXPECT_LE(exact, rule) << answer;
        // A one-byte answer is the only case where the timer starts at the last byte (the two
        // round each byte time down at different places).
        if (answer == 1) {
            EXPECT_NEAR(double(exact), double(rule), 1.0);
        }
    }
}

// With a 1 ms timer every answer byte (1.04 ms apart at 9600 baud) is a batch of its own, so
// the last one reaches the host 1 ms after it arrived: the line time plus the module's answer
// time plus 1 ms, whatever the length.
TEST(LineBound, OneMillisecondTimerAddsOneMillisecond) {
    const sim::Timing line = timing(9600, 1, 5000);
    for (uint32_t answer : {1u, 5u, 16u, 62u, 63u, 518u}) {
        const uint64_t tight = line_time_us(8, 9600) + 5000 + line_time_us(answer, 9600) + 1000;
        EXPECT_EQ(exchange_bound_us(8, answer, line), tight) << answer;
    }
}

TEST(WireMeter, CommandOfARequest) {
    const uint8_t version[] = {0x4D, 0x01, 0x00, 0xC4, 0x16};
    const uint8_t call_answer[] = {0x4D, 0x6E, 0xE9, 0x00, 0x46, 0x16};  // 22 is escaped
    const uint8_t not_a_request[] = {0x53, 0x01, 0x00};
    EXPECT_EQ(request_command(version, sizeof version), 1);
    EXPECT_EQ(request_command(call_answer, sizeof call_answer), 22);
    EXPECT_EQ(request_command(call_answer, 2), 0);
    EXPECT_EQ(request_command(not_a_request, sizeof not_a_request), 0);
}

}  // namespace
}  // namespace zavi::bench
