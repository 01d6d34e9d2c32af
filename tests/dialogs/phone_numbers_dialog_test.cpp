#include "dialogs/phone_numbers_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "link/phone_commands.h"
#include "resources/ids.h"
#include "tests/dialogs/dialog_fixture.h"

namespace zavi::test {
namespace {

// Number i of a test list: "+4860", i as four digits, "1234".
sim::Number number(int i) {
    auto bcd = [](int v) { return static_cast<uint8_t>((v / 10) << 4 | (v % 10)); };
    return {0x48, 0x60, bcd(i / 100 % 100), bcd(i % 100), 0x12, 0x34, 0xFF};
}

std::string entry(int i) {
    char text[24];
    std::snprintf(text, sizeof text, "+4860%04d1234", i % 10000);
    return text;
}

std::vector<sim::Number> numbers(int first, int count) {
    std::vector<sim::Number> out;
    for (int i = 0; i < count; ++i) out.push_back(number(first + i));
    return out;
}

// Data of a command 14 or 17 frame: the leading bytes, then the numbers.
Bytes with_numbers(Bytes head, const std::vector<sim::Number>& list) {
    for (const auto& n : list) head.insert(head.end(), n.begin(), n.end());
    return head;
}

class PhoneDialog : public DialogTest {
  protected:
    // The module's lists are read as the Options job reads them, then the dialog opens.
    FakeDialogView& open_with(uint8_t all, int emergency, int accepted) {
        state().accept_all = all;
        state().emergency_numbers = numbers(900, emergency);
        state().accepted_numbers = numbers(0, accepted);
        dialog = PhoneNumbersDialog();
        return open(IDD_PHONE_NUMBERS, dialog, read_phone_numbers);
    }

    // Every ADD dialog from now on gets `typed`, then Add; its close box when Add refused.
    void add_dialog_types(const std::string& typed) {
        view().on_run_dialog([this, typed](int id, DialogLogic& logic) {
            EXPECT_EQ(id, IDD_ADD_NUMBER);
            FakeDialogView add(id, &logic);
            add.init();
            add.type(IDC_ADD_EDIT, typed);
            add.click(IDC_ADD_ADD);
            refusals += add.messages().size();
            if (!add.is_closed()) add.press_close_box();
        });
    }

    PhoneNumbersDialog dialog;
    std::size_t refusals = 0;
};

TEST_F(PhoneDialog, OpensWithTheListsThatWereRead) {
    state().accepted_numbers = numbers(0, 3);
    state().accepted_numbers[1] = {0xFF, 0x12, 0x34, 0x56, 0x78, 0x90, 0x12};  // shows as "+"
    state().emergency_numbers = {{0x12, 0x34, 0x56, 0x78, 0x90, 0x12, 0x34}};
    state().accept_all = 1;
    FakeDialogView& v = open(IDD_PHONE_NUMBERS, dialog, read_phone_numbers);

    EXPECT_EQ(items(IDC_RECEIVED_LIST), (std::vector<std::string>{entry(0), "+", entry(2)}));
    EXPECT_EQ(items(IDC_EMERGENCY_LIST), std::vector<std::string>{"+12345678901234"});
    EXPECT_EQ(v.text(IDC_RECEIVED_QUANTITY), "3");
    EXPECT_EQ(v.text(IDC_EMERGENCY_QUANTITY), "1");
    EXPECT_TRUE(v.checked(IDC_RECEIVED_ALL));
    EXPECT_EQ(v.selected_item(IDC_RECEIVED_LIST), 2);
    EXPECT_EQ(v.control(IDC_RECEIVED_ADD).icon, IDI_PLUS);
    EXPECT_EQ(v.control(IDC_EMERGENCY_REMOVE).icon, IDI_MINUS);
    // The records mirror the lists: the "+" entry became seven 0xFF bytes.
    EXPECT_EQ(accepted_count, 3);
    for (uint8_t b : accepted_numbers[1].bytes) EXPECT_EQ(b, 0xFF);
    EXPECT_TRUE(commands_received().empty());
}

TEST_F(PhoneDialog, ButtonsFollowTheCountsAndTheBox) {
    const struct {
        uint8_t all;
        int emergency, accepted;
        bool list, add, remove, emergency_add, emergency_remove;
    } cases[] = {
        {0, 0, 0, true, true, false, true, false},     {0, 1, 1, true, true, true, true, true},
        {0, 5, 259, true, true, true, true, true},     {0, 6, 260, true, false, true, false, true},
        {1, 6, 260, false, false, false, false, true}, {1, 0, 0, false, false, false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.emergency << "/" << c.accepted << " all " << +c.all);
        FakeDialogView& v = open_with(c.all, c.emergency, c.accepted);
        EXPECT_EQ(v.enabled(IDC_RECEIVED_LIST), c.list);
        EXPECT_EQ(v.enabled(IDC_RECEIVED_QUANTITY), c.list);
        EXPECT_EQ(v.enabled(IDC_RECEIVED_ADD), c.add);
        EXPECT_EQ(v.enabled(IDC_RECEIVED_REMOVE), c.remove);
        EXPECT_EQ(v.enabled(IDC_EMERGENCY_ADD), c.emergency_add);
        EXPECT_EQ(v.enabled(IDC_EMERGENCY_REMOVE), c.emergency_remove);
        EXPECT_EQ(v.text(IDC_RECEIVED_QUANTITY), std::to_string(c.accepted));
    }
}

TEST_F(PhoneDialog, AddAppendsWhatTheAddDialogAccepted) {
    FakeDialogView& v = open_with(0, 0, 2);
    add_dialog_types("48123456789");
    v.click(IDC_RECEIVED_ADD);
    EXPECT_EQ(items(IDC_RECEIVED_LIST),
              (std::vector<std::string>{entry(0), entry(1), "+48123456789"}));
    EXPECT_EQ(v.selected_item(IDC_RECEIVED_LIST), 2);
    EXPECT_EQ(v.text(IDC_RECEIVED_QUANTITY), "3");
    const uint8_t eleven[] = {0x48, 0x12, 0x34, 0x56, 0x78, 0x9F, 0xFF};
    EXPECT_TRUE(std::equal(eleven, eleven + 7, accepted_numbers[2].bytes));

    // The same number may stand twice, and in the other list too.
    v.click(IDC_RECEIVED_ADD);
    v.click(IDC_EMERGENCY_ADD);
    EXPECT_EQ(accepted_count, 4);
    EXPECT_EQ(items(IDC_EMERGENCY_LIST), std::vector<std::string>{"+48123456789"});
    EXPECT_TRUE(v.enabled(IDC_EMERGENCY_REMOVE));

    // An ADD dialog that ends without a number adds nothing.
    add_dialog_types("4812345678");  // 10 digits
    v.click(IDC_RECEIVED_ADD);
    v.click(IDC_EMERGENCY_ADD);
    EXPECT_EQ(refusals, 2u);
    EXPECT_EQ(accepted_count, 4);
    EXPECT_EQ(emergency_count, 1);
    EXPECT_TRUE(commands_received().empty());  // nothing goes out before Save
}

TEST_F(PhoneDialog, ListsStopAtTheirCapacity) {
    FakeDialogView& v = open_with(0, 5, 259);
    add_dialog_types("491234446570");
    v.click(IDC_EMERGENCY_ADD);
    v.click(IDC_RECEIVED_ADD);
    EXPECT_EQ(v.text(IDC_RECEIVED_QUANTITY), "260");
    EXPECT_FALSE(v.enabled(IDC_EMERGENCY_ADD));
    EXPECT_FALSE(v.enabled(IDC_RECEIVED_ADD));
    v.click(IDC_EMERGENCY_ADD);  // disabled: no ADD dialog
    v.click(IDC_RECEIVED_ADD);
    EXPECT_EQ(v.dialogs_run().size(), 2u);
    EXPECT_EQ(emergency_count, 6);
    EXPECT_EQ(accepted_count, 260);

    v.click(IDC_RECEIVED_REMOVE);  // removing one opens the way again
    EXPECT_TRUE(v.enabled(IDC_RECEIVED_ADD));
    EXPECT_EQ(accepted_count, 259);
}

TEST_F(PhoneDialog, AModuleWithMoreThanTheTablesHoldShowsWhatFits) {
    FakeDialogView& v = open_with(0, 8, 300);
    EXPECT_EQ(items(IDC_RECEIVED_LIST).size(), 260u);
    EXPECT_EQ(items(IDC_RECEIVED_LIST).back(), entry(259));
    EXPECT_EQ(items(IDC_EMERGENCY_LIST).size(), 6u);
    EXPECT_FALSE(v.enabled(IDC_RECEIVED_ADD));
    EXPECT_FALSE(v.enabled(IDC_EMERGENCY_ADD));

    v.click(IDC_PHONE_SAVE);
    ASSERT_TRUE(v.is_closed());
    EXPECT_EQ(sent(17).back(), with_numbers({7, 8}, numbers(252, 8)));
    EXPECT_EQ(state().accepted_numbers, numbers(0, 260));
    EXPECT_EQ(state().emergency_numbers, numbers(900, 6));
}

TEST_F(PhoneDialog, RemovalAsksFirstAndNamesTheEntry) {
    state().emergency_numbers = {{0x12, 0x34, 0x56, 0x78, 0x90, 0x12, 0x34}};
    state().accepted_numbers = numbers(0, 3);
    FakeDialogView& v = open(IDD_PHONE_NUMBERS, dialog, read_phone_numbers);

    v.answer_next(MessageAnswer::cancel);
    v.click(IDC_EMERGENCY_REMOVE);
    ASSERT_EQ(v.messages().size(), 1u);
    const FakeDialogView::Message& m = v.messages()[0];
    EXPECT_EQ(m.text, "Number +12345678901234 will be removed from the list.");
    EXPECT_EQ(m.title, kAppTitle);
    EXPECT_EQ(m.icon, MessageIcon::warning);
    EXPECT_EQ(m.buttons, MessageButtons::ok_cancel);
    EXPECT_EQ(emergency_count, 1);

    // OK removes the current entry, which need not be the last one.
    v.choose(IDC_RECEIVED_LIST, 0);
    v.click(IDC_RECEIVED_REMOVE);
    EXPECT_EQ(v.messages().back().text, "Number " + entry(0) + " will be removed from the list.");
    EXPECT_EQ(items(IDC_RECEIVED_LIST), (std::vector<std::string>{entry(1), entry(2)}));
    EXPECT_EQ(accepted_count, 2);
    EXPECT_EQ(accepted_numbers[0].bytes[3], 0x01);
    for (uint8_t b : accepted_numbers[2].bytes) EXPECT_EQ(b, 0xFF);
    EXPECT_TRUE(commands_received().empty());
}

TEST_F(PhoneDialog, SaveSendsTheEditedLists) {
    FakeDialogView& v = open_with(0, 6, 2);
    add_dialog_types("491234446570");
    v.click(IDC_RECEIVED_ADD);
    v.choose(IDC_EMERGENCY_LIST, 2);
    v.click(IDC_EMERGENCY_REMOVE);
    v.toggle(IDC_RECEIVED_ALL);  // disables the list, which is still sent
    EXPECT_FALSE(v.enabled(IDC_RECEIVED_LIST));
    v.click(IDC_PHONE_SAVE);
    ASSERT_TRUE(v.is_closed());

    EXPECT_EQ(commands_received(), (std::vector<uint8_t>{19, 14, 17, 17, 17, 17, 17, 17, 17, 17}));
    EXPECT_EQ(sent(19), std::vector<Bytes>{{1}});
    std::vector<sim::Number> emergency = numbers(900, 6);
    emergency.erase(emergency.begin() + 2);
    EXPECT_EQ(sent(14), std::vector<Bytes>{with_numbers({5}, emergency)});
    const sim::Number added = {0x49, 0x12, 0x34, 0x44, 0x65, 0x70, 0xFF};
    const std::vector<Bytes> blocks = sent(17);
    EXPECT_EQ(blocks[0], with_numbers({0, 3}, {number(0), number(1), added}));
    for (uint8_t b = 1; b < 8; ++b) EXPECT_EQ(blocks[b], (Bytes{b, 0}));
    EXPECT_EQ(state().accept_all, 1);
}

TEST_F(PhoneDialog, ReadTimeoutIsLongOnlyDuringSave) {
    // Success, then a failure at accept-all, at the emergency numbers and at each block.
    struct Failure {
        int command, sub_index, sent;  // frames the module received before it gave up
    };
    std::vector<Failure> failures = {{-1, -1, 10}, {19, -1, 1}, {14, -1, 2}};
    for (int b = 0; b < 8; ++b) failures.push_back({17, b, 3 + b});
    for (const Failure& f : failures) {
        SCOPED_TRACE(::testing::Message() << f.command << " " << f.sub_index);
        FakeDialogView& v = open_with(0, 1, 260);
        const std::size_t calls_before = sim().timeout_calls().size();
        if (f.command >= 0) add_fault(sim::FaultKind::no_answer, f.command, f.sub_index);

        v.click(IDC_PHONE_SAVE);

        const auto& calls = sim().timeout_calls();
        ASSERT_EQ(calls.size(), calls_before + 2);
        EXPECT_EQ(calls[calls_before].read_ms, 3000u);
        EXPECT_EQ(calls.back().read_ms, 1000u);
        EXPECT_EQ(calls.back().write_ms, 0u);
        EXPECT_EQ(link_read_timeout_ms(), kReadTimeoutMs);
        EXPECT_EQ(sim().journal().size(), static_cast<std::size_t>(f.sent));
        if (f.command < 0) {
            EXPECT_TRUE(v.is_closed());
            continue;
        }
        EXPECT_FALSE(v.is_closed());
        expect_only_error_box("Communication error - try again");
        EXPECT_EQ(v.item_count(IDC_RECEIVED_LIST), 260);

        sim().scenario().modules[0].faults.clear();  // Save again once the module answers
        v.click(IDC_PHONE_SAVE);
        EXPECT_TRUE(v.is_closed());
        EXPECT_EQ(state().accepted_numbers, numbers(0, 260));
    }
}

TEST_F(PhoneDialog, CancelCloseBoxAndEscapeWriteNothing) {
    for (int way = 0; way < 3; ++way) {
        FakeDialogView& v = open_with(1, 3, 3);
        add_dialog_types("491234446570");
        v.click(IDC_RECEIVED_ADD);
        v.click(IDC_EMERGENCY_REMOVE);
        v.command(IDC_RECEIVED_LIST, 1);  // list notifications change nothing
        if (way == 0) v.click(IDC_PHONE_CANCEL);
        if (way == 1) v.press_close_box();
        if (way == 2) v.press_escape();
        EXPECT_EQ(v.is_closed(), way != 2) << way;
        EXPECT_TRUE(commands_received().empty()) << way;
        EXPECT_EQ(state().accepted_numbers, numbers(0, 3));
        EXPECT_EQ(state().emergency_numbers, numbers(900, 3));
    }
}

TEST_F(PhoneDialog, TextsByLanguage) {
    const struct {
        uint8_t language;
        const char *title, *received, *all, *removal;
    } cases[] = {
        {0, "Numery telefonów", "Akceptowane numery", "Akceptuj wszystkie",
         "Numer +486000001234 zostanie usunięty z listy."},
        {1, "Telephone Numbers", "Received phone numbers", "Received All",
         "Number +486000001234 will be removed from the list."},
        {2, "Telefonnummern", "Akzeptierte Telefonnummern", "Akzeptiere alle",
         "Nummer +486000001234 wird aus der Liste entfernt werden."},
        {9, "Telefonnummern", "Akzeptierte Telefonnummern", "Akzeptiere alle",
         "Nummer +486000001234 wird aus der Liste entfernt werden."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(+c.language);
        ui_language = c.language;
        FakeDialogView& v = open_with(0, 0, 1);
        EXPECT_EQ(v.title(), c.title);
        EXPECT_EQ(v.text(IDC_RECEIVED_LABEL), c.received);
        EXPECT_EQ(v.text(IDC_RECEIVED_ALL), c.all);
        EXPECT_EQ(v.text(IDC_EMERGENCY_QUANTITY_LABEL), v.text(IDC_RECEIVED_QUANTITY_LABEL));
        v.answer_next(MessageAnswer::cancel);
        v.click(IDC_RECEIVED_REMOVE);
        ASSERT_EQ(v.messages().size(), 1u);
        EXPECT_EQ(v.messages()[0].text, c.removal);
    }
}

}  // namespace
}  // namespace zavi::test
