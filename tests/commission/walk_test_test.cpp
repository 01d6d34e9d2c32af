// Walk-test bookkeeping: the configured names decide which state a text means; a state is
// ticked only when its own name was shown, with the time it was first seen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commission/walk_test.h"

namespace zavi::commission {
namespace {

config::Configuration with_names(const std::string& in1_open, const std::string& in1_closed) {
    config::Configuration c;
    c.io_names = {"", "", "n2", "n3", "n4", "n5", "n6", "n7", "n8", "n9", "n10", "n11"};
    c.io_names[0] = in1_open;
    c.io_names[1] = in1_closed;
    c.alarm_settings.t1_low = 5, c.alarm_settings.t1_high = 30;
    c.alarm_settings.t2_low = -10, c.alarm_settings.t2_high = 40;
    c.alarm_settings.battery = 20;
    return c;
}

Snapshot showing(const std::string& in1) {
    Snapshot s;
    s.io = {in1, "n2", "n4", "n6", "n8", "x"};
    return s;
}

TEST(WalkTest, InputOneAcrossNamesAndTexts) {
    const std::string forty(40, 'x');
    const std::string html = "<b>\"Tür\" & 'co'</b>";
    struct Row {
        const char* what;
        std::string open_name, closed_name;
        std::vector<std::string> shown;  // IN-1's texts, one per status read
        bool open_seen, closed_seen;
        RowNote note;
        std::string unknown;
    };
    const Row rows[] = {
        {"both states",
         "Door open",
         "Door closed",
         {"Door closed", "Door open"},
         true,
         true,
         RowNote::none,
         ""},
        {"one state only",
         "Door open",
         "Door closed",
         {"Door open", "Door open"},
         true,
         false,
         RowNote::none,
         ""},
        {"equal names tick nothing",
         "Door",
         "Door",
         {"Door", "Door"},
         false,
         false,
         RowNote::equal_names,
         ""},
        {"both empty count as equal", "", "", {"", ""}, false, false, RowNote::equal_names, ""},
        {"an empty name is still a name",
         "",
         "Closed",
         {"", "Closed"},
         true,
         true,
         RowNote::none,
         ""},
        {"unknown text said, never ticked",
         "Door open",
         "Door closed",
         {"Door ajar"},
         false,
         false,
         RowNote::unknown_text,
         "Door ajar"},
        {"unknown after a tick keeps the tick",
         "Door open",
         "Door closed",
         {"Door open", "Tamper"},
         true,
         false,
         RowNote::unknown_text,
         "Tamper"},
        {"40 characters", forty, forty + "y", {forty + "y", forty}, true, true, RowNote::none, ""},
        {"a prefix is not the name",
         forty,
         "short",
         {forty.substr(0, 39)},
         false,
         false,
         RowNote::unknown_text,
         forty.substr(0, 39)},
        {"HTML in names", html, "<script>", {"<script>", html}, true, true, RowNote::none, ""},
        {"trailing spaces do not matter",
         "Open",
         "Closed",
         {"Open  ", "Closed "},
         true,
         true,
         RowNote::none,
         ""},
    };
    for (const Row& row : rows) {
        WalkTest test(with_names(row.open_name, row.closed_name), "start");
        double t = 1.0;
        for (const std::string& text : row.shown) {
            test.observe(showing(text), "clock", t);
            t += 1;
        }
        const InputRow& r = test.result().inputs[0];
        EXPECT_EQ(r.states[0].seen, row.open_seen) << row.what;
        EXPECT_EQ(r.states[1].seen, row.closed_seen) << row.what;
        EXPECT_EQ(r.note, row.note) << row.what;
        EXPECT_EQ(r.unknown, row.unknown) << row.what;
        for (const StateCheck& c : r.states)
            if (!c.seen) {
                EXPECT_EQ(c.first_seen, "") << row.what;
            }
    }
}

TEST(WalkTest, TicksKeepTheFirstTimeAndTheSummarySaysWhatIsMissing) {
    WalkTest test(with_names("Door open", "Door closed"), "start");
    EXPECT_TRUE(test.observe(showing("Door closed"), "09:00", 0.5).size() == 4u);  // 4 inputs
    EXPECT_TRUE(test.observe(showing("Door closed"), "09:01", 1.5).empty());
    const auto ticks = test.observe(showing("Door open"), "09:02", 2.5);
    ASSERT_EQ(ticks.size(), 1u);
    EXPECT_EQ(ticks[0].input, 0);
    EXPECT_EQ(ticks[0].state, 0);
    const WalkTestResult& r = test.result();
    EXPECT_EQ(r.inputs[0].states[1].first_seen, "09:00");
    EXPECT_EQ(r.inputs[0].states[0].first_seen, "09:02");
    EXPECT_DOUBLE_EQ(r.inputs[0].states[0].first_seen_s, 2.5);
    EXPECT_FALSE(r.inputs_done());  // the others were seen in one state each
    EXPECT_EQ(r.missing(), (std::vector<std::string>{"in2_closed", "pin1_voltage", "pin2_voltage",
                                                     "out1", "out2", "test_sms", "test_call"}));
    EXPECT_EQ(summary_line(r, 1),
              "Still missing: IN-2 closed, P-IN-1 voltage, P-IN-2 voltage, OUT-1 (confirmation), "
              "OUT-2 (confirmation), test SMS, test call.");
    for (const Snapshot& s : {Snapshot{{}, {}, {}, 0, 0, {}, "", {"", "n3", "n5", "n7", "n9", ""}}})
        test.observe(s, "09:03", 3);
    test.confirm_output(0, true), test.confirm_output(1, true);
    test.confirm_sms(true), test.confirm_call(true);
    EXPECT_TRUE(test.result().inputs_done());
    EXPECT_EQ(summary_line(test.result(), 1), "Everything seen.");
    test.interrupt();
    EXPECT_NE(summary_line(test.result(), 0).find("przerwany"), std::string::npos);
}

TEST(WalkTest, ThermometersAndOutputsAgainstTheConfiguration) {
    WalkTest test(with_names("a", "b"), "start");
    Snapshot s = showing("a");
    s.temp1_tenths = 305;   // 30.5 above 30
    s.temp2_tenths = -100;  // -10.0 exactly at the low threshold
    s.io[4] = "n8", s.io[5] = "neither";
    test.observe(s, "t", 1);
    const WalkTestResult& r = test.result();
    EXPECT_FALSE(r.thermometers[0].within());
    EXPECT_TRUE(r.thermometers[1].within());
    EXPECT_EQ(r.outputs[0].present_state, 0);
    EXPECT_EQ(r.outputs[1].present_state, -1);
    EXPECT_EQ(r.battery_threshold, 20);
}

TEST(WalkTest, ResultSurvivesItsFileAndBadFilesAreRefused) {
    WalkTest test(with_names("<Door & \"open\">", "Zamknięte"), "2026-12-09T10:00:00+01:00");
    Snapshot s = showing("<Door & \"open\">");
    s.battery_percent = 55, s.signal_dbm = -71, s.operator_name = "Plus";
    test.observe(s, "2026-12-09T10:00:02+01:00", 2);
    test.confirm_sms(true);
    test.interrupt();
    WalkTestResult back;
    std::string error;
    ASSERT_TRUE(walk_test_from_json(walk_test_to_json(test.result()), &back, &error)) << error;
    EXPECT_EQ(walk_test_to_json(back), walk_test_to_json(test.result()));
    EXPECT_TRUE(back.interrupted);
    EXPECT_EQ(back.inputs[0].states[0].name, "<Door & \"open\">");
    for (const char* bad : {"", "[]", "{\"format\": \"zavi-gsm-survey\"}",
                            "{\"format\": \"zavi-gsm-walk-test\", \"started\": 1}"}) {
        EXPECT_FALSE(walk_test_from_json(bad, &back, &error)) << bad;
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace zavi::commission
