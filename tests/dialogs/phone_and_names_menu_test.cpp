// The Telephone Numbers and IO Name entries of the Options menu open the real dialogs, and only
// after their read job succeeded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/options_dialogs.h"
#include "link/records.h"
#include "resources/ids.h"
#include "tests/support/main_window_fixture.h"
#include "ui/ui_language.h"

namespace zavi::test {
namespace {

class PhoneAndNamesMenu : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        dialog_factory = make_options_dialog;
        sim::Scenario s;
        sim::ModuleState& m = s.modules[0].state;
        m.accept_all = 1;
        m.emergency_numbers = {{0x49, 0x12, 0x34, 0x44, 0x65, 0x70, 0xFF}};
        for (uint8_t i = 0; i < 40; ++i)
            m.accepted_numbers.push_back({0x48, 0x60, i, 0x12, 0x34, 0x5F, 0xFF});
        m.io_names[2] = "Door open";
        start(s);
        ASSERT_FALSE(view().is_closed());
        ui_language = kEnglish;
        view().on_run_dialog([this](int id, DialogLogic& logic) {
            FakeDialogView dialog(id, &logic);
            dialog.init();
            // Each template has only its own controls: the list of one, the edit of the other.
            const bool phone = id == IDD_PHONE_NUMBERS;
            shown.push_back(
                {id, dialog.title(),
                 phone ? dialog.control(IDC_RECEIVED_LIST).items : std::vector<std::string>{},
                 phone ? std::string() : dialog.text(IDC_IO_NAME_SLOT2)});
            dialog.press_close_box();
        });
    }
    void fail_reads_of(int command) {
        sim::Fault f;
        f.kind = sim::FaultKind::no_answer;
        f.command = command;
        f.sub_index = command == 16 || command == 24 ? 1 : -1;  // a later block or half
        sim().scenario().modules[0].faults = {f};
    }

    struct Shown {
        int id;
        std::string title;
        std::vector<std::string> received;
        std::string slot2;
    };
    std::vector<Shown> shown;
};

// The dialog the menu opens imports and exports through the chooser the window was given.
TEST_F(PhoneAndNamesMenu, ImportAndExportAskTheWindowsChooser) {
    view().on_run_dialog([](int id, DialogLogic& logic) {
        FakeDialogView dialog(id, &logic);
        dialog.init();
        dialog.set_checked(IDC_RECEIVED_ALL, false);  // Import is greyed while all are accepted
        dialog.click(IDC_RECEIVED_ALL);
        dialog.click(IDC_RECEIVED_IMPORT);
        dialog.click(IDC_RECEIVED_EXPORT);
        dialog.press_close_box();
    });
    view().click(IDM_PHONE_NUMBERS);
    ASSERT_EQ(shell.file_requests.size(), 2u);
    EXPECT_EQ(shell.file_requests[0].kind, FileKind::numbers_csv);
    EXPECT_FALSE(shell.file_requests[0].save);
    EXPECT_EQ(shell.file_requests[1].kind, FileKind::numbers_csv);
    EXPECT_TRUE(shell.file_requests[1].save);
}

TEST_F(PhoneAndNamesMenu, DialogsOpenWithWhatTheirJobRead) {
    view().click(IDM_PHONE_NUMBERS);
    view().click(IDM_IO_NAMES);
    EXPECT_EQ(shell.jobs, (std::vector<WorkerJob>{JOB_READ_PHONE_NUMBERS, JOB_READ_IO_NAMES}));
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

TEST_F(PhoneAndNamesMenu, AFailedReadOpensNothing) {
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
        expect_only_box("Communication error - try again", MessageIcon::error);
    }
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(view().dialogs_run().empty());
    EXPECT_EQ(accepted_count, 0);  // a failed block leaves no numbers behind
}

}  // namespace
}  // namespace zavi::test
