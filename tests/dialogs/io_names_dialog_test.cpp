#include "dialogs/io_names_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "link/io_name_commands.h"
#include "resources/ids.h"
#include "tests/support/sim_fixture.h"
#include "ui/fake_dialog_view.h"
#include "ui/ui_language.h"

namespace zavi {
namespace {

// The data of a command 25 frame: the half, then each name as length and characters.
std::vector<uint8_t> half_data(uint8_t half, const std::vector<std::string>& names) {
    std::vector<uint8_t> out = {half};
    for (const std::string& n : names) {
        out.push_back(static_cast<uint8_t>(n.size()));
        out.insert(out.end(), n.begin(), n.end());
    }
    return out;
}

class NamesDialog : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        saved_language_ = ui_language;
        ui_language = kEnglish;
        for (int i = 0; i < 12; ++i) state().io_names[i] = "name " + std::to_string(i);
    }
    void TearDown() override {
        ui_language = saved_language_;
        SimTest::TearDown();
    }

    // Both halves read as the Options job reads them, then the dialog opens.
    void open() {
        ASSERT_EQ(read_io_names(handle(), 0), LinkResult::ok);
        ASSERT_EQ(read_io_names(handle(), 1), LinkResult::ok);
        sim().clear_journal();
        view.init();
    }

    IoNamesDialog dialog;
    FakeDialogView view{IDD_IO_NAMES, &dialog};

  private:
    uint8_t saved_language_ = kEnglish;
};

TEST_F(NamesDialog, EachSlotHasItsEdit) {
    const int edits[12] = {40002, 40003, 40000, 40001, 40004, 40005,
                           40006, 40007, 40008, 40009, 40010, 40011};
    state().io_names[0] = "IN-1 open";
    state().io_names[7] =
        "Pr\xFC"
        "fung";  // the module's 8-bit text
    open();
    EXPECT_EQ(view.text(40002), "IN-1 open");  // shown as read, hyphen and all
    EXPECT_EQ(view.text(40000), "name 2");
    EXPECT_EQ(view.text(40007), "Prüfung");
    for (int slot = 0; slot < 12; ++slot) {
        EXPECT_EQ(view.control(edits[slot]).filter.kind, EditFilterKind::io_name) << slot;
        EXPECT_EQ(view.control(edits[slot]).limit, 40) << slot;
        if (slot != 0 && slot != 7) {
            EXPECT_EQ(view.text(edits[slot]), "name " + std::to_string(slot)) << slot;
        }
    }

    // Slot 2 goes back out through edit 40000 as well.
    view.set_text(40000, "second input open");
    view.click(IDC_IO_NAMES_SAVE);
    ASSERT_EQ(frames(25).size(), 2u);
    EXPECT_EQ(frames(25)[0].data, half_data(0, {"IN1 open", "name 1", "second input open", "name 3",
                                                "name 4", "name 5"}));
    EXPECT_EQ(state().io_names[7], "Prfung");
}

TEST_F(NamesDialog, SaveCleansAndSendsHalfZeroThenHalfOne) {
    open();
    const std::string forty(40, 'A');
    view.set_text(IDC_IO_NAME_SLOT0, "IN-1 open");
    view.set_text(IDC_IO_NAME_SLOT1, "-./!");
    view.set_text(IDC_IO_NAME_SLOT3, "");
    view.set_text(IDC_IO_NAME_SLOT5, forty);
    view.set_text(IDC_IO_NAME_SLOT6, forty + "BCDE");  // a 44-character name from the module
    view.set_text(IDC_IO_NAME_SLOT8, "Zu\xC5\xA1tand 9");
    view.set_text(IDC_IO_NAME_SLOT11, "\xF0\x9F\x94\x94 Bell");  // outside the 16-bit plane
    view.click(IDC_IO_NAMES_SAVE);

    EXPECT_TRUE(view.is_closed());
    EXPECT_TRUE(view.messages().empty());
    EXPECT_EQ(commands_received(), (std::vector<uint8_t>{25, 25}));
    EXPECT_EQ(frames(25)[0].data, half_data(0, {"IN1 open", "", "name 2", "", "name 4", forty}));
    EXPECT_EQ(frames(25)[1].data,
              half_data(1, {forty, "name 7", "Zutand 9", "name 9", "name 10", " Bell"}));
    EXPECT_STREQ(io_names.name[0], "IN1 open");
    EXPECT_EQ(state().io_names[6], forty);
}

TEST_F(NamesDialog, AFailedHalfKeepsTheDialogOpen) {
    for (int failing_half : {0, 1}) {
        SCOPED_TRACE(failing_half);
        IoNamesDialog fresh;
        FakeDialogView v(IDD_IO_NAMES, &fresh);
        for (int i = 0; i < 12; ++i) state().io_names[i] = "old " + std::to_string(i);
        ASSERT_EQ(read_io_names(handle(), 0), LinkResult::ok);
        ASSERT_EQ(read_io_names(handle(), 1), LinkResult::ok);
        v.init();
        for (int slot = 0; slot < 12; ++slot)
            v.set_text(kIoNameEdits[slot], "new-" + std::to_string(slot));
        sim().clear_journal();
        add_fault(sim::FaultKind::short_ack, 25, failing_half);

        v.click(IDC_IO_NAMES_SAVE);
        EXPECT_FALSE(v.is_closed());
        ASSERT_EQ(v.messages().size(), 1u);
        EXPECT_EQ(v.messages()[0].text, "Communication error - try again");
        // Half 1 goes out only after half 0 was acknowledged.
        ASSERT_EQ(frames(25).size(), failing_half == 0 ? 1u : 2u);
        EXPECT_EQ(frames(25)[0].data[0], 0);
        EXPECT_EQ(frames(25).back().data[0], failing_half);
        EXPECT_EQ(v.text(kIoNameEdits[0]), "new-0");  // the edits keep what was typed
        EXPECT_STREQ(io_names.name[0], "new0");

        sim().scenario().modules[0].faults.clear();
        v.click(IDC_IO_NAMES_SAVE);
        EXPECT_TRUE(v.is_closed());
        EXPECT_EQ(state().io_names[11], "new11");
    }
}

TEST_F(NamesDialog, CancelCloseBoxAndEscapeWriteNothing) {
    open();
    for (int way = 0; way < 3; ++way) {
        IoNamesDialog fresh;
        FakeDialogView v(IDD_IO_NAMES, &fresh);
        v.init();
        v.set_text(IDC_IO_NAME_SLOT0, "changed");
        if (way == 0) v.click(IDC_IO_NAMES_CANCEL);
        if (way == 1) v.press_close_box();
        if (way == 2) v.press_escape();
        EXPECT_EQ(v.is_closed(), way != 2) << way;
    }
    EXPECT_TRUE(sim().journal().empty());
    EXPECT_STREQ(io_names.name[0], "name 0");
}

TEST_F(NamesDialog, TextsByLanguage) {
    const struct {
        uint8_t language;
        const char *title, *save, *cancel;
    } cases[] = {
        {0, "Nazwy dla stanów we./wy.", "Zapisz", "Anuluj"},
        {1, "Names for I/O states", "Save", "Cancel"},
        {2, "Namen für Ein- und Ausgangszustände", "Speichern", "Abbrechen"},
        {200, "Namen für Ein- und Ausgangszustände", "Speichern", "Abbrechen"},
    };
    for (const auto& c : cases) {
        ui_language = c.language;
        IoNamesDialog fresh;
        FakeDialogView v(IDD_IO_NAMES, &fresh);
        v.init();
        EXPECT_EQ(v.title(), c.title) << +c.language;
        EXPECT_EQ(v.text(IDC_IO_NAMES_SAVE), c.save) << +c.language;
        EXPECT_EQ(v.text(IDC_IO_NAMES_CANCEL), c.cancel) << +c.language;
    }
}

TEST(CleanIoName, KeepsSpacesDigitsAndAsciiLetters) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"IN-1 open", "IN1 open"},
        {"Heating ON", "Heating ON"},
        {"-_.,;:!?", ""},
        {"", ""},
        {"\xC4\x85 Zone\t2\x7F", " Zone2"},
        {"  a  ", "  a  "},
    };
    for (const auto& c : cases) {
        char slot[kIoNameSlot] = {};
        std::strcpy(slot, c.in);
        std::memset(slot + std::strlen(slot) + 1, 'Z', kIoNameSlot - std::strlen(slot) - 1);
        clean_io_name(slot);
        EXPECT_STREQ(slot, c.out) << c.in;
    }
    char full[kIoNameSlot];
    std::memset(full, 'x', sizeof full);  // no NUL anywhere
    clean_io_name(full);
    EXPECT_EQ(std::string(full), std::string(kIoNameSlot - 1, 'x'));
}

}  // namespace
}  // namespace zavi
