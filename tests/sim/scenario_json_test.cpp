// Scenario files: every field survives a round trip, people can read and write them, and bad
// files are refused with a message that says where.
#include <gtest/gtest.h>

#include "sim/simulator.h"

namespace zavi::sim {
namespace {

Scenario full_scenario() {
    Scenario s;
    s.count_fails = true;
    s.virtual_time = false;
    s.timing = {true, 19200, 4, 1234};
    s.modules.resize(2);
    ModuleState& m = s.modules[0].state;
    m.firmware = "ZAVI-GSM v1.6";
    m.temp1_negative = 1, m.temp1_whole = 2, m.temp1_tenths = 3;
    m.temp2_negative = 4, m.temp2_whole = 5, m.temp2_tenths = 6;
    m.battery_level = 7, m.battery_flags = 0x83, m.gsm_signal = 99, m.gsm_state = 9;
    m.io_state_text = {"T\xFCr offen", "b", "", "\x01\xFF", "hex:41", "f"};
    m.operator_name = "Plus GSM";
    for (uint8_t i = 0; i < 14; ++i) m.alarm_settings[i] = uint8_t(i * 17);
    for (uint8_t i = 0; i < 9; ++i) m.actions[i] = uint8_t(0xF0 - i);
    m.call_answer_sms = 1, m.call_answer_reactions = 0x21;
    m.auto_status = 0xC3, m.auto_reset = 4;
    m.pin = 0x0042, m.puk = 0xFFFF1234;
    m.accept_all = 1;
    m.emergency_numbers = {{0x49, 0x12, 0x34, 0x44, 0x65, 0x70, 0xFF},
                           {0x16, 0x53, 0xAB, 0xCD, 0x00, 0x11, 0x22}};
    for (int i = 0; i < 270; ++i)
        m.accepted_numbers.push_back({uint8_t(i % 100), 0x1F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    m.io_names[0] = "Wejście 1";
    m.io_names[11] = std::string(40, 'z');
    m.resets = 3;
    s.modules[1].open_fails = true;
    s.modules[1].serial = "A50285BI";
    s.modules[1].timeouts_fail = true;
    s.modules[1].faults = {{FaultKind::raw_answer, 8, 2, 1, 3, 77, {0x53, 0x16}},
                           {FaultKind::unplug, -1, -1, 0, -1, 0, {}},
                           {FaultKind::count_override, 16, 7, 0, 1, 37, {}}};
    return s;
}

TEST(ScenarioJson, EveryFieldSurvivesARoundTrip) {
    const Scenario original = full_scenario();
    const std::string text = scenario_to_json(original);
    Scenario back;
    std::string error;
    ASSERT_TRUE(scenario_from_json(text, &back, &error)) << error;
    EXPECT_TRUE(back == original);
    EXPECT_EQ(scenario_to_json(back), text);
}

TEST(ScenarioJson, WrittenForPeopleToRead) {
    const std::string text = scenario_to_json(full_scenario());
    for (const char* expected : {"\"491234446570\"", "\"hex:1653ABCD001122\"", "\"0042\"",
                                 "\"hex:FFFF1234\"", "\"raw_answer\"", "\"Tür offen\""})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
}

TEST(ScenarioJson, MissingFieldsKeepTheirDefaultsAndCodesComeInSeveralForms) {
    Scenario s;
    std::string error;
    ASSERT_TRUE(scenario_from_json(R"({"modules": [{"state": {"pin": 1234, "puk": "00000001",
        "emergency_numbers": ["+48600100200"], "io_names": ["a"]}}, {}]})",
                                   &s, &error))
        << error;
    ASSERT_EQ(s.modules.size(), 2u);
    const ModuleState& m = s.modules[0].state;
    EXPECT_EQ(m.pin, 0x1234);
    EXPECT_EQ(m.puk, 0x00000001u);
    EXPECT_EQ(m.emergency_numbers[0], (Number{0x48, 0x60, 0x01, 0x00, 0x20, 0x0F, 0xFF}));
    EXPECT_EQ(m.io_names[0], "a");
    EXPECT_EQ(m.firmware, ModuleState{}.firmware);
    EXPECT_EQ(m.battery_level, ModuleState{}.battery_level);
    EXPECT_TRUE(s.virtual_time);
    EXPECT_TRUE(s.modules[1] == Module{});
    // Without a serial number each module gets its own.
    EXPECT_EQ(module_serial(s, 0), "SIM00001");
    EXPECT_EQ(module_serial(s, 1), "SIM00002");

    ASSERT_TRUE(
        scenario_from_json(R"({"modules": [{"state": {"pin": "none", "puk": 12}}]})", &s, &error));
    EXPECT_EQ(s.modules[0].state.pin, 0xFFFF);
    EXPECT_EQ(s.modules[0].state.puk, 0x00000012u);
}

TEST(ScenarioJson, BadFilesAreRefusedWithTheReason) {
    const std::string long_text = "\"" + std::string(256, 'a') + "\"";
    std::string many_modules = "[";
    for (int i = 0; i < 256; ++i) many_modules += i ? ",{}" : "{}";
    many_modules += "]";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"{\"modules\": [", "not valid JSON"},
        {"[]", "expected an object"},
        {R"({"virtual_time": 1})", "virtual_time"},
        {R"({"modules": [{"state": {"firmware": 5}}]})", "modules[0].state.firmware"},
        {R"({"modules": [{"faults": [{"kind": "melt"}]}]})", "modules[0].faults[0].kind"},
        {R"({"modules": [{"faults": [{"command": 6}]}]})", "kind"},
        {R"({"modules": [{"state": {"battery_level": 256}}]})", "battery_level"},
        {R"({"modules": [{"state": {"gsm_state": -1}}]})", "gsm_state"},
        {R"({"modules": [{"state": {"temp1_whole": 2.5}}]})", "temp1_whole"},
        {R"({"modules": [{"faults": [{"kind": "delay", "value": 4294967296}]}]})", "value"},
        {R"({"timing": {"baud": 0}})", "timing.baud"},
        {R"({"modules": [{"state": {"operator_name": )" + long_text + "}}]}", "operator_name"},
        {R"({"modules": )" + many_modules + "}", "modules"},
        {R"({"modules": [{"state": {"accepted_numbers": ["12a4"]}}]})", "accepted_numbers[0]"},
        {R"({"modules": [{"state": {"accepted_numbers": ["123456789012345"]}}]})", "14 digits"},
        {R"({"modules": [{"state": {"emergency_numbers": ["hex:FFFF"]}}]})", "7 bytes"},
        {R"({"modules": [{"state": {"pin": "123"}}]})", "4 digits"},
        {R"({"modules": [{"state": {"puk": 123456789}}]})", "puk"},
        {R"({"modules": [{"state": {"io_names": ["", "", "", "", "", "", "", "", "", "", "", "", ""]}}]})",
         "io_names"},
        {R"({"modules": [{"state": {"alarm_settings": [1, 2, 3]}}]})", "exactly 14"},
        {R"({"modules": [{"state": {"actions": [1, 2, 3, 4, 5, 6, 7, 8, 300]}}]})", "actions"},
        {R"({"modules": [{"state": {"operator_name": "Łódź"}}]})", "U+00FF"},
        {R"({"modules": [{"stat": {}}]})", "modules[0].stat: unknown field"},
        {std::string(100, '[') + std::string(100, ']'), "nested"},
    };
    for (const auto& [text, where] : cases) {
        Scenario s;
        s.count_fails = true;  // must stay as it was
        std::string error;
        EXPECT_FALSE(scenario_from_json(text, &s, &error)) << text;
        EXPECT_NE(error.find(where), std::string::npos) << text << " -> " << error;
        EXPECT_TRUE(s.count_fails) << text;
    }
}

TEST(ScenarioJson, EveryCutOfAGoodFileFailsCleanly) {
    const std::string text = scenario_to_json(full_scenario());
    for (std::size_t n = 0; n < text.size(); n += 7) {
        Scenario s;
        std::string error;
        EXPECT_FALSE(scenario_from_json(text.substr(0, n), &s, &error));
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace zavi::sim
