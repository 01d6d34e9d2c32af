// The Telephone Numbers and IO Name entries of the Options menu open the real dialogs, and only
// after their read job succeeded.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/language.h"
#include "app/main_window.h"
#include "dialogs/options_dialogs.h"
#include "link/connection.h"
#include "link/records.h"
#include "resources/ids.h"
#include "sim/simulator.h"
#include "tests/support/fake_shell.h"
#include "tests/support/temp_dir.h"
#include "ui/fake_dialog_view.h"

namespace zavi {
namespace {

class OptionsMenu : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_language_ = ui_language;
        reset_all_records();
        device_handle = nullptr;
        sim::Scenario scenario;
        sim::ModuleState& s = scenario.modules[0].state;
        s.accept_all = 1;
        s.emergency_numbers = {{0x49, 0x12, 0x34, 0x44, 0x65, 0x70, 0xFF}};
        for (uint8_t i = 0; i < 40; ++i)
            s.accepted_numbers.push_back({0x48, 0x60, i, 0x12, 0x34, 0x5F, 0xFF});
        s.io_names[2] = "Door open";
        s.io_names[11] = "Siren off";
        sim_ = std::make_unique<sim::SimDriver>(scenario);
        set_driver(sim_.get());
        window_ = std::make_unique<MainWindow>(shell_, make_options_dialog,
                                               dir_.file("config.db").c_str());
        view_ = std::make_unique<FakeDialogView>(window_.get());
        view_->init();
        ASSERT_NE(device_handle, nullptr);
        view_->on_run_dialog([this](int id, DialogLogic& logic) {
            FakeDialogView dialog(&logic);
            dialog.init();
            shown.push_back({id, dialog.title(), dialog.control(IDC_RECEIVED_LIST).items,
                             dialog.text(IDC_IO_NAME_SLOT2)});
            dialog.press_close_box();
        });
    }
    void TearDown() override {
        view_.reset();
        window_.reset();
        set_driver(nullptr);
        sim_.reset();
        device_handle = nullptr;
        reset_all_records();
        ui_language = saved_language_;
    }
    void fail_reads_of(int command) {
        sim::Fault f;
        f.kind = sim::FaultKind::no_answer;
        f.command = command;
        f.sub_index = command == 16 || command == 24 ? 1 : -1;  // a later block or half
        sim_->scenario().modules[0].faults = {f};
    }

    struct Shown {
        int id;
        std::string title;
        std::vector<std::string> received;
        std::string slot2;
    };
    std::vector<Shown> shown;
    FakeDialogView& view() { return *view_; }
    test::FakeShell shell_;

  private:
    test::TempDir dir_;
    uint8_t saved_language_ = kEnglish;
    std::unique_ptr<sim::SimDriver> sim_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<FakeDialogView> view_;

  protected:
    sim::SimDriver& sim() { return *sim_; }
};

TEST_F(OptionsMenu, DialogsOpenWithWhatTheirJobRead) {
    view().click(IDM_PHONE_NUMBERS);
    view().click(IDM_IO_NAMES);
    EXPECT_EQ(shell_.jobs, (std::vector<WorkerJob>{JOB_READ_PHONE_NUMBERS, JOB_READ_IO_NAMES}));
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].id, IDD_PHONE_NUMBERS);
    EXPECT_EQ(shown[0].title, "Telephone Numbers");
    ASSERT_EQ(shown[0].received.size(), 40u);
    EXPECT_EQ(shown[0].received[39], "+48602712345");
    EXPECT_EQ(shown[1].id, IDD_IO_NAMES);
    EXPECT_EQ(shown[1].title, "Names for I/O states");
    EXPECT_EQ(shown[1].slot2, "Door open");
    EXPECT_TRUE(view().messages().empty());
}

TEST_F(OptionsMenu, AFailedReadOpensNothing) {
    const struct {
        int menu, failing_command;
    } cases[] = {
        {IDM_PHONE_NUMBERS, 18},
        {IDM_PHONE_NUMBERS, 13},
        {IDM_PHONE_NUMBERS, 16},  // block 1, after a full block 0
        {IDM_IO_NAMES, 24},       // half 1, after half 0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failing_command);
        view().clear_messages();
        fail_reads_of(c.failing_command);
        view().click(c.menu);
        EXPECT_TRUE(shown.empty());
        EXPECT_TRUE(view().dialogs_run().empty());
        ASSERT_EQ(view().messages().size(), 1u);
        EXPECT_EQ(view().messages()[0].text, "Communication error - try again");
    }
    EXPECT_EQ(accepted_count, 0);  // a failed block leaves no numbers behind
}

}  // namespace
}  // namespace zavi
