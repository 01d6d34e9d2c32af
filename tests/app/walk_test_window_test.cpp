// The walk test opened from the main window, on the simulated module's virtual clock: the
// module's 12 names tell which state a text means, each state is ticked once it was seen (never
// before), equal names and unknown texts are said on their row, the installer's ticks count,
// and a module that stops answering leaves one error and the results marked interrupted.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/walk_test_dialog.h"
#include "link/connection.h"
#include "resources/ids.h"
#include "sim/demo_scenario.h"
#include "tests/support/main_window_fixture.h"
#include "ui/ui_language.h"

namespace zavi {
namespace {

class WalkTestWindow : public test::MainWindowTest {
  protected:
    // IN-1 opens and closes, IN-2's states share one name, P-IN-1 and P-IN-2 go both ways,
    // P-IN-2 once through a text that is neither of its names. Thermometer 2 is too warm.
    void SetUp() override {
        MainWindowTest::SetUp();
        sim::Scenario s = sim::demo_scenario();
        s.timing.realistic = true;  // each read takes (virtual) line time
        sim::ModuleState& m = s.modules[0].state;
        m.io_names[3] = "Window open";
        m.io_state_text[1] = "Window open";
        m.temp2_negative = 0, m.temp2_whole = 45, m.temp2_tenths = 0;
        auto at = [](uint64_t ms, int io, const char* text) {
            sim::StatusChange c;
            c.io_state_text[io] = text;
            return sim::TimelineEvent{ms * 1000, c};
        };
        s.modules[0].timeline = {
            0,
            {at(1500, 0, "Door open"), at(2000, 0, "Door closed"), at(2500, 2, "Mains off"),
             at(3000, 3, "Pump ??"), at(3500, 3, "Pump on")}};
        start(std::move(s));
        ui_language = kEnglish;
        ASSERT_FALSE(view().is_closed());
    }

    // Opens the walk test; `inside` runs while it is open, on its view.
    void walk_test(const std::function<void(FakeDialogView&)>& inside) {
        view().on_run_dialog([&](int template_id, DialogLogic& logic) {
            ASSERT_EQ(template_id, IDD_WALK_TEST);
            FakeDialogView dialog(IDD_WALK_TEST, &logic);
            dialog.init();
            inside(dialog);
            if (!dialog.is_closed()) dialog.click(IDC_WT_CLOSE);
            EXPECT_TRUE(dialog.is_closed());
        });
        view().click(IDM_WALK_TEST);
    }
};

TEST_F(WalkTestWindow, TicksWhatWasSeenAndSaysWhatIsMissing) {
    sim().clear_journal();
    walk_test([&](FakeDialogView& d) {
        EXPECT_EQ(d.title(), "Walk test");
        // Nothing seen before the first read.
        EXPECT_FALSE(d.checked(IDC_WT_IN1_A));
        EXPECT_EQ(d.text(IDC_WT_IN1_A), "Door open");
        shell.run_live(400);
        const struct {
            int box;
            bool ticked;
            const char* name;
        } rows[] = {
            {IDC_WT_IN1_A, true, "Door open"},    {IDC_WT_IN1_B, true, "Door closed"},
            {IDC_WT_IN2_A, false, "Window open"}, {IDC_WT_IN2_B, false, "Window open"},
            {IDC_WT_PIN1_A, true, "Mains off"},   {IDC_WT_PIN1_B, true, "Mains on"},
            {IDC_WT_PIN2_A, true, "Pump off"},    {IDC_WT_PIN2_B, true, "Pump on"},
        };
        for (const auto& r : rows) {
            SCOPED_TRACE(r.name);
            EXPECT_EQ(d.checked(r.box), r.ticked);
            const std::string text = d.text(r.box);
            EXPECT_EQ(text.substr(0, std::string(r.name).size()), r.name);
            // A ticked state carries the clock time it was first seen: "  (hh:mm:ss)".
            EXPECT_EQ(text.size(), std::string(r.name).size() + (r.ticked ? 12 : 0)) << text;
        }
        EXPECT_EQ(d.text(IDC_WT_IN1_NOTE), "");
        EXPECT_EQ(d.text(IDC_WT_IN2_NOTE),
                  "Both states have the same name: they cannot be told apart.");
        EXPECT_EQ(d.text(IDC_WT_PIN2_NOTE),
                  "The module showed \"Pump ??\", which is neither name.");
        EXPECT_EQ(d.text(IDC_WT_THERMO1), "Thermometer 1: 21.5 °C   (5 … 30 °C)   within range");
        EXPECT_EQ(d.text(IDC_WT_THERMO2),
                  "Thermometer 2: 45.0 °C   (-10 … 40 °C)   OUT OF RANGE: an alarm would fire now");
        EXPECT_EQ(d.text(IDC_WT_BATTERY), "Battery: 87 %   (threshold 20 %)   charging");
        EXPECT_EQ(d.text(IDC_WT_GSM), "GSM: ready, Plus, -77 dBm");
        EXPECT_EQ(d.text(IDC_WT_OUT1_PRESENT), "Siren off");
        EXPECT_EQ(d.text(IDC_WT_SUMMARY),
                  "Still missing: IN-2 open, IN-2 closed, OUT-1 (confirmation), OUT-2 "
                  "(confirmation), test SMS, test call.");
        // A click on a state box does not tick it; the installer's boxes do count.
        d.toggle(IDC_WT_IN2_A);
        EXPECT_FALSE(d.checked(IDC_WT_IN2_A));
        for (int id : {IDC_WT_OUT1_CONFIRM, IDC_WT_OUT2_CONFIRM, IDC_WT_SMS, IDC_WT_CALL})
            d.toggle(id);
        EXPECT_EQ(d.text(IDC_WT_SUMMARY), "Still missing: IN-2 open, IN-2 closed.");
        EXPECT_TRUE(d.messages().empty());
    });
    // Read at opening: the names (both halves); then status cycles only, as fast as the line
    // allows, and the worker stopped when the dialog closed.
    ASSERT_GE(commands().size(), 5u);
    EXPECT_EQ(commands()[0], 24);
    EXPECT_EQ(commands()[1], 24);
    for (size_t i = 2; i < commands().size(); ++i) EXPECT_EQ(commands()[i], 8);
    EXPECT_EQ(shell.live_intervals, std::vector<uint64_t>{0});
    EXPECT_FALSE(shell.live_requested);
    EXPECT_TRUE(view().messages().empty());
}

TEST_F(WalkTestWindow, AnUnpluggedModuleStopsTheReadsWithOneErrorAndKeepsWhatWasSeen) {
    walk_test([&](FakeDialogView& d) {
        shell.run_live(100);  // IN-1 open has been seen by now
        ASSERT_TRUE(d.checked(IDC_WT_IN1_A));
        sim::Fault unplug;
        unplug.kind = sim::FaultKind::unplug;
        sim().scenario().modules[0].faults.push_back(unplug);
        shell.run_live(100);
        ASSERT_EQ(d.messages().size(), 1u);
        EXPECT_EQ(d.messages()[0].text, "Communication error - try again");
        EXPECT_TRUE(d.checked(IDC_WT_IN1_A));
        const std::string summary = d.text(IDC_WT_SUMMARY);
        EXPECT_NE(summary.find("The test was interrupted"), std::string::npos) << summary;
        EXPECT_FALSE(d.is_closed());  // the installer reads it, then closes
    });
    EXPECT_TRUE(view().messages().empty());
}

TEST_F(WalkTestWindow, NamesThatCannotBeReadOpenNoDialog) {
    sim::Fault silent;
    silent.kind = sim::FaultKind::no_answer;
    silent.command = 24;
    sim().scenario().modules[0].faults.push_back(silent);
    bool opened = false;
    view().on_run_dialog([&](int, DialogLogic&) { opened = true; });
    view().click(IDM_WALK_TEST);
    EXPECT_FALSE(opened);
    expect_only_box("Communication error - try again", MessageIcon::error);
    EXPECT_TRUE(shell.live_intervals.empty());
}

}  // namespace
}  // namespace zavi
