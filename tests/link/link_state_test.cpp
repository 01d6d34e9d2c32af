#include "link/link_state.h"

#include <gtest/gtest.h>

#include <thread>

#include "link/config_commands.h"
#include "link/connection.h"
#include "sim/simulator.h"

namespace zavi::test {
namespace {

// A module whose auto-reset period is `days`, on real time (threads share no virtual clock).
sim::Scenario module_with_period(uint8_t days) {
    sim::Scenario s;
    s.virtual_time = false;
    s.modules[0].state.auto_reset = days;
    return s;
}

struct Seen {
    LinkResult result = kReadFailed;
    uint8_t period = 0;
    bool own = false;
};

// Opens its module, reads the auto-reset record, and leaves what its thread's records hold.
Seen read_period_in_own_state(sim::SimDriver& module, LinkState& state) {
    Seen seen;
    seen.own = use_own_link_state(&state);
    set_driver(&module);
    DriverHandle h = nullptr;
    module.open_by_index(0, &h);
    device_handle = h;
    set_link_timeouts(h, kReadTimeoutMs, kWriteTimeoutMs);
    seen.result = read_auto_reset(device_handle);
    seen.period = auto_reset.period;
    module.close(h);
    return seen;
}

TEST(LinkStateTest, ThreadsWithTheirOwnStateTalkToTheirOwnModulesAtOnce) {
    reset_all_records();
    auto_reset.period = 9;  // the process's record, which no clone thread may touch
    Driver* const process_driver = driver();
    sim::SimDriver one(module_with_period(2)), two(module_with_period(5));
    LinkState state_one, state_two;
    Seen seen_one, seen_two;
    std::thread a([&] { seen_one = read_period_in_own_state(one, state_one); });
    std::thread b([&] { seen_two = read_period_in_own_state(two, state_two); });
    a.join();
    b.join();
    EXPECT_TRUE(seen_one.own && seen_two.own);
    EXPECT_EQ(seen_one.result, kOk);
    EXPECT_EQ(seen_two.result, kOk);
    EXPECT_EQ(seen_one.period, 2);
    EXPECT_EQ(seen_two.period, 5);
    EXPECT_EQ(state_one.auto_reset.period, 2);
    EXPECT_EQ(state_two.driver, &two);
    EXPECT_EQ(auto_reset.period, 9);
    EXPECT_EQ(driver(), process_driver);
}

TEST(LinkStateTest, AThreadWithoutItsOwnStateSharesTheProcesssRecords) {
    // The program's worker thread fills the records that its window then shows.
    reset_all_records();
    std::thread worker([] { auto_reset.period = 4; });
    worker.join();
    EXPECT_EQ(auto_reset.period, 4);
    // Too late once a thread has used the process's set: it keeps that one.
    LinkState own;
    bool taken = true;
    std::thread late([&] {
        auto_reset.period = 3;
        taken = use_own_link_state(&own);
    });
    late.join();
    EXPECT_FALSE(taken);
    EXPECT_EQ(auto_reset.period, 3);
    EXPECT_EQ(own.auto_reset.period, 0);
    reset_all_records();
}

}  // namespace
}  // namespace zavi::test
