// Live status in the main window, on the simulated module's virtual clock: the window follows
// the module's timeline without a click, changed values are bold for two seconds, every other
// command stops the loop first and it stays stopped, and a failed read shows one error.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/connection.h"
#include "link/records.h"
#include "resources/ids.h"
#include "tests/support/main_window_fixture.h"
#include "ui/ui_language.h"

namespace zavi {
namespace {

constexpr char kCommunicationError[] = "Communication error - try again";

class LiveStatus : public test::MainWindowTest {
  protected:
    // IN-1 opens at 2.5 s and closes at 4.5 s, when the signal also drops.
    void SetUp() override {
        MainWindowTest::SetUp();
        sim::Scenario scenario;
        sim::ModuleState& state = scenario.modules[0].state;
        state.io_state_text = {"Door closed", "Window closed", "No voltage",
                               "No voltage",  "Off",           "Off"};
        sim::StatusChange open, closed;
        open.io_state_text[0] = "Door open";
        closed.io_state_text[0] = "Door closed";
        closed.gsm_signal = 12;
        scenario.modules[0].timeline = {0, {{2'500'000, open}, {4'500'000, closed}}};
        start(std::move(scenario));
        ui_language = kEnglish;
        ASSERT_FALSE(view().is_closed());
        sim().clear_journal();
    }

    // Each delivered cycle as the window shows it afterwards.
    struct Seen {
        std::string in1, signal;
        bool in1_bold, signal_bold, temp1_bold;
    };
    std::vector<Seen> watch(int cycles) {
        std::vector<Seen> seen;
        shell.deliver_live = [this, &seen] {
            view().command(IDC_LIVE_CYCLE, 0);
            seen.push_back({view().text(IDC_STATE_IN1), view().text(IDC_SIGNAL_TEXT),
                            view().control(IDC_STATE_IN1).bold,
                            view().control(IDC_SIGNAL_TEXT).bold, view().control(IDC_TEMP1).bold});
        };
        shell.run_live(cycles);
        return seen;
    }
};

TEST_F(LiveStatus, FollowsTheTimelineWithoutAClickAndMarksChangesForTwoSeconds) {
    view().click(IDM_LIVE_STATUS);
    EXPECT_TRUE(view().menu(IDM_LIVE_STATUS).checked);
    ASSERT_EQ(shell.live_intervals, std::vector<uint64_t>{1'000'000});
    const std::vector<Seen> seen = watch(9);
    ASSERT_EQ(seen.size(), 9u);
    // Cycles start at 0, 1, 2 ... s: the door opens before the one at 3 s and closes before 5 s.
    const char* in1[] = {"Door closed", "Door closed", "Door closed", "Door open",  "Door open",
                         "Door closed", "Door closed", "Door closed", "Door closed"};
    const bool in1_bold[] = {false, false, false, true, true, true, true, false, false};
    const bool signal_bold[] = {false, false, false, false, false, true, true, false, false};
    for (size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(seen[i].in1, in1[i]);
        EXPECT_EQ(seen[i].in1_bold, in1_bold[i]);
        EXPECT_EQ(seen[i].signal_bold, signal_bold[i]);
        EXPECT_FALSE(seen[i].temp1_bold);  // nothing changed there
    }
    EXPECT_EQ(seen[4].signal, "-73 dBm");
    EXPECT_EQ(seen[5].signal, "-89 dBm");  // the drop comes with the closing door
    // No progress dialog and no other request: status parts 0, 1, 2 in order, nothing else.
    EXPECT_TRUE(shell.jobs.empty());
    std::vector<int> parts;
    for (const sim::JournalEntry& e : sim().journal())
        parts.push_back(e.command == 8 ? e.data.at(0) : -e.command);
    std::vector<int> expected;
    for (int i = 0; i < 9; ++i) expected.insert(expected.end(), {0, 1, 2});
    EXPECT_EQ(parts, expected);
    EXPECT_TRUE(view().messages().empty());
}

TEST_F(LiveStatus, EveryOtherCommandStopsItFirstAndItStaysStopped) {
    const struct {
        const char* name;
        int command;
        std::vector<int> sent;  // what the module receives for the command itself
    } cases[] = {
        {"Refresh", IDC_REFRESH, {8, 8, 8}},
        {"Read", IDC_READ, {6}},
        {"an Options dialog", IDM_CALL_ANSWER, {22}},
        {"Reset", IDM_RESET, {15}},
        {"a language", IDM_GERMAN, {}},
        {"the File menu", IDM_BACKUP, {}},  // the chooser is cancelled
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        view().click(IDM_LIVE_STATUS);
        ASSERT_TRUE(shell.live_requested);
        watch(2);
        const size_t jobs_before = shell.jobs.size();
        sim().clear_journal();
        view().click(c.command);
        // The worker was stopped (and waited for) before the command's first job.
        ASSERT_EQ(shell.jobs_at_live_stop.size(), 1u);
        EXPECT_EQ(shell.jobs_at_live_stop[0], jobs_before);
        EXPECT_FALSE(shell.live_requested);
        EXPECT_FALSE(view().menu(IDM_LIVE_STATUS).checked);
        EXPECT_EQ(commands(), c.sent);
        // A late cycle of the stopped worker changes nothing, and nothing restarts it.
        view().clear_messages();
        device_status.io_state_text[0][0] = 'X';
        const std::string before = view().text(IDC_STATE_IN1);
        view().command(IDC_LIVE_CYCLE, 0);
        EXPECT_EQ(view().text(IDC_STATE_IN1), before);
        EXPECT_EQ(shell.live_intervals.size(), 1u);
        shell.live_intervals.clear();
        shell.jobs_at_live_stop.clear();
        ui_language = kEnglish;
    }
    // About and the panel's lists leave it running.
    view().click(IDM_LIVE_STATUS);
    view().click(IDM_ABOUT);
    view().choose(IDC_MODE_IN1, 1);
    EXPECT_TRUE(shell.live_requested);
    // The item itself stops it; closing the window stops it before the module is closed.
    view().click(IDM_LIVE_STATUS);
    EXPECT_FALSE(shell.live_requested);
    view().click(IDM_LIVE_STATUS);
    view().press_close_box();
    EXPECT_FALSE(shell.live_requested);
    EXPECT_TRUE(view().is_closed());
    EXPECT_EQ(device_handle, nullptr);
}

TEST_F(LiveStatus, AFailedReadStopsItWithOneErrorAndTheWindowStaysUsable) {
    sim::Fault unplug;
    unplug.kind = sim::FaultKind::unplug;
    unplug.command = 8;
    unplug.skip = 7;  // two cycles and one part of the third
    sim().scenario().modules[0].faults.push_back(unplug);
    view().click(IDM_LIVE_STATUS);
    const std::vector<Seen> seen = watch(50);
    EXPECT_EQ(seen.size(), 3u);  // two cycles, then the failure
    expect_only_box(kCommunicationError, MessageIcon::error);
    EXPECT_FALSE(view().menu(IDM_LIVE_STATUS).checked);
    EXPECT_FALSE(view().control(IDC_STATE_IN1).bold);
    // The last good reading stays on screen; Refresh still answers with its own error.
    EXPECT_EQ(view().text(IDC_STATE_IN1), "Door closed");
    view().clear_messages();
    view().click(IDC_REFRESH);
    EXPECT_EQ(shell.jobs_at_live_stop.size(), 1u);  // the ended worker waited for once
    expect_only_box(kCommunicationError, MessageIcon::error);
}

TEST_F(LiveStatus, AWorkerThatCannotStartSaysSoAndStaysUnchecked) {
    shell.live_start_fails = true;
    view().click(IDM_LIVE_STATUS);
    expect_only_box(kCommunicationError, MessageIcon::error);
    EXPECT_FALSE(view().menu(IDM_LIVE_STATUS).checked);
}

TEST_F(LiveStatus, TheTestItemIsGreyedWithoutAModuleAndConnectAgainStopsIt) {
    EXPECT_TRUE(view().menu(IDM_LIVE_STATUS).enabled);
    view().click(IDM_LIVE_STATUS);
    sim().scenario().modules.clear();
    view().click(IDM_CONNECT_AGAIN);  // finds no module
    EXPECT_EQ(shell.jobs_at_live_stop.size(), 1u);
    EXPECT_FALSE(view().menu(IDM_LIVE_STATUS).enabled);
    EXPECT_FALSE(view().menu(IDM_LIVE_STATUS).checked);
    view().click(IDM_LIVE_STATUS);  // sent anyway: nothing starts
    EXPECT_EQ(shell.live_intervals.size(), 1u);
}

}  // namespace
}  // namespace zavi
