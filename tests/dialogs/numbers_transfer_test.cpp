#include "dialogs/numbers_transfer.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "dialogs/phone_numbers_dialog.h"
#include "link/phone_commands.h"
#include "resources/ids.h"
#include "tests/dialogs/dialog_fixture.h"
#include "tests/support/temp_dir.h"
#include "ui/file_chooser.h"

namespace zavi::test {
namespace {

// "+48600100301" as the module stores it: two digits a byte, 0xF after an odd count.
sim::Number packed(const std::string& text) {
    sim::Number n;
    n.fill(0xFF);
    std::string digits = text.substr(1);
    if (digits.size() % 2) digits += '?';
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int low = digits[i + 1] == '?' ? 0xF : digits[i + 1] - '0';
        n[i / 2] = static_cast<uint8_t>((digits[i] - '0') << 4 | low);
    }
    return n;
}

class QueuedChooser : public FileChooser {
  public:
    bool choose_file(FileKind kind, bool, std::string* path) override {
        EXPECT_EQ(kind, FileKind::numbers_csv);
        if (paths.empty()) return false;
        *path = paths.front();
        paths.pop_front();
        return true;
    }
    std::deque<std::string> paths;
};

class NumbersTransfer : public DialogTest {
  protected:
    // The module accepts +48600100200 and +48600100201.
    FakeDialogView& open_dialog() {
        state().accepted_numbers = {{0x48, 0x60, 0x01, 0x00, 0x20, 0x0F, 0xFF},
                                    {0x48, 0x60, 0x01, 0x00, 0x20, 0x1F, 0xFF}};
        dialog = PhoneNumbersDialog(&chooser);
        return open(IDD_PHONE_NUMBERS, dialog, read_phone_numbers);
    }
    // The summary answers with `button`; its text is kept.
    void summary_answers(int button) {
        view().on_run_dialog([this, button](int id, DialogLogic& logic) {
            ASSERT_EQ(id, IDD_IMPORT_SUMMARY);
            FakeDialogView summary(id, &logic);
            summary.init();
            summary_text = summary.text(IDC_IMPORT_TEXT);
            add_enabled = summary.enabled(IDC_IMPORT_ADD);
            summary.click(button);
        });
    }
    std::vector<std::string> list() {
        std::vector<std::string> out;
        for (int i = 0; i < view().item_count(IDC_RECEIVED_LIST); ++i)
            out.push_back(view().item_text(IDC_RECEIVED_LIST, i));
        return out;
    }

    TempDir dir;
    QueuedChooser chooser;
    PhoneNumbersDialog dialog{&chooser};
    std::string summary_text;
    bool add_enabled = false;
};

// BOM, header, semicolons; good, duplicate (in the file and in the list) and bad rows.
constexpr char kCsv[] =
    "\xEF\xBB\xBFnumber;name\r\n"
    "+48 600-100-300;a\r\n"
    "0048 (600) 100.301;b\r\n"
    "48600100300;again\r\n"
    "+48600100200;in list\r\n"
    "12ab;bad\r\n"
    "123;short\r\n";

TEST_F(NumbersTransfer, ImportShowsItsSummaryThenSaveSendsTheList) {
    struct Case {
        const char* name;
        int button;
        std::vector<std::string> list;
    };
    const Case cases[] = {
        {"add", IDC_IMPORT_ADD, {"+48600100200", "+48600100201", "+48600100300", "+48600100301"}},
        {"replace", IDC_IMPORT_REPLACE, {"+48600100300", "+48600100301", "+48600100200"}},
        {"cancel", IDC_IMPORT_CANCEL, {"+48600100200", "+48600100201"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        FakeDialogView& v = open_dialog();
        const std::string path = dir.file("numbers.csv");
        write_file(path, kCsv);
        chooser.paths = {path};
        summary_answers(c.button);
        v.click(IDC_RECEIVED_IMPORT);
        EXPECT_NE(summary_text.find("Valid new numbers: 2"), std::string::npos) << summary_text;
        EXPECT_NE(summary_text.find("Duplicates within the file: 1"), std::string::npos);
        EXPECT_NE(summary_text.find("Already in the list: 1"), std::string::npos);
        EXPECT_NE(summary_text.find("Rejected rows: 2"), std::string::npos);
        EXPECT_NE(summary_text.find("line 6:"), std::string::npos);
        EXPECT_NE(summary_text.find("line 7:"), std::string::npos);
        EXPECT_NE(summary_text.find("After adding: 4 / 260"), std::string::npos);
        EXPECT_TRUE(add_enabled);
        EXPECT_EQ(list(), c.list);
        EXPECT_EQ(v.text(IDC_RECEIVED_QUANTITY), std::to_string(c.list.size()));
        EXPECT_TRUE(commands_received().empty());  // nothing before Save

        v.click(IDC_PHONE_SAVE);
        ASSERT_TRUE(v.is_closed());
        std::vector<sim::Number> expected;
        for (const std::string& n : c.list) expected.push_back(packed(n));
        EXPECT_EQ(state().accepted_numbers, expected);
    }
}

TEST_F(NumbersTransfer, AnImportThatWouldPassTheLimitCannotBeAdded) {
    state().accepted_numbers.assign(260, {0x48, 0x60, 0x01, 0x00, 0x20, 0x0F, 0xFF});
    for (int i = 0; i < 260; ++i)
        state().accepted_numbers[i][3] = static_cast<uint8_t>((i / 10) << 4 | (i % 10));
    dialog = PhoneNumbersDialog(&chooser);
    FakeDialogView& v = open(IDD_PHONE_NUMBERS, dialog, read_phone_numbers);
    const std::string path = dir.file("one.csv");
    write_file(path, "48700100200\n");
    chooser.paths = {path};
    summary_answers(IDC_IMPORT_ADD);  // pressed anyway: a disabled button does nothing
    v.click(IDC_RECEIVED_IMPORT);
    EXPECT_FALSE(add_enabled);
    EXPECT_NE(summary_text.find("After adding: 261 / 260 - too many"), std::string::npos)
        << summary_text;
    EXPECT_EQ(v.item_count(IDC_RECEIVED_LIST), 260);
}

TEST_F(NumbersTransfer, ExportWritesTheListAsCsvAndAnUnreadableFileIsSaid) {
    FakeDialogView& v = open_dialog();
    const std::string out = dir.file("out.csv");
    chooser.paths = {out};
    v.click(IDC_RECEIVED_EXPORT);
    EXPECT_EQ(read_file(out), "number\r\n+48600100200\r\n+48600100201\r\n");

    v.clear_messages();
    chooser.paths = {dir.file("missing.csv")};
    v.click(IDC_RECEIVED_IMPORT);
    ASSERT_EQ(v.messages().size(), 1u);
    EXPECT_EQ(v.messages()[0].icon, MessageIcon::error);
    EXPECT_TRUE(v.dialogs_run().empty());
    EXPECT_EQ(v.item_count(IDC_RECEIVED_LIST), 2);
}

}  // namespace
}  // namespace zavi::test
