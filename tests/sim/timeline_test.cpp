// The simulated module's timeline: status changes arrive at their time, in a loop when asked,
// counted from the first open; scenario files carry it and say where a bad one is wrong.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>

#include "link/status_commands.h"
#include "sim/demo_scenario.h"
#include "tests/support/sim_fixture.h"

namespace zavi {
namespace {

constexpr uint64_t kSecond = 1'000'000;

sim::StatusChange door(const char* text) {
    sim::StatusChange c;
    c.io_state_text[0] = text;
    return c;
}

// Door opens at 2.0 s, closes at 3.5 s with the signal at 12; optionally in a 5 s loop.
sim::Timeline door_timeline(uint64_t repeat_us) {
    sim::StatusChange closed = door("Door closed");
    closed.gsm_signal = 12;
    return {repeat_us, {{2 * kSecond, door("Door open")}, {3 * kSecond + kSecond / 2, closed}}};
}

TEST(Timeline, StateAtEachMoment) {
    struct Row {
        uint64_t repeat_us;
        int64_t from_us, to_us;
        const char* door;
        int signal;
    };
    const Row rows[] = {
        {0, -1, 0, "start", 20},                      // nothing happens before the first event
        {0, -1, 2 * kSecond, "Door open", 20},        // an event applies at its very time
        {0, -1, 3 * kSecond, "Door open", 20},        //
        {0, -1, 10 * kSecond, "Door closed", 12},     // both, in order
        {0, 4 * kSecond, 10 * kSecond, "start", 20},  // already applied: not again
        {5 * kSecond, -1, 7 * kSecond + 100, "Door open", 12},  // second loop, door open again
        {5 * kSecond, -1, 9 * kSecond, "Door closed", 12},
        {5 * kSecond, 3 * kSecond + kSecond / 2, 1000 * kSecond + 2 * kSecond, "Door open", 12},
        {5 * kSecond, 7 * kSecond, 8 * kSecond, "start", 20},  // between events: no change
    };
    for (const Row& row : rows) {
        sim::ModuleState s;
        s.io_state_text[0] = "start";
        sim::apply_timeline(door_timeline(row.repeat_us), row.from_us, row.to_us, &s);
        EXPECT_EQ(s.io_state_text[0], row.door) << row.from_us << ".." << row.to_us;
        EXPECT_EQ(s.gsm_signal, row.signal) << row.from_us << ".." << row.to_us;
        EXPECT_EQ(s.io_state_text[1], "");  // other fields untouched
    }
}

class TimelineOnTheLine : public SimTest {};

// Read by the program's own commands: the module shows what its timeline says at each request,
// counted from the open (the fixture opened it at the start).
TEST_F(TimelineOnTheLine, StatusFollowsTheClockFromTheFirstOpen) {
    sim().scenario().modules[0].timeline = door_timeline(5 * kSecond);
    struct Step {
        uint64_t wait_us;
        const char* door;
        uint8_t signal;
    };
    const Step steps[] = {{kSecond, "", 20},
                          {kSecond + 1000, "Door open", 20},
                          {2 * kSecond, "Door closed", 12},
                          {3 * kSecond, "Door open", 12}};  // 7 s: the loop's second door
    for (const Step& step : steps) {
        sim().pass_time(step.wait_us);
        ASSERT_EQ(read_status(handle(), 0), kOk);
        EXPECT_STREQ(device_status.io_state_text[0], step.door);
        EXPECT_EQ(device_status.gsm_signal, step.signal);
    }
    // Closing and opening again keeps the clock running from the first open.
    sim().close(handle());
    ASSERT_EQ(sim().open_by_index(0, &device_handle), kDriverOk);
    sim().pass_time(kSecond);  // 8 s: closed again at 8.5 s, not yet
    ASSERT_EQ(read_status(device_handle, 0), kOk);
    EXPECT_STREQ(device_status.io_state_text[0], "Door open");
    sim().close(device_handle);
}

TEST(TimelineJson, ReadFromTheScenarioAndNeverWrittenAsState) {
    const std::string text = R"({"modules": [{"state": {"gsm_signal": 7},
      "timeline": {"repeat_every_s": 12.0, "events": [
        {"at_s": 3.5, "set": {"io_state_text": {"0": "Door closed"}, "gsm_signal": 12}},
        {"at_s": 2.0, "set": {"io_state_text": {"5": "Light off"}, "operator_name": "Orange"}}]}}]})";
    sim::Scenario s;
    std::string error;
    ASSERT_TRUE(sim::scenario_from_json(text, &s, &error)) << error;
    const sim::Timeline& t = s.modules[0].timeline;
    EXPECT_EQ(t.repeat_every_us, 12 * kSecond);
    ASSERT_EQ(t.events.size(), 2u);
    EXPECT_EQ(t.events[0].at_us, 2 * kSecond);  // in time order
    EXPECT_EQ(t.events[0].set.io_state_text[5], "Light off");
    EXPECT_EQ(t.events[0].set.operator_name, "Orange");
    EXPECT_EQ(t.events[1].set.gsm_signal, 12);
    EXPECT_FALSE(t.events[1].set.temp1_whole.has_value());
    EXPECT_EQ(sim::scenario_to_json(s).find("timeline"), std::string::npos);
    EXPECT_EQ(sim::scenario_to_json(s).find("Light off"), std::string::npos);
}

TEST(TimelineJson, BadTimelinesAreRefusedWithThePath) {
    const std::string head = R"({"modules": [{"timeline": )";
    struct Row {
        const char* timeline;
        const char* error;
    };
    const Row rows[] = {
        {R"({"events": [{"at_s": 1, "set": {"colour": 1}}]})",
         "modules[0].timeline.events[0].set.colour: unknown field"},
        {R"({"events": [{"at_s": 1, "set": {"io_state_text": {"6": "x"}}}]})",
         "modules[0].timeline.events[0].set.io_state_text.6: unknown field"},
        {R"({"events": [{"set": {}}]})", "modules[0].timeline.events[0].at_s: missing"},
        {R"({"events": [{"at_s": -1}]})", "modules[0].timeline.events[0].at_s: expected seconds"},
        {R"({"events": [{"at_s": "2"}]})", "modules[0].timeline.events[0].at_s: expected seconds"},
        {R"({"events": [{"at_s": 1, "set": {"gsm_signal": 256}}]})",
         "modules[0].timeline.events[0].set.gsm_signal: expected a whole number"},
        {R"({"repeat_every_s": 3, "events": [{"at_s": 3}]})",
         "modules[0].timeline.repeat_every_s: must be longer"},
        {R"({"loop": 3})", "modules[0].timeline.loop: unknown field"},
        {R"({"events": {}})", "modules[0].timeline.events: expected an array"},
    };
    for (const Row& row : rows) {
        sim::Scenario s;
        std::string error;
        EXPECT_FALSE(sim::scenario_from_json(head + row.timeline + "}]}", &s, &error))
            << row.timeline;
        EXPECT_EQ(error.rfind(row.error, 0), 0u) << error;
    }
}

// The demo comes alive: within one loop every input shows both of its names, the signal moves.
TEST(Timeline, DemoShowsEveryInputInBothStates) {
    const sim::Scenario demo = sim::live_demo_scenario();
    const sim::ModuleState& start = demo.modules[0].state;
    sim::ModuleState s = start;
    std::array<std::set<std::string>, 4> seen;
    std::set<int> signals;
    for (int64_t t = 0; t <= 30'000'000; t += 250'000) {
        sim::apply_timeline(demo.modules[0].timeline, t - 250'000, t, &s);
        for (int i = 0; i < 4; ++i) seen[i].insert(s.io_state_text[i]);
        signals.insert(s.gsm_signal);
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(seen[i].count(start.io_names[2 * i])) << i;
        EXPECT_TRUE(seen[i].count(start.io_names[2 * i + 1])) << i;
    }
    EXPECT_GE(signals.size(), 4u);
    EXPECT_TRUE(sim::demo_scenario().modules[0].timeline.events.empty());
}

}  // namespace
}  // namespace zavi
