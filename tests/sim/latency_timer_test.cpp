// The chip's latency timer as the vendor library sets it: an acknowledgement reaches the host
// one timer period after its first byte arrived, so the shorter timer shows in every exchange.
#include <gtest/gtest.h>

#include "link/status_commands.h"
#include "tests/support/sim_fixture.h"

namespace zavi {
namespace {

class LatencyTimer : public SimTest {};

TEST_F(LatencyTimer, TheTimerSetThroughTheHandleTimesTheAnswers) {
    sim().scenario().timing = {true, 9600, 16, 5000};
    struct Case {
        int set_ms;  // -1: not set
        DriverStatus status;
        uint32_t in_force_ms;
        uint64_t reset_us;  // 5-byte request, 5 ms answer time, 5-byte acknowledgement
    } const cases[] = {
        {-1, kDriverOk, 16, 27249},              // first answer byte at 11249 us + 16 ms
        {1, kDriverOk, 1, 16416},                // last byte at 15416 us + 1 ms
        {0, kDriverInvalidParameter, 1, 16416},  // refused: the timer stays as it was
        {2, kDriverOk, 2, 17416},
        {255, kDriverOk, 255, 266249},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.set_ms);
        if (c.set_ms >= 0) {
            EXPECT_EQ(sim().set_latency_timer(handle(), static_cast<uint8_t>(c.set_ms)), c.status);
        }
        EXPECT_EQ(sim().latency_ms(), c.in_force_ms);
        const uint64_t start = sim().now_us();
        EXPECT_EQ(reset_device(handle()), kOk);
        EXPECT_EQ(sim().now_us() - start, c.reset_us);
    }
}

TEST_F(LatencyTimer, ClosingTheHandleRestoresTheFactorySetting) {
    ASSERT_EQ(sim().set_latency_timer(handle(), 1), kDriverOk);
    ASSERT_EQ(sim().close(handle()), kDriverOk);
    DriverHandle again = nullptr;
    ASSERT_EQ(sim().open_by_index(0, &again), kDriverOk);
    EXPECT_EQ(sim().latency_ms(), 16u);
    EXPECT_EQ(sim().set_latency_timer(handle(), 1), kDriverInvalidHandle);  // the old one
    sim().close(again);
}

}  // namespace
}  // namespace zavi
