// The factory the program hands to the main window, and the Options entries that use it.
#include "dialogs/options_dialogs.h"

#include <gtest/gtest.h>

#include <functional>

#include "dialogs/actions_dialog.h"
#include "dialogs/auto_reset_dialog.h"
#include "dialogs/auto_status_dialog.h"
#include "dialogs/call_answer_dialog.h"
#include "dialogs/io_names_dialog.h"
#include "dialogs/phone_numbers_dialog.h"
#include "dialogs/pin_puk_dialog.h"
#include "link/records.h"
#include "resources/ids.h"
#include "tests/support/main_window_fixture.h"
#include "ui/ui_language.h"

namespace zavi::test {
namespace {

template <typename T>
bool makes(int template_id) {
    std::unique_ptr<DialogLogic> logic = make_options_dialog(template_id);
    return dynamic_cast<T*>(logic.get()) != nullptr;
}

TEST(OptionsDialogFactory, EachTemplateGetsItsLogic) {
    EXPECT_TRUE(makes<PinPukDialog>(IDD_PIN_PUK));
    EXPECT_TRUE(makes<ActionsDialog>(IDD_ACTIONS));
    EXPECT_TRUE(makes<CallAnswerDialog>(IDD_CALL_ANSWER));
    EXPECT_TRUE(makes<AutoStatusDialog>(IDD_AUTO_STATUS));
    EXPECT_TRUE(makes<AutoResetDialog>(IDD_AUTO_RESET));
    EXPECT_TRUE(makes<PhoneNumbersDialog>(IDD_PHONE_NUMBERS));
    EXPECT_TRUE(makes<IoNamesDialog>(IDD_IO_NAMES));
    for (int other : {0, IDD_MAIN, IDD_ABOUT, IDD_PROGRESS, IDD_ADD_NUMBER}) {
        EXPECT_EQ(make_options_dialog(other), nullptr) << other;
    }
}

// The real dialogs behind the menu: each opens only after its read, shows what was read, and
// its Save reaches the module.
class OptionsMenu : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        dialog_factory = make_options_dialog;
        sim::Scenario s;
        sim::ModuleState& m = s.modules[0].state;
        m.pin = 0x2468;
        m.actions[8] = 0x24;
        m.call_answer_reactions = 0x21;
        m.auto_status = 0xC3;
        m.auto_reset = 4;
        start(s);
        ASSERT_FALSE(view().is_closed());
        ui_language = kEnglish;
    }

    // Clicks `menu`; the dialog it opens is checked and used by `user`.
    void use(int menu, std::function<void(FakeDialogView&)> user) {
        view().on_run_dialog([user](int id, DialogLogic& logic) {
            FakeDialogView child(id, &logic);
            child.init();
            user(child);
            EXPECT_TRUE(child.is_closed());
        });
        view().click(menu);
    }
    sim::ModuleState& module() { return sim().state(0); }
};

TEST_F(OptionsMenu, EachEntryOpensItsDialogOnFreshlyReadRecords) {
    use(IDM_PIN_PUK, [](FakeDialogView& d) {
        EXPECT_EQ(d.text(IDC_PIN_EDIT), "2468");
        d.type(IDC_PUK_EDIT, "13572468");
        d.click(IDC_PIN_PUK_SAVE);
    });
    EXPECT_EQ(module().puk, 0x13572468u);

    use(IDM_ACTIONS, [](FakeDialogView& d) {
        EXPECT_TRUE(d.checked(IDC_ACT8_SMS));
        EXPECT_EQ(d.selected_item(IDC_ACT8_OUT1), 1);
        d.toggle(IDC_ACT0_CLIP);
        d.click(IDC_ACTIONS_SAVE);
    });
    EXPECT_EQ(module().actions[0], 0x10);
    EXPECT_EQ(module().actions[8], 0x24);

    use(IDM_CALL_ANSWER, [](FakeDialogView& d) {
        EXPECT_EQ(d.selected_item(IDC_CALL_OUT2), 2);
        d.toggle(IDC_CALL_SMS);
        d.click(IDC_CALL_SAVE);
    });
    EXPECT_EQ(module().call_answer_sms, 1);
    EXPECT_EQ(module().call_answer_reactions, 0x21);

    use(IDM_AUTO_STATUS, [](FakeDialogView& d) {
        EXPECT_EQ(d.selected_item(IDC_AUTO_STATUS_PERIOD), 3);
        d.toggle(IDC_AUTO_STATUS_CLIP);
        d.click(IDC_AUTO_STATUS_SAVE);
    });
    EXPECT_EQ(module().auto_status, 0x83);

    use(IDM_AUTO_RESET, [](FakeDialogView& d) {
        EXPECT_EQ(d.selected_item(IDC_AUTO_RESET_PERIOD), 4);
        d.choose(IDC_AUTO_RESET_PERIOD, 1);
        d.click(IDC_AUTO_RESET_SAVE);
    });
    EXPECT_EQ(module().auto_reset, 1);

    EXPECT_TRUE(view().messages().empty());
    EXPECT_EQ(view().dialogs_run(), (std::vector<int>{IDD_PIN_PUK, IDD_ACTIONS, IDD_CALL_ANSWER,
                                                      IDD_AUTO_STATUS, IDD_AUTO_RESET}));
}

TEST_F(OptionsMenu, FailedReadOpensNoDialog) {
    const struct {
        int menu, read_command;
    } cases[] = {{IDM_PIN_PUK, 9},
                 {IDM_ACTIONS, 11},
                 {IDM_CALL_ANSWER, 22},
                 {IDM_AUTO_STATUS, 26},
                 {IDM_AUTO_RESET, 20}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.menu);
        view().clear_messages();
        sim::Fault f;
        f.kind = sim::FaultKind::bad_data_crc;
        f.command = c.read_command;
        f.times = 1;
        sim().scenario().modules[0].faults.push_back(f);
        use(c.menu, [](FakeDialogView&) { ADD_FAILURE() << "dialog opened"; });
        expect_only_box("Communication error - try again", MessageIcon::error);
    }
    EXPECT_TRUE(view().dialogs_run().empty());
    EXPECT_EQ(sim_codes.pin, 0u);  // nothing read into the records
    EXPECT_EQ(auto_reset.period, 0);
}

}  // namespace
}  // namespace zavi::test
