// The signal survey opened from the main window, on the simulated module's virtual clock:
// status part 0 alone, as fast as the line allows, until the chosen time; the figures, the
// plot and the verdict from what was sampled; an unplugged module keeps the samples, marked
// interrupted, with one error.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/survey_dialog.h"
#include "link/connection.h"
#include "resources/ids.h"
#include "sim/demo_scenario.h"
#include "tests/support/main_window_fixture.h"
#include "ui/ui_language.h"

namespace zavi {
namespace {

class SurveyWindow : public test::MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        sim::Scenario s = sim::demo_scenario();
        s.timing.realistic = true;           // each read takes (virtual) line time
        s.modules[0].state.gsm_signal = 20;  // -73 dBm
        sim::StatusChange weak, none;
        weak.gsm_signal = 10;  // -93 dBm
        none.gsm_signal = 99;  // no reading
        s.modules[0].timeline = {0, {{10'000'000, weak}, {20'000'000, none}}};
        start(std::move(s));
        ui_language = kEnglish;
    }
    void survey(const std::function<void(FakeDialogView&)>& inside) {
        view().on_run_dialog([&](int template_id, DialogLogic& logic) {
            ASSERT_EQ(template_id, IDD_SURVEY);
            FakeDialogView dialog(IDD_SURVEY, &logic);
            dialog.init();
            inside(dialog);
            if (!dialog.is_closed()) dialog.click(IDC_SV_CLOSE);
        });
        view().click(IDM_SURVEY);
    }
};

TEST_F(SurveyWindow, SamplesPartZeroUntilTheChosenTimeAndGivesTheVerdict) {
    sim().clear_journal();
    survey([&](FakeDialogView& d) {
        EXPECT_EQ(d.item_count(IDC_SV_DURATION), 5);
        d.choose(IDC_SV_DURATION, 0);  // 30 s
        d.click(IDC_SV_START);
        EXPECT_EQ(d.text(IDC_SV_START), "Stop");
        EXPECT_FALSE(d.enabled(IDC_SV_DURATION));
        shell.run_live(100000);  // ends by itself at 30 s
        EXPECT_EQ(d.text(IDC_SV_START), "Start");
        EXPECT_EQ(d.text(IDC_SV_LOWEST), "Lowest: -93 dBm");
        EXPECT_EQ(d.text(IDC_SV_HIGHEST), "Highest: -73 dBm");
        EXPECT_EQ(d.text(IDC_SV_PRESENT), "Present: —");
        const auto& plot = d.control(IDC_SV_PLOT).plot;
        ASSERT_GT(plot.size(), 30u);
        EXPECT_EQ(plot.front(), std::optional<int>(-73));
        EXPECT_EQ(plot.back(), std::nullopt);
        // A third of the samples without a reading: poor, and the reason says why.
        const std::string verdict = d.text(IDC_SV_VERDICT);
        EXPECT_EQ(verdict.rfind("poor: ", 0), 0u) << verdict;
        EXPECT_NE(verdict.find("no signal reading"), std::string::npos) << verdict;
        EXPECT_TRUE(d.enabled(IDC_SV_SAVE_CSV));
    });
    // Status part 0 only, and the worker gone.
    for (const sim::JournalEntry& e : sim().journal()) {
        EXPECT_EQ(e.command, 8);
        EXPECT_EQ(e.data.at(0), 0);
    }
    EXPECT_EQ(shell.live_parts, LiveParts::signal);
    EXPECT_TRUE(view().messages().empty());
}

TEST_F(SurveyWindow, AnUnpluggedModuleKeepsTheSamplesMarkedInterrupted) {
    survey([&](FakeDialogView& d) {
        d.click(IDC_SV_START);
        shell.run_live(20);
        sim::Fault unplug;
        unplug.kind = sim::FaultKind::unplug;
        sim().scenario().modules[0].faults.push_back(unplug);
        shell.run_live(100000);
        ASSERT_EQ(d.messages().size(), 1u);
        EXPECT_EQ(d.messages()[0].text, "Communication error - try again");
        EXPECT_EQ(d.control(IDC_SV_PLOT).plot.size(), 20u);
        const std::string verdict = d.text(IDC_SV_VERDICT);
        EXPECT_EQ(verdict.rfind("good: ", 0), 0u) << verdict;
        EXPECT_NE(verdict.find("interrupted"), std::string::npos) << verdict;
        EXPECT_EQ(d.text(IDC_SV_START), "Start");
    });
}

}  // namespace
}  // namespace zavi
