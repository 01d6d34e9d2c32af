// Commands of the running main window and its end.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "link/connection.h"
#include "link/records.h"
#include "resources/ids.h"
#include "tests/support/main_window_fixture.h"
#include "ui/ui_language.h"

namespace zavi {
namespace {

using test::MainWindowTest;

sim::Fault fault(sim::FaultKind kind, int command, int sub_index = -1, int times = -1) {
    sim::Fault f;
    f.kind = kind;
    f.command = command;
    f.sub_index = sub_index;
    f.times = times;
    return f;
}

class RunningWindow : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        sim::Scenario s;
        s.modules[0].state.alarm_settings = {0xF1, 0, 30, 5, 0, 10, 0, 0, 40, 0, 1, 5, 0, 20};
        start(s);
        ASSERT_FALSE(view().is_closed());
        ASSERT_TRUE(view().messages().empty());
        sim().clear_journal();
    }
    sim::ModuleState& module() { return sim().state(0); }
    void fail_next(int command) {
        sim().scenario().modules[0].faults.push_back(fault(sim::FaultKind::no_answer, command));
    }
    void expect_only_communication_error() {
        expect_only_box("Communication error - try again", MessageIcon::error);
    }
};

TEST_F(RunningWindow, RefreshRedrawsFromTheModule) {
    module().temp1_whole = 42;
    module().gsm_state = 3;
    view().click(IDC_REFRESH);
    EXPECT_EQ(shell.jobs, (std::vector<WorkerJob>{JOB_READ_STATUS}));
    EXPECT_EQ(commands(), (std::vector<int>{8, 8, 8}));
    EXPECT_EQ(view().text(IDC_TEMP1), "42.5 °C");
    EXPECT_EQ(view().text(IDC_STATUS_LINE), "GSM: no SIM      Battery: recharge");
    EXPECT_TRUE(view().messages().empty());
}

TEST_F(RunningWindow, FailedRefreshOrReadLeavesThePanels) {
    const std::string temp_before = view().text(IDC_TEMP1);
    module().temp1_whole = 42;
    fail_next(8);
    view().click(IDC_REFRESH);
    expect_only_communication_error();
    EXPECT_EQ(view().text(IDC_TEMP1), temp_before);

    view().clear_messages();
    module().alarm_settings[2] = 99;
    fail_next(6);
    view().click(IDC_READ);
    expect_only_communication_error();
    EXPECT_EQ(view().control(IDC_T1_HIGH_SPIN).updown_pos, 30);
    EXPECT_EQ(shell.jobs, (std::vector<WorkerJob>{JOB_READ_STATUS, JOB_READ_ALARM_SETTINGS}));
}

TEST_F(RunningWindow, ReadShowsTheModulesSettings) {
    module().alarm_settings = {0x0C, 0, 50, 0, 1, 20, 0, 0, 60, 0, 0, 0, 0, 75};
    view().click(IDC_READ);
    EXPECT_EQ(shell.jobs, (std::vector<WorkerJob>{JOB_READ_ALARM_SETTINGS}));
    EXPECT_EQ(view().selected_item(IDC_MODE_IN1), 0);
    EXPECT_EQ(view().selected_item(IDC_MODE_PIN2), 1);
    EXPECT_EQ(view().control(IDC_T1_LOW_SPIN).updown_pos, -20);
    EXPECT_EQ(view().control(IDC_BATTERY_THRESHOLD_SPIN).updown_pos, 75);
}

TEST_F(RunningWindow, SaveSendsWhatTheControlsShow) {
    view().select_item(IDC_MODE_IN2, 1);
    view().set_updown_position(IDC_T1_LOW_SPIN, -55);
    view().set_updown_position(IDC_T2_HIGH_SPIN, 120);
    view().set_updown_position(IDC_T2_LOW_SPIN, 0);
    view().set_updown_position(IDC_BATTERY_THRESHOLD_SPIN, 35);
    view().click(IDC_SAVE);
    EXPECT_TRUE(view().messages().empty());
    EXPECT_TRUE(shell.jobs.empty());  // sent directly, no progress dialog
    const auto sent = requests(7);
    ASSERT_EQ(sent.size(), 1u);
    // Bits 4-7 as read, IN-1 as read, IN-2 newly chosen; the fraction 5 goes back as 0.
    EXPECT_EQ(sent[0].data,
              (std::vector<uint8_t>{0xF3, 0, 30, 0, 1, 55, 0, 0, 120, 0, 0, 0, 0, 35}));
    EXPECT_TRUE(sent[0].valid);
    EXPECT_EQ(module().alarm_settings[5], 55);
    EXPECT_EQ(view().control(IDC_T1_LOW_SPIN).updown_pos, -55);
}

TEST_F(RunningWindow, SaveWithABadPairSendsNothing) {
    view().set_updown_position(IDC_T2_HIGH_SPIN, 10);
    view().set_updown_position(IDC_T2_LOW_SPIN, 10);
    view().click(IDC_SAVE);
    expect_only_box("Error Thermometer 2:\n\nTemp.High must be greater then Temp.low",
                    MessageIcon::error);
    EXPECT_TRUE(requests(7).empty());
    // The user's values stay in the controls and the record.
    EXPECT_EQ(alarm_settings.t2_high.whole, 10);
    EXPECT_EQ(view().control(IDC_T2_LOW_SPIN).updown_pos, 10);
}

TEST_F(RunningWindow, FailedSaveShowsTheCommunicationError) {
    sim().scenario().modules[0].faults.push_back(fault(sim::FaultKind::wrong_ack, 7));
    view().set_updown_position(IDC_BATTERY_THRESHOLD_SPIN, 33);
    view().click(IDC_SAVE);
    expect_only_communication_error();
    EXPECT_EQ(requests(7).size(), 1u);
    EXPECT_EQ(alarm_settings.battery_threshold, 33);
}

TEST_F(RunningWindow, ListChangeStoresTheWholePanelWithoutSending) {
    view().set_updown_position(IDC_T2_LOW_SPIN, -12);
    view().choose(IDC_MODE_IN2, 1);
    EXPECT_EQ(alarm_settings.input_modes, 0xF3);
    EXPECT_EQ(alarm_settings.t2_low.negative, 1);
    EXPECT_EQ(alarm_settings.t2_low.whole, 12);
    EXPECT_TRUE(sim().journal().empty());

    // Other notifications of the lists store nothing.
    view().set_updown_position(IDC_T2_LOW_SPIN, -20);
    view().command(IDC_MODE_IN1, 7);
    EXPECT_EQ(alarm_settings.t2_low.whole, 12);
}

TEST_F(RunningWindow, LanguageSwitchRelabelsAndKeepsSelections) {
    view().choose(IDC_MODE_PIN2, 1);
    view().click(IDM_GERMAN);
    EXPECT_EQ(ui_language, 2);
    EXPECT_EQ(view().text(IDC_SAVE), "Speichern");
    EXPECT_EQ(view().item_text(IDC_MODE_IN1, 1), "Aktiv beim Öffnen");
    EXPECT_EQ(view().selected_item(IDC_MODE_IN1), 1);
    EXPECT_EQ(view().selected_item(IDC_MODE_IN2), 0);
    EXPECT_EQ(view().selected_item(IDC_MODE_PIN2), 1);
    EXPECT_EQ(view().text(IDC_STATUS_LINE).rfind("GSM: bereit", 0), 0u);
    EXPECT_EQ(settings_bytes(), "\x01");  // written only at the end
    EXPECT_TRUE(sim().journal().empty());

    view().click(IDM_POLISH);
    EXPECT_EQ(ui_language, 0);
    EXPECT_TRUE(view().menu(IDM_POLISH).checked);
    EXPECT_FALSE(view().menu(IDM_GERMAN).checked);
    view().press_close_box();
    EXPECT_EQ(settings_bytes(), std::string("\x00", 1));
}

TEST_F(RunningWindow, ResetShowsItsMessage) {
    struct Case {
        int language_item;
        const char* text;
    };
    const Case cases[] = {
        {IDM_POLISH, "Reset urządzenia"},
        {IDM_ENGLISH, "Device reset"},
        {IDM_GERMAN, "Geräte-Reset"},
    };
    for (const Case& c : cases) {
        view().click(c.language_item);
        view().clear_messages();
        view().click(IDM_RESET);
        expect_only_box(c.text, MessageIcon::information);
    }
    EXPECT_EQ(module().resets, 3u);
    EXPECT_EQ(shell.jobs, std::vector<WorkerJob>(3, JOB_RESET_DEVICE));

    view().click(IDM_ENGLISH);
    view().clear_messages();
    fail_next(15);
    view().click(IDM_RESET);
    expect_only_communication_error();
}

TEST_F(RunningWindow, OptionsEntriesReadFirstThenOpenTheirDialog) {
    struct Case {
        int command;
        WorkerJob job;
        int read_command;
        int dialog;
    };
    const Case cases[] = {
        {IDM_PIN_PUK, JOB_READ_PIN_PUK, 9, IDD_PIN_PUK},
        {IDM_ACTIONS, JOB_READ_ACTIONS, 11, IDD_ACTIONS},
        {IDM_PHONE_NUMBERS, JOB_READ_PHONE_NUMBERS, 18, IDD_PHONE_NUMBERS},
        {IDM_IO_NAMES, JOB_READ_IO_NAMES, 24, IDD_IO_NAMES},
        {IDM_CALL_ANSWER, JOB_READ_CALL_ANSWER, 22, IDD_CALL_ANSWER},
        {IDM_AUTO_STATUS, JOB_READ_AUTO_STATUS, 26, IDD_AUTO_STATUS},
        {IDM_AUTO_RESET, JOB_READ_AUTO_RESET, 20, IDD_AUTO_RESET},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        shell.jobs.clear();
        opened.clear();
        view().clear_messages();
        view().click(c.command);
        EXPECT_EQ(shell.jobs, std::vector<WorkerJob>{c.job});
        EXPECT_EQ(opened, std::vector<int>{c.dialog});
        EXPECT_EQ(view().dialogs_run().back(), c.dialog);
        EXPECT_TRUE(view().messages().empty());

        // A failed read shows the error and opens nothing.
        opened.clear();
        const std::size_t runs = view().dialogs_run().size();
        fail_next(c.read_command);
        view().click(c.command);
        expect_only_communication_error();
        EXPECT_TRUE(opened.empty());
        EXPECT_EQ(view().dialogs_run().size(), runs);
        sim().scenario().modules[0].faults.clear();
    }
}

TEST_F(RunningWindow, OptionsWithoutADialogOpenNothing) {
    factory_returns_null = true;
    view().click(IDM_AUTO_RESET);
    EXPECT_EQ(factory_calls, std::vector<int>{IDD_AUTO_RESET});
    EXPECT_TRUE(view().dialogs_run().empty());
    EXPECT_TRUE(view().messages().empty());
}

TEST_F(RunningWindow, AboutOpensWithoutTalkingToTheModule) {
    std::string about_title;
    view().on_run_dialog([&](int, DialogLogic& logic) {
        FakeDialogView about(IDD_ABOUT, &logic);
        about.init();
        about_title = about.title();
    });
    view().click(IDM_ABOUT);
    EXPECT_EQ(view().dialogs_run(), std::vector<int>{IDD_ABOUT});
    EXPECT_EQ(about_title, "About");
    EXPECT_TRUE(shell.jobs.empty());
    EXPECT_TRUE(sim().journal().empty());
}

TEST_F(RunningWindow, EscapeAndUnknownCommandsDoNothing) {
    const std::string line = view().text(IDC_STATUS_LINE);
    for (int id : {2, 1, 0, 40005, 40043, 40055, 9999}) view().command(id, 0);
    EXPECT_FALSE(view().is_closed());
    EXPECT_TRUE(view().messages().empty());
    EXPECT_TRUE(view().dialogs_run().empty());
    EXPECT_TRUE(shell.jobs.empty());
    EXPECT_TRUE(sim().journal().empty());
    EXPECT_EQ(view().text(IDC_STATUS_LINE), line);
}

TEST_F(RunningWindow, CloseClosesTheModuleAndStoresTheLanguage) {
    view().click(IDM_GERMAN);
    ASSERT_EQ(sim().open_handles(), 1);
    view().press_close_box();
    EXPECT_TRUE(view().is_closed());
    EXPECT_EQ(view().close_result(), 0);
    EXPECT_EQ(sim().open_handles(), 0);
    EXPECT_EQ(device_handle, nullptr);
    EXPECT_EQ(settings_bytes(), "\x02");
}

TEST_F(RunningWindow, CloseEndsEvenWhenTheFileCannotBeWritten) {
    std::filesystem::remove(settings_path);
    std::filesystem::create_directory(settings_path);
    view().press_close_box();
    EXPECT_TRUE(view().is_closed());
    EXPECT_TRUE(view().messages().empty());
    EXPECT_EQ(sim().open_handles(), 0);
}

}  // namespace
}  // namespace zavi
