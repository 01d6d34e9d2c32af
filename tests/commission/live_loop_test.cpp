// The live-status loop on the simulated module's virtual clock: one exchange at a time, the
// three parts in order, changes as the module's timeline makes them, and a clean end on a stop
// or a failed read.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "commission/live_loop.h"
#include "commission/survey_run.h"
#include "tests/support/sim_fixture.h"

namespace zavi::commission {
namespace {

class LiveLoopTest : public SimTest {
  protected:
    Pace pace() {
        return {[this] { return sim().now_us(); }, [this](uint64_t us) { sim().pass_time(us); }};
    }
    std::vector<int> parts_read() {
        std::vector<int> out;
        for (const auto& e : sim().journal())
            out.push_back(e.command == 8 ? e.data.at(0) : -e.command);
        return out;
    }
};

TEST_F(LiveLoopTest, ReportsTheTimelineChangesOnePartAtATime) {
    sim::StatusChange open, closed;
    open.io_state_text[0] = "Door open";
    closed.io_state_text[0] = "Door closed";
    closed.gsm_signal = 12;
    state().io_state_text[0] = "Door closed";
    sim().scenario().modules[0].timeline = {0, {{2'500'000, open}, {4'500'000, closed}}};
    std::atomic<bool> stop{false};
    std::vector<std::vector<FieldChange>> seen;
    LiveLoop loop(handle(), pace());
    const LoopEnd end = loop.run(1'000'000, stop, [&](const Snapshot&, const auto& changed) {
        seen.push_back(changed);
        return seen.size() < 6;
    });
    EXPECT_EQ(end, LoopEnd::finished);
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[0].size(), field_names().size());  // the first cycle: every field
    EXPECT_TRUE(seen[1].empty() && seen[2].empty());  // 1 s, 2 s
    ASSERT_EQ(seen[3].size(), 1u);                    // 3 s
    EXPECT_EQ(seen[3][0].field, "in1");
    EXPECT_EQ(seen[3][0].old_value, "Door closed");
    EXPECT_EQ(seen[3][0].new_value, "Door open");
    EXPECT_TRUE(seen[4].empty());
    ASSERT_EQ(seen[5].size(), 2u);  // 5 s: the door and the signal
    EXPECT_EQ(seen[5][0].field, "gsm_signal_dbm");
    EXPECT_EQ(seen[5][0].new_value, "-89");
    // Nothing but status parts 0, 1, 2, in order, each answered before the next was sent.
    std::vector<int> expected;
    for (int i = 0; i < 6; ++i) expected.insert(expected.end(), {0, 1, 2});
    EXPECT_EQ(parts_read(), expected);
}

TEST_F(LiveLoopTest, StopsBetweenExchanges) {
    std::atomic<bool> stop{true};
    LiveLoop loop(handle(), pace());
    EXPECT_EQ(loop.run(1000, stop, [](const auto&, const auto&) { return true; }),
              LoopEnd::stopped);
    EXPECT_TRUE(sim().journal().empty());
    // A stop during the pause ends the loop before the next cycle's first exchange.
    stop = false;
    Pace p = pace();
    p.sleep = [&](uint64_t us) {
        sim().pass_time(us);
        stop = true;
    };
    LiveLoop second(handle(), p);
    EXPECT_EQ(second.run(1'000'000, stop, [](const auto&, const auto&) { return true; }),
              LoopEnd::stopped);
    EXPECT_EQ(parts_read(), (std::vector<int>{0, 1, 2}));
}

TEST_F(LiveLoopTest, UnpluggedInTheMiddleOfACycleEndsWithAFailure) {
    // The fifth status request (part 1 of the second cycle) finds the module gone.
    sim().scenario().modules[0].faults = {{sim::FaultKind::unplug, 8, -1, 4, 1, 0, {}}};
    std::atomic<bool> stop{false};
    int cycles = 0;
    LiveLoop loop(handle(), pace());
    EXPECT_EQ(loop.run(0, stop, [&](const auto&, const auto&) { return ++cycles < 10; }),
              LoopEnd::read_failed);
    EXPECT_EQ(cycles, 1);
    EXPECT_EQ(loop.cycles(), 1u);
    Snapshot s;
    EXPECT_FALSE(read_signal(handle(), &s));  // and it stays gone, without hanging
}

// The survey on virtual time: a module without line timing answers at once, so the sampling
// is held to its minimum spacing; a module that goes away leaves the samples taken so far.
TEST_F(LiveLoopTest, SurveyRunsForItsTimeAndKeepsItsSamplesWhenUnplugged) {
    sim::StatusChange weak;
    weak.gsm_signal = 99;  // no reading
    sim().scenario().modules[0].timeline = {0, {{50'000, weak}}};
    std::atomic<bool> stop{false};
    std::vector<double> seen;
    const SurveyResult r = run_survey(handle(), pace(), 100'000, stop,
                                      [&](const SurveySample& s) { seen.push_back(s.at_s); });
    EXPECT_FALSE(r.interrupted);
    ASSERT_EQ(r.samples.size(), 50u);  // every 2 ms for 0.1 s
    EXPECT_EQ(seen.size(), 50u);
    EXPECT_EQ(r.stats().no_reading, 25);
    EXPECT_EQ(r.samples.front().dbm, -73);
    EXPECT_NEAR(r.duration_s, 0.1, 0.003);

    sim().scenario().modules[0].faults = {{sim::FaultKind::unplug, 8, -1, 7, 1, 0, {}}};
    const SurveyResult cut = run_survey(handle(), pace(), 100'000, stop);
    EXPECT_TRUE(cut.interrupted);
    EXPECT_EQ(cut.samples.size(), 7u);
}

}  // namespace
}  // namespace zavi::commission
