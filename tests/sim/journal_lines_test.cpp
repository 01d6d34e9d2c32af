// After each write the DLL and zavi-sim-serve journal the frames and save the state only when
// a write command was taken.
#include "sim/journal_lines.h"

#include <gtest/gtest.h>

#include "tests/sim/wire_helpers.h"

namespace zavi::sim {
namespace {

TEST(JournalLines, FramesBecomeLinesAndOnlyWritesAskForASave) {
    const struct {
        Bytes wire;
        bool stored;
        std::string part;  // of the line
    } cases[] = {
        {request_wire(21, {2}), true,
         R"({"command":21,"data":"02","event":"frame","module":0,"valid":true,"wire":"4D)"},
        {request_wire(20), false,
         R"({"command":20,"data":"","event":"frame","module":0,"valid":true,"wire":"4D)"},
        {{'x', 'y', kFrameEnd},
         false,
         R"("event":"frame","module":0,"valid":false,"wire":"787916"})"},
    };
    for (const auto& c : cases) {
        SimDriver sim;
        DriverHandle handle = nullptr;
        ASSERT_EQ(sim.open_by_index(0, &handle), kDriverOk);
        uint32_t written = 0;
        ASSERT_EQ(sim.write(handle, c.wire.data(), static_cast<uint32_t>(c.wire.size()), &written),
                  kDriverOk);
        std::vector<std::string> lines;
        EXPECT_EQ(drain_journal(sim, [&](const std::string& l) { lines.push_back(l); }), c.stored);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find(c.part), std::string::npos) << lines[0];
        EXPECT_TRUE(sim.journal().empty());
    }
}

TEST(JournalLines, SavedStatesGoToTheModulesAtTheirIndex) {
    Scenario saved, scenario;
    saved.modules.resize(1);
    saved.modules[0].state.auto_reset = 7;
    scenario.modules.resize(2);
    scenario.modules[0].serial = "KEEP";
    take_states(saved, &scenario);
    EXPECT_EQ(scenario.modules[0].state.auto_reset, 7);
    EXPECT_EQ(scenario.modules[0].serial, "KEEP");  // only the state is taken
    EXPECT_EQ(scenario.modules[1].state, ModuleState{});
}

}  // namespace
}  // namespace zavi::sim
