#include "dialogs/actions_dialog.h"

#include <gtest/gtest.h>

#include <array>

#include "link/config_commands.h"
#include "resources/ids.h"
#include "tests/dialogs/dialog_fixture.h"

namespace zavi::test {
namespace {

constexpr const ActionRow (&kRows)[9] = kActionRows;

class ActionsTest : public DialogTest {
  protected:
    void open_with(const std::array<uint8_t, 9>& table) {
        state().actions = table;
        open(IDD_ACTIONS, dialog, read_actions);
    }
    ActionsDialog dialog;
};

// Each row shows its own byte, and an unchanged Save sends the table back byte for byte,
// the hidden bits 7-6 included.
TEST_F(ActionsTest, ShowsEachRowAndSendsItBackUnchanged) {
    struct Expect {
        bool sms, clip;
        int out1, out2;
    };
    const std::array<uint8_t, 9> table = {0x3F, 0xC0, 0x09, 0x24, 0x16, 0xFF, 0x00, 0x12, 0x8E};
    const Expect expect[9] = {
        {true, true, 3, 3},   {false, false, 0, 0}, {false, false, 2, 1},
        {true, false, 1, 0},  {false, true, 1, 2},  {true, true, 3, 3},
        {false, false, 0, 0}, {false, true, 0, 2},  {false, false, 3, 2},
    };
    open_with(table);
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(view().checked(kRows[i].sms), expect[i].sms);
        EXPECT_EQ(view().checked(kRows[i].clip), expect[i].clip);
        EXPECT_EQ(view().selected_item(kRows[i].out1), expect[i].out1);
        EXPECT_EQ(view().selected_item(kRows[i].out2), expect[i].out2);
    }
    view().click(IDC_ACTIONS_SAVE);
    EXPECT_TRUE(view().is_closed());
    EXPECT_TRUE(view().messages().empty());
    EXPECT_EQ(sent(12), (std::vector<Bytes>{Bytes(table.begin(), table.end())}));
    EXPECT_EQ(state().actions, table);
}

TEST_F(ActionsTest, SaveStoresEachRowsControls) {
    open_with({0xC0, 0x00, 0x80, 0x3F, 0x40, 0x3F, 0x00, 0x00, 0x00});
    view().toggle(kRows[0].sms);  // 0xC0 + SMS -> 0xE0
    view().choose(kRows[1].out1, 2);
    view().choose(kRows[1].out2, 1);  // OUT-1 OFF, OUT-2 ON -> 0x09
    view().choose(kRows[2].out1, 2);
    view().choose(kRows[2].out2, 1);  // the same on 0x80 -> 0x89
    view().toggle(kRows[3].sms);
    view().toggle(kRows[3].clip);
    view().choose(kRows[3].out1, 0);
    view().choose(kRows[3].out2, 0);  // everything off -> 0x00
    view().toggle(kRows[4].clip);
    view().choose(kRows[4].out2, 3);        // 0x40 + CLIP + OUT-2 ON-2s -> 0x53
    view().select_item(kRows[5].out1, -1);  // no selection stores "none": 0x33
    view().toggle(kRows[8].sms);
    view().choose(kRows[8].out1, 1);  // last row: SMS + OUT-1 ON -> 0x24
    view().click(IDC_ACTIONS_SAVE);
    const Bytes expected = {0xE0, 0x09, 0x89, 0x00, 0x53, 0x33, 0x00, 0x00, 0x24};
    EXPECT_EQ(sent(12), (std::vector<Bytes>{expected}));
    EXPECT_EQ(Bytes(action_table.entry, action_table.entry + 9), expected);
}

// A language byte the program does not know shows German with every item, so an item's index
// is still its code.
TEST_F(ActionsTest, TextsFollowTheLanguage) {
    struct Case {
        uint8_t language;
        const char *none, *title, *save, *cancel;
    };
    const Case cases[] = {
        {0, "Brak", "Procedury alarmowe", "Zapisz", "Anuluj"},
        {1, "None", "Emergency procedures", "Save", "Cancel"},
        {2, "None", "Alarmprozeduren", "Speichern", "Abbrechen"},
        {9, "None", "Alarmprozeduren", "Speichern", "Abbrechen"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.language));
        ui_language = c.language;
        ActionsDialog fresh;
        open(IDD_ACTIONS, fresh, read_actions);
        for (const ActionRow& row : kRows) {
            EXPECT_EQ(items(row.out1),
                      (std::vector<std::string>{c.none, "OUT-1 ON", "OUT-1 OFF", "OUT-1 ON-2s"}));
            EXPECT_EQ(items(row.out2),
                      (std::vector<std::string>{c.none, "OUT-2 ON", "OUT-2 OFF", "OUT-2 ON-2s"}));
        }
        EXPECT_EQ(view().title(), c.title);
        EXPECT_EQ(view().text(IDC_ACTIONS_SAVE), c.save);
        EXPECT_EQ(view().text(IDC_ACTIONS_CANCEL), c.cancel);
    }
}

}  // namespace
}  // namespace zavi::test
