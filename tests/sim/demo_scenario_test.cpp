// The demo module must show cleanly in the program: every text fits the slot it lands in, and
// it runs the firmware the program requires.
#include <gtest/gtest.h>

#include "link/connection.h"
#include "link/records.h"
#include "sim/demo_scenario.h"

namespace zavi::sim {
namespace {

TEST(DemoScenario, TextsFitTheProgramsSlotsAndTheFirmwareIsAccepted) {
    const Scenario s = demo_scenario();
    ASSERT_EQ(s.modules.size(), 1u);
    const ModuleState& m = s.modules[0].state;
    EXPECT_EQ(m.firmware, kRequiredFirmware);
    for (const auto& t : m.io_state_text) {
        EXPECT_FALSE(t.empty());
        EXPECT_LT(t.size(), kStateTextSlot);
    }
    EXPECT_LT(m.operator_name.size(), kOperatorNameSlot);
    for (const auto& n : m.io_names) EXPECT_LE(n.size(), kIoNameMaxSent);
    EXPECT_LE(m.emergency_numbers.size(), kEmergencyCapacity);
    EXPECT_LE(m.accepted_numbers.size(), kAcceptedCapacity);
    EXPECT_LE(m.alarm_settings[13], 100);
    std::string error;
    Scenario back;
    EXPECT_TRUE(scenario_from_json(scenario_to_json(s), &back, &error)) << error;
}

}  // namespace
}  // namespace zavi::sim
