// Answer for Call, Auto-Status and Auto-Reset.
#include <gtest/gtest.h>

#include "dialogs/auto_reset_dialog.h"
#include "dialogs/auto_status_dialog.h"
#include "dialogs/call_answer_dialog.h"
#include "link/config_commands.h"
#include "resources/ids.h"
#include "tests/dialogs/dialog_fixture.h"

namespace zavi::test {
namespace {

using SmallDialogTest = DialogTest;

// What the module holds, what the dialog shows, and what an unchanged Save sends back.
TEST_F(SmallDialogTest, CallAnswerShowsAndSendsBackWhatItCanShow) {
    struct Case {
        uint8_t sms, reactions;
        bool checked;
        int out1, out2;
        Bytes sent;
    };
    const Case cases[] = {
        {0, 0x21, false, 1, 2, {0, 0x21}},   {1, 0x21, true, 1, 2, {1, 0x21}},
        {7, 0x12, true, 2, 1, {1, 0x12}},   // any non-zero sms goes back as 1
        {0, 0x35, false, 0, 0, {0, 0x00}},  // both nibbles out of range
        {0x80, 0x03, true, 0, 0, {1, 0x00}}, {0, 0x20, false, 0, 2, {0, 0x20}},
        {0, 0xF2, false, 2, 0, {0, 0x02}},  // only the high nibble out of range
        {0, 0x52, false, 2, 0, {0, 0x02}},  // out of range, not cut to two bits
        {1, 0x15, true, 0, 1, {1, 0x10}},    {0, 0x00, false, 0, 0, {0, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.sms) << " " << int(c.reactions));
        state().call_answer_sms = c.sms;
        state().call_answer_reactions = c.reactions;
        CallAnswerDialog dialog;
        open(IDD_CALL_ANSWER, dialog, read_call_answer);
        EXPECT_EQ(view().checked(IDC_CALL_SMS), c.checked);
        EXPECT_EQ(view().selected_item(IDC_CALL_OUT1), c.out1);
        EXPECT_EQ(view().selected_item(IDC_CALL_OUT2), c.out2);
        view().click(IDC_CALL_SAVE);
        EXPECT_EQ(sent(23), std::vector<Bytes>{c.sent});
        EXPECT_TRUE(view().is_closed());
    }
}

TEST_F(SmallDialogTest, CallAnswerStoresTheChosenReactions) {
    CallAnswerDialog dialog;
    open(IDD_CALL_ANSWER, dialog, read_call_answer);
    view().toggle(IDC_CALL_SMS);
    view().choose(IDC_CALL_OUT1, 2);
    view().choose(IDC_CALL_OUT2, 1);
    view().click(IDC_CALL_SAVE);
    EXPECT_EQ(sent(23), (std::vector<Bytes>{{1, 0x12}}));
    EXPECT_EQ(state().call_answer_sms, 1);
    EXPECT_EQ(state().call_answer_reactions, 0x12);
}

TEST_F(SmallDialogTest, AutoStatusShowsAndSendsBackWhatItCanShow) {
    struct Case {
        uint8_t value;
        bool sms, clip;
        int period;
        uint8_t sent;
    };
    const Case cases[] = {
        {0xC3, true, true, 3, 0xC3},   {0x33, false, false, 3, 0x03},  // bits 5-4 are dropped
        {0x09, false, false, 0, 0x00},                                 // period 9 is out of range
        {0x85, true, false, 5, 0x85},  {0x7F, false, true, 0, 0x40},
        {0x06, false, false, 0, 0x00}, {0x00, false, false, 0, 0x00},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.value));
        state().auto_status = c.value;
        AutoStatusDialog dialog;
        open(IDD_AUTO_STATUS, dialog, read_auto_status);
        EXPECT_EQ(view().checked(IDC_AUTO_STATUS_SMS), c.sms);
        EXPECT_EQ(view().checked(IDC_AUTO_STATUS_CLIP), c.clip);
        EXPECT_EQ(view().selected_item(IDC_AUTO_STATUS_PERIOD), c.period);
        view().click(IDC_AUTO_STATUS_SAVE);
        EXPECT_EQ(sent(27), (std::vector<Bytes>{{c.sent}}));
        EXPECT_TRUE(view().is_closed());
    }
}

TEST_F(SmallDialogTest, AutoStatusStoresBoxesAndPeriod) {
    state().auto_status = 0x41;
    AutoStatusDialog dialog;
    open(IDD_AUTO_STATUS, dialog, read_auto_status);
    EXPECT_EQ(view().item_text(IDC_AUTO_STATUS_PERIOD, 1), "1 day");
    view().toggle(IDC_AUTO_STATUS_SMS);
    view().toggle(IDC_AUTO_STATUS_CLIP);
    view().choose(IDC_AUTO_STATUS_PERIOD, 4);
    view().click(IDC_AUTO_STATUS_SAVE);
    EXPECT_EQ(sent(27), (std::vector<Bytes>{{0x84}}));
    EXPECT_EQ(state().auto_status, 0x84);
}

TEST_F(SmallDialogTest, AutoResetShowsAndSendsBackWhatItCanShow) {
    const struct {
        uint8_t value;
        int shown;
        const char* text;
    } cases[] = {
        {5, 5, "5 days"}, {1, 1, "1 day"}, {0, 0, "None"}, {6, 0, "None"}, {0xFF, 0, "None"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.value));
        state().auto_reset = c.value;
        AutoResetDialog dialog;
        open(IDD_AUTO_RESET, dialog, read_auto_reset);
        EXPECT_EQ(view().selected_item(IDC_AUTO_RESET_PERIOD), c.shown);
        EXPECT_EQ(view().item_text(IDC_AUTO_RESET_PERIOD, c.shown), c.text);
        view().click(IDC_AUTO_RESET_SAVE);
        EXPECT_EQ(sent(21), (std::vector<Bytes>{{static_cast<uint8_t>(c.shown)}}));
    }
    AutoResetDialog dialog;
    open(IDD_AUTO_RESET, dialog, read_auto_reset);
    view().choose(IDC_AUTO_RESET_PERIOD, 2);
    view().click(IDC_AUTO_RESET_SAVE);
    EXPECT_EQ(state().auto_reset, 2);
    // The whole request on the wire: "M", 21, L = 2, header CRC, 2, data CRC, end.
    const sim::JournalEntry* frame = last_frame(21);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->wire, (Bytes{0x4D, 0x15, 0x02, 0xAF, 0x02, 0xBC, 0x16}));
}

TEST_F(SmallDialogTest, TextsFollowTheLanguage) {
    struct Case {
        std::vector<std::string> periods, reactions1, reactions2;
        const char *call_title, *label, *save, *cancel;
    };
    const Case cases[] = {
        {{"Brak", "1 dzień", "2 dni", "3 dni", "4 dni", "5 dni"},
         {"Brak", "OUT-1 CH", "OUT-1 ON-2s"},
         {"Brak", "OUT-2 CH", "OUT-2 ON-2s"},
         "Reakcja na wywołanie",
         "Okres wyzwalania",
         "Zapisz",
         "Anuluj"},
        {{"None", "1 day", "2 days", "3 days", "4 days", "5 days"},
         {"None", "OUT-1 CH", "OUT-1 ON-2s"},
         {"None", "OUT-2 CH", "OUT-2 ON-2s"},
         "Answer for Call",
         "Trigger period",
         "Save",
         "Cancel"},
        {{"None", "1 Tag", "2 Tage", "3 Tage", "4 Tage", "5 Tage"},
         {"None", "OUT-1 CH", "OUT-1 ON-2s"},
         {"None", "OUT-2 CH", "OUT-2 ON-2s"},
         "Antwort zum Abrufen",
         "Auslöseintervall",
         "Speichern",
         "Abbrechen"},
    };
    // A language byte the program does not know (3) is shown as German, with every item.
    for (uint8_t language : {0, 1, 2, 3}) {
        const Case& c = cases[language < 2 ? language : 2];
        SCOPED_TRACE(int(language));
        ui_language = language;

        CallAnswerDialog call;
        open(IDD_CALL_ANSWER, call, read_call_answer);
        EXPECT_EQ(items(IDC_CALL_OUT1), c.reactions1);
        EXPECT_EQ(items(IDC_CALL_OUT2), c.reactions2);
        EXPECT_EQ(view().title(), c.call_title);
        EXPECT_EQ(view().text(IDC_CALL_SAVE), c.save);
        EXPECT_EQ(view().text(IDC_CALL_CANCEL), c.cancel);

        AutoStatusDialog status;
        open(IDD_AUTO_STATUS, status, read_auto_status);
        EXPECT_EQ(items(IDC_AUTO_STATUS_PERIOD), c.periods);
        EXPECT_EQ(view().title(), "Auto-Status");
        EXPECT_EQ(view().text(IDC_AUTO_STATUS_LABEL), c.label);
        EXPECT_EQ(view().text(IDC_AUTO_STATUS_SAVE), c.save);
        EXPECT_EQ(view().text(IDC_AUTO_STATUS_CANCEL), c.cancel);

        AutoResetDialog reset;
        open(IDD_AUTO_RESET, reset, read_auto_reset);
        EXPECT_EQ(items(IDC_AUTO_RESET_PERIOD), c.periods);
        EXPECT_EQ(view().title(), "Auto-Reset");
        EXPECT_EQ(view().text(IDC_AUTO_RESET_LABEL), c.label);
        EXPECT_EQ(view().text(IDC_AUTO_RESET_SAVE), c.save);
        EXPECT_EQ(view().text(IDC_AUTO_RESET_CANCEL), c.cancel);
    }
}

// With a language byte the program does not know, list indices still are the codes.
TEST_F(SmallDialogTest, UnknownLanguageStillSendsTheShownCode) {
    ui_language = 7;
    state().auto_reset = 2;
    AutoResetDialog reset;
    open(IDD_AUTO_RESET, reset, read_auto_reset);
    EXPECT_EQ(view().item_text(IDC_AUTO_RESET_PERIOD, view().selected_item(IDC_AUTO_RESET_PERIOD)),
              "2 Tage");
    view().choose(IDC_AUTO_RESET_PERIOD, 3);
    view().click(IDC_AUTO_RESET_SAVE);
    EXPECT_EQ(sent(21), (std::vector<Bytes>{{3}}));
}

}  // namespace
}  // namespace zavi::test
