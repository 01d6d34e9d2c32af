// What the five record dialogs share: Cancel, the close box and Escape write nothing, and a
// failed write keeps the dialog open with the communication error until a Save succeeds.
#include <gtest/gtest.h>

#include "dialogs/actions_dialog.h"
#include "dialogs/auto_reset_dialog.h"
#include "dialogs/auto_status_dialog.h"
#include "dialogs/call_answer_dialog.h"
#include "dialogs/pin_puk_dialog.h"
#include "link/config_commands.h"
#include "resources/ids.h"
#include "tests/dialogs/dialog_fixture.h"

namespace zavi::test {
namespace {

struct RecordDialog {
    const char* name;
    int template_id;
    std::unique_ptr<DialogLogic> (*make)();
    LinkResult (*read)(DriverHandle);
    uint8_t write_command;
    int save, cancel;
    void (*edit)(FakeDialogView&);  // a change a user makes
    Bytes (*record)();
};

template <typename T>
std::unique_ptr<DialogLogic> make() {
    return std::make_unique<T>();
}

const RecordDialog kDialogs[] = {
    {"actions", IDD_ACTIONS, make<ActionsDialog>, read_actions, 12, IDC_ACTIONS_SAVE,
     IDC_ACTIONS_CANCEL, [](FakeDialogView& v) { v.toggle(IDC_ACT3_CLIP); },
     [] { return Bytes(action_table.entry, action_table.entry + 9); }},
    {"answer for call", IDD_CALL_ANSWER, make<CallAnswerDialog>, read_call_answer, 23,
     IDC_CALL_SAVE, IDC_CALL_CANCEL, [](FakeDialogView& v) { v.choose(IDC_CALL_OUT2, 2); },
     [] {
         return Bytes{call_answer.sms, call_answer.reactions};
     }},
    {"auto-status", IDD_AUTO_STATUS, make<AutoStatusDialog>, read_auto_status, 27,
     IDC_AUTO_STATUS_SAVE, IDC_AUTO_STATUS_CANCEL,
     [](FakeDialogView& v) { v.choose(IDC_AUTO_STATUS_PERIOD, 2); },
     [] { return Bytes{auto_status.value}; }},
    {"auto-reset", IDD_AUTO_RESET, make<AutoResetDialog>, read_auto_reset, 21, IDC_AUTO_RESET_SAVE,
     IDC_AUTO_RESET_CANCEL, [](FakeDialogView& v) { v.choose(IDC_AUTO_RESET_PERIOD, 2); },
     [] { return Bytes{auto_reset.period}; }},
    {"pin and puk", IDD_PIN_PUK, make<PinPukDialog>, read_sim_codes, 10, IDC_PIN_PUK_SAVE,
     IDC_PIN_PUK_CANCEL, [](FakeDialogView& v) { v.type(IDC_PIN_EDIT, "1234"); },
     [] {
         const uint16_t pin = sim_codes.pin;
         const uint32_t puk = sim_codes.puk;
         return Bytes{uint8_t(pin >> 8),  uint8_t(pin),      uint8_t(puk >> 24),
                      uint8_t(puk >> 16), uint8_t(puk >> 8), uint8_t(puk)};
     }},
};

using RecordDialogTest = DialogTest;

TEST_F(RecordDialogTest, CancelCloseBoxAndEscapeWriteNothing) {
    for (const RecordDialog& d : kDialogs) {
        for (int way = 0; way < 3; ++way) {
            SCOPED_TRACE(testing::Message() << d.name << " " << way);
            auto dialog = d.make();
            open(d.template_id, *dialog, d.read);
            const Bytes before = d.record();
            d.edit(view());
            if (way == 0) view().click(d.cancel);
            if (way == 1) view().press_close_box();
            if (way == 2) view().press_escape();
            EXPECT_EQ(view().is_closed(), way != 2);  // Escape does nothing at all
            EXPECT_TRUE(commands_received().empty());
            EXPECT_EQ(d.record(), before);
            EXPECT_TRUE(view().messages().empty());
        }
    }
}

TEST_F(RecordDialogTest, FailedWriteKeepsTheDialogOpen) {
    const sim::FaultKind faults[] = {sim::FaultKind::no_answer, sim::FaultKind::wrong_ack,
                                     sim::FaultKind::short_ack, sim::FaultKind::no_answer,
                                     sim::FaultKind::wrong_ack};
    for (std::size_t i = 0; i < std::size(kDialogs); ++i) {
        const RecordDialog& d = kDialogs[i];
        SCOPED_TRACE(d.name);
        auto dialog = d.make();
        open(d.template_id, *dialog, d.read);
        const Bytes before = d.record();
        add_fault(faults[i], d.write_command, -1, 0, 1);
        d.edit(view());
        view().click(d.save);
        expect_only_error_box("Communication error - try again");
        EXPECT_FALSE(view().is_closed());
        EXPECT_NE(d.record(), before);  // the record holds the user's choice

        view().clear_messages();
        view().click(d.save);
        EXPECT_TRUE(view().messages().empty());
        EXPECT_TRUE(view().is_closed());
        EXPECT_EQ(frames(d.write_command).size(), 2u);
    }
}

}  // namespace
}  // namespace zavi::test
