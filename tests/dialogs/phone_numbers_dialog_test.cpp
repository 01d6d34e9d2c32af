#include "dialogs/phone_numbers_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/language.h"
#include "link/phone_commands.h"
#include "resources/ids.h"
#include "tests/support/sim_fixture.h"
#include "ui/fake_dialog_view.h"

namespace zavi {
namespace {

// Number i of a test list: "+4860" and i as four digits, then "1234" (12 digits).
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

// The data bytes of a command 17 block: number, count, then the numbers.
std::vector<uint8_t> block_data(uint8_t block, const std::vector<sim::Number>& list) {
    std::vector<uint8_t> out = {block, static_cast<uint8_t>(list.size())};
    for (const auto& n : list) out.insert(out.end(), n.begin(), n.end());
    return out;
}

class PhoneDialog : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        saved_language_ = ui_language;
        ui_language = kEnglish;
    }
    void TearDown() override {
        ui_language = saved_language_;
        SimTest::TearDown();
    }

    // The module's lists are read as the Options job reads them, then the dialog opens.
    void open(uint8_t all, int emergency, int accepted) {
        state().accept_all = all;
        state().emergency_numbers = numbers(900, emergency);
        state().accepted_numbers = numbers(0, accepted);
        ASSERT_EQ(read_phone_numbers(handle()), 0);
        sim().clear_journal();
        view.init();
    }

    // Each ADD dialog opened from now on gets `typed` and then Add (or its close box when Add
    // refused the number).
    void add_dialog_types(const std::string& typed) {
        view.on_run_dialog([this, typed](int id, DialogLogic& logic) {
            EXPECT_EQ(id, IDD_ADD_NUMBER);
            FakeDialogView add(&logic);
            add.init();
            add.type(IDC_ADD_EDIT, typed);
            add.click(IDC_ADD_ADD);
            add_messages += add.messages().size();
            if (!add.is_closed()) add.press_close_box();
        });
    }

    std::vector<std::string> items(int list) const { return view.control(list).items; }

    struct Enabled {
        bool list, add, remove, count;
        bool operator==(const Enabled&) const = default;
    };
    Enabled received_controls() const {
        return {view.enabled(IDC_RECEIVED_LIST), view.enabled(IDC_RECEIVED_ADD),
                view.enabled(IDC_RECEIVED_REMOVE), view.enabled(IDC_RECEIVED_QUANTITY)};
    }

    PhoneNumbersDialog dialog;
    FakeDialogView view{&dialog};
    std::size_t add_messages = 0;

  private:
    uint8_t saved_language_ = kEnglish;
};

TEST_F(PhoneDialog, OpensWithTheListsThatWereRead) {
    state().accepted_numbers = numbers(0, 3);
    state().accepted_numbers[1] = {0xFF, 0x12, 0x34, 0x56, 0x78, 0x90, 0x12};  // shows as "+"
    state().emergency_numbers = {{0x12, 0x34, 0x56, 0x78, 0x90, 0x12, 0x34}};
    state().accept_all = 1;
    ASSERT_EQ(read_phone_numbers(handle()), 0);
    view.init();

    EXPECT_EQ(items(IDC_RECEIVED_LIST), (std::vector<std::string>{entry(0), "+", entry(2)}));
    EXPECT_EQ(items(IDC_EMERGENCY_LIST), std::vector<std::string>{"+12345678901234"});
    EXPECT_EQ(view.text(IDC_RECEIVED_QUANTITY), "3");
    EXPECT_EQ(view.text(IDC_EMERGENCY_QUANTITY), "1");
    EXPECT_TRUE(view.checked(IDC_RECEIVED_ALL));
    EXPECT_EQ(view.selected_item(IDC_RECEIVED_LIST), 2);
    EXPECT_EQ(view.selected_item(IDC_EMERGENCY_LIST), 0);
    EXPECT_EQ(view.control(IDC_RECEIVED_ADD).icon, IDI_PLUS);
    EXPECT_EQ(view.control(IDC_EMERGENCY_ADD).icon, IDI_PLUS);
    EXPECT_EQ(view.control(IDC_RECEIVED_REMOVE).icon, IDI_MINUS);
    EXPECT_EQ(view.control(IDC_EMERGENCY_REMOVE).icon, IDI_MINUS);
    // The records now mirror the lists: the "+" entry became seven 0xFF bytes.
    EXPECT_EQ(accepted_count, 3);
    for (uint8_t b : accepted_numbers[1].bytes) EXPECT_EQ(b, 0xFF);
    EXPECT_EQ(accepted_numbers[2].bytes[3], 0x02);
}

TEST_F(PhoneDialog, ButtonsFollowTheCountsAndTheBox) {
    const struct {
        uint8_t all;
        int emergency, accepted;
        Enabled received;
        bool emergency_add, emergency_remove;
    } cases[] = {
        {0, 0, 0, {true, true, false, true}, true, false},
        {0, 1, 1, {true, true, true, true}, true, true},
        {0, 5, 259, {true, true, true, true}, true, true},
        {0, 6, 260, {true, false, true, true}, false, true},
        {1, 6, 260, {false, false, false, false}, false, true},
        {1, 0, 0, {false, false, false, false}, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.emergency << "/" << c.accepted << " all " << +c.all);
        PhoneNumbersDialog fresh;
        FakeDialogView v(&fresh);
        state().accept_all = c.all;
        state().emergency_numbers = numbers(900, c.emergency);
        state().accepted_numbers = numbers(0, c.accepted);
        ASSERT_EQ(read_phone_numbers(handle()), 0);
        v.init();
        const Enabled received = {v.enabled(IDC_RECEIVED_LIST), v.enabled(IDC_RECEIVED_ADD),
                                  v.enabled(IDC_RECEIVED_REMOVE), v.enabled(IDC_RECEIVED_QUANTITY)};
        EXPECT_EQ(received, c.received);
        EXPECT_EQ(v.enabled(IDC_EMERGENCY_ADD), c.emergency_add);
        EXPECT_EQ(v.enabled(IDC_EMERGENCY_REMOVE), c.emergency_remove);
        EXPECT_EQ(v.text(IDC_RECEIVED_QUANTITY), std::to_string(c.accepted));
        EXPECT_EQ(v.text(IDC_EMERGENCY_QUANTITY), std::to_string(c.emergency));
    }
}

TEST_F(PhoneDialog, ReceivedAllOnlyDisablesTheList) {
    open(0, 1, 2);
    view.toggle(IDC_RECEIVED_ALL);
    EXPECT_EQ(accept_all, 1);
    EXPECT_EQ(received_controls(), (Enabled{false, false, false, false}));
    EXPECT_EQ(items(IDC_RECEIVED_LIST).size(), 2u);
    EXPECT_EQ(accepted_count, 2);

    view.click(IDC_PHONE_SAVE);
    ASSERT_TRUE(view.is_closed());
    EXPECT_EQ(state().accept_all, 1);
    EXPECT_EQ(state().accepted_numbers, numbers(0, 2));

    PhoneNumbersDialog again;
    FakeDialogView second(&again);
    ASSERT_EQ(read_phone_numbers(handle()), 0);
    second.init();
    second.toggle(IDC_RECEIVED_ALL);  // off again: everything back on, flag cleared
    EXPECT_EQ(accept_all, 0);
    EXPECT_TRUE(second.enabled(IDC_RECEIVED_LIST));
    EXPECT_TRUE(second.enabled(IDC_RECEIVED_REMOVE));
}

TEST_F(PhoneDialog, AddAppendsTheNumberFromTheAddDialog) {
    open(0, 0, 2);
    add_dialog_types("48123456789");
    view.click(IDC_RECEIVED_ADD);
    EXPECT_EQ(view.dialogs_run(), std::vector<int>{IDD_ADD_NUMBER});
    EXPECT_EQ(items(IDC_RECEIVED_LIST),
              (std::vector<std::string>{entry(0), entry(1), "+48123456789"}));
    EXPECT_EQ(view.selected_item(IDC_RECEIVED_LIST), 2);
    EXPECT_EQ(view.text(IDC_RECEIVED_QUANTITY), "3");
    EXPECT_EQ(accepted_count, 3);
    const uint8_t eleven[] = {0x48, 0x12, 0x34, 0x56, 0x78, 0x9F, 0xFF};
    EXPECT_TRUE(std::equal(eleven, eleven + 7, accepted_numbers[2].bytes));

    // The same number may go in twice, and into the emergency list as well.
    view.click(IDC_RECEIVED_ADD);
    view.click(IDC_EMERGENCY_ADD);
    EXPECT_EQ(items(IDC_RECEIVED_LIST).size(), 4u);
    EXPECT_EQ(items(IDC_EMERGENCY_LIST), std::vector<std::string>{"+48123456789"});
    EXPECT_EQ(emergency_count, 1);
    EXPECT_TRUE(view.enabled(IDC_EMERGENCY_REMOVE));
    EXPECT_TRUE(sim().journal().empty());  // nothing goes to the module before Save
}

TEST_F(PhoneDialog, AddThatEndsWithoutANumberAddsNothing) {
    open(0, 1, 1);
    for (const char* typed : {"", "4812345678" /* 10 digits */}) {
        add_dialog_types(typed);
        view.click(IDC_RECEIVED_ADD);
        view.click(IDC_EMERGENCY_ADD);
    }
    EXPECT_EQ(add_messages, 4u);  // empty and short numbers refused, for both lists
    EXPECT_EQ(items(IDC_RECEIVED_LIST), std::vector<std::string>{entry(0)});
    EXPECT_EQ(items(IDC_EMERGENCY_LIST), std::vector<std::string>{entry(900)});

    view.on_run_dialog([](int, DialogLogic& logic) {  // typed, then Cancel
        FakeDialogView add(&logic);
        add.init();
        add.type(IDC_ADD_EDIT, "491234446570");
        add.click(IDC_ADD_CANCEL);
    });
    view.click(IDC_RECEIVED_ADD);
    EXPECT_EQ(items(IDC_RECEIVED_LIST).size(), 1u);
    EXPECT_EQ(accepted_count, 1);
}

TEST_F(PhoneDialog, ListsStopAtTheirCapacity) {
    open(0, 5, 259);
    add_dialog_types("491234446570");
    view.click(IDC_EMERGENCY_ADD);
    view.click(IDC_RECEIVED_ADD);
    EXPECT_EQ(view.text(IDC_EMERGENCY_QUANTITY), "6");
    EXPECT_EQ(view.text(IDC_RECEIVED_QUANTITY), "260");
    EXPECT_FALSE(view.enabled(IDC_EMERGENCY_ADD));
    EXPECT_FALSE(view.enabled(IDC_RECEIVED_ADD));
    view.click(IDC_EMERGENCY_ADD);  // disabled: no ADD dialog
    view.click(IDC_RECEIVED_ADD);
    EXPECT_EQ(view.dialogs_run().size(), 2u);
    EXPECT_EQ(emergency_count, 6);
    EXPECT_EQ(accepted_count, 260);
    EXPECT_EQ(items(IDC_RECEIVED_LIST).back(), "+491234446570");

    // Removing one opens the way again.
    view.click(IDC_RECEIVED_REMOVE);
    EXPECT_TRUE(view.enabled(IDC_RECEIVED_ADD));
    EXPECT_EQ(accepted_count, 259);
}

TEST_F(PhoneDialog, AModuleWithMoreThanTheTablesHoldShowsWhatFits) {
    state().accepted_numbers = numbers(0, 300);
    state().emergency_numbers = numbers(900, 8);
    ASSERT_EQ(read_phone_numbers(handle()), 0);
    EXPECT_EQ(accepted_count, 260);
    EXPECT_EQ(emergency_count, 6);
    view.init();
    EXPECT_EQ(items(IDC_RECEIVED_LIST).size(), 260u);
    EXPECT_EQ(items(IDC_RECEIVED_LIST).back(), entry(259));
    EXPECT_EQ(items(IDC_EMERGENCY_LIST).back(), entry(905));
    EXPECT_FALSE(view.enabled(IDC_RECEIVED_ADD));
    EXPECT_FALSE(view.enabled(IDC_EMERGENCY_ADD));

    sim().clear_journal();
    view.click(IDC_PHONE_SAVE);
    ASSERT_TRUE(view.is_closed());
    EXPECT_EQ(frames(17).back().data, block_data(7, numbers(252, 8)));
    EXPECT_EQ(state().accepted_numbers, numbers(0, 260));
    EXPECT_EQ(state().emergency_numbers, numbers(900, 6));
}

TEST_F(PhoneDialog, RemovalAsksFirstAndNamesTheEntry) {
    state().emergency_numbers = {{0x12, 0x34, 0x56, 0x78, 0x90, 0x12, 0x34}};
    state().accepted_numbers = numbers(0, 3);
    ASSERT_EQ(read_phone_numbers(handle()), 0);
    sim().clear_journal();
    FakeDialogView& v = view;
    v.init();

    v.answer_next(MessageAnswer::cancel);
    v.click(IDC_EMERGENCY_REMOVE);
    ASSERT_EQ(v.messages().size(), 1u);
    EXPECT_EQ(v.messages()[0].text, "Number +12345678901234 will be removed from the list.");
    EXPECT_EQ(v.messages()[0].title, "ZAVI ALARM-GSM");
    EXPECT_EQ(v.messages()[0].icon, MessageIcon::warning);
    EXPECT_EQ(v.messages()[0].buttons, MessageButtons::ok_cancel);
    EXPECT_EQ(v.item_count(IDC_EMERGENCY_LIST), 1);
    EXPECT_EQ(emergency_count, 1);

    // OK removes the current entry, which need not be the last one.
    v.choose(IDC_RECEIVED_LIST, 0);
    v.answer_next(MessageAnswer::ok);
    v.click(IDC_RECEIVED_REMOVE);
    EXPECT_EQ(v.messages().back().text, "Number " + entry(0) + " will be removed from the list.");
    EXPECT_EQ(v.control(IDC_RECEIVED_LIST).items, (std::vector<std::string>{entry(1), entry(2)}));
    EXPECT_EQ(v.text(IDC_RECEIVED_QUANTITY), "2");
    EXPECT_EQ(accepted_count, 2);
    EXPECT_EQ(accepted_numbers[0].bytes[3], 0x01);
    for (uint8_t b : accepted_numbers[2].bytes) EXPECT_EQ(b, 0xFF);

    v.click(IDC_EMERGENCY_REMOVE);  // OK by default
    EXPECT_EQ(v.item_count(IDC_EMERGENCY_LIST), 0);
    EXPECT_EQ(emergency_count, 0);
    EXPECT_FALSE(v.enabled(IDC_EMERGENCY_REMOVE));
    EXPECT_TRUE(sim().journal().empty());
}

TEST_F(PhoneDialog, SaveSendsTheListsAsTheyStand) {
    const struct {
        int accepted;
        std::vector<int> counts;
    } cases[] = {
        {0, {0, 0, 0, 0, 0, 0, 0, 0}},
        {37, {36, 1, 0, 0, 0, 0, 0, 0}},
        {40, {36, 4, 0, 0, 0, 0, 0, 0}},
        {260, {36, 36, 36, 36, 36, 36, 36, 8}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.accepted);
        PhoneNumbersDialog fresh;
        FakeDialogView v(&fresh);
        state().accept_all = 0;
        state().emergency_numbers = numbers(900, 2);
        state().accepted_numbers = numbers(0, c.accepted);
        ASSERT_EQ(read_phone_numbers(handle()), 0);
        v.init();
        sim().clear_journal();
        v.click(IDC_PHONE_SAVE);
        EXPECT_TRUE(v.is_closed());
        EXPECT_TRUE(v.messages().empty());
        EXPECT_EQ(commands_received(),
                  (std::vector<uint8_t>{19, 14, 17, 17, 17, 17, 17, 17, 17, 17}));
        EXPECT_EQ(frames(19)[0].data, std::vector<uint8_t>{0});
        std::vector<uint8_t> emergency = {2};
        for (const auto& n : numbers(900, 2)) emergency.insert(emergency.end(), n.begin(), n.end());
        EXPECT_EQ(frames(14)[0].data, emergency);
        const auto blocks = frames(17);
        int first = 0;
        for (uint8_t b = 0; b < 8; ++b) {
            EXPECT_EQ(blocks[b].data, block_data(b, numbers(first, c.counts[b]))) << int(b);
            first += c.counts[b];
        }
        EXPECT_EQ(state().accepted_numbers, numbers(0, c.accepted));
    }
}

TEST_F(PhoneDialog, AnEditedListReachesTheModule) {
    open(0, 6, 2);
    add_dialog_types("491234446570");
    view.click(IDC_RECEIVED_ADD);
    view.choose(IDC_EMERGENCY_LIST, 2);
    view.click(IDC_EMERGENCY_REMOVE);
    view.toggle(IDC_RECEIVED_ALL);
    view.click(IDC_PHONE_SAVE);
    ASSERT_TRUE(view.is_closed());

    const sim::Number added = {0x49, 0x12, 0x34, 0x44, 0x65, 0x70, 0xFF};
    EXPECT_EQ(frames(17)[0].data, block_data(0, {number(0), number(1), added}));
    std::vector<sim::Number> emergency = numbers(900, 6);
    emergency.erase(emergency.begin() + 2);
    EXPECT_EQ(state().emergency_numbers, emergency);
    EXPECT_EQ(state().accepted_numbers, (std::vector<sim::Number>{number(0), number(1), added}));
    EXPECT_EQ(state().accept_all, 1);
}

TEST_F(PhoneDialog, ReadTimeoutIsLongOnlyDuringSave) {
    // Success, then a failure at accept-all, at the emergency numbers and at each block.
    struct Failure {
        int command, sub_index, sent;  // frames the module received before giving up
    };
    std::vector<Failure> failures = {{-1, -1, 10}, {19, -1, 1}, {14, -1, 2}};
    for (int b = 0; b < 8; ++b) failures.push_back({17, b, 3 + b});
    for (const Failure& f : failures) {
        SCOPED_TRACE(::testing::Message() << f.command << " " << f.sub_index);
        PhoneNumbersDialog fresh;
        FakeDialogView v(&fresh);
        state().accepted_numbers = numbers(0, 260);
        ASSERT_EQ(read_phone_numbers(handle()), 0);
        v.init();
        sim().clear_journal();
        const std::size_t calls_before = sim().timeout_calls().size();
        if (f.command >= 0) add_fault(sim::FaultKind::no_answer, f.command, f.sub_index);

        v.click(IDC_PHONE_SAVE);

        const auto& calls = sim().timeout_calls();
        ASSERT_EQ(calls.size(), calls_before + 2);
        EXPECT_EQ(calls[calls_before].read_ms, 3000u);
        EXPECT_EQ(calls[calls_before].write_ms, 0u);
        EXPECT_EQ(calls.back().read_ms, 1000u);
        EXPECT_EQ(calls.back().write_ms, 0u);
        EXPECT_EQ(link_read_timeout_ms(), kReadTimeoutMs);
        EXPECT_EQ(sim().journal().size(), static_cast<std::size_t>(f.sent));
        if (f.command < 0) {
            EXPECT_TRUE(v.is_closed());
            continue;
        }
        EXPECT_FALSE(v.is_closed());
        ASSERT_EQ(v.messages().size(), 1u);
        EXPECT_EQ(v.messages()[0].text, "Communication error - try again");
        EXPECT_EQ(v.messages()[0].icon, MessageIcon::error);
        EXPECT_EQ(v.item_count(IDC_RECEIVED_LIST), 260);

        // Save again once the module answers.
        sim().scenario().modules[0].faults.clear();
        v.click(IDC_PHONE_SAVE);
        EXPECT_TRUE(v.is_closed());
        EXPECT_EQ(state().accepted_numbers, numbers(0, 260));
    }
}

TEST_F(PhoneDialog, CancelCloseBoxAndEscapeWriteNothing) {
    open(1, 3, 3);
    add_dialog_types("491234446570");
    view.click(IDC_RECEIVED_ADD);
    view.click(IDC_EMERGENCY_REMOVE);
    view.press_escape();
    view.command(IDC_RECEIVED_LIST, 1);  // list notifications change nothing
    EXPECT_FALSE(view.is_closed());
    view.click(IDC_PHONE_CANCEL);
    EXPECT_TRUE(view.is_closed());

    PhoneNumbersDialog second;
    FakeDialogView v(&second);
    v.init();
    v.press_close_box();
    EXPECT_TRUE(v.is_closed());
    EXPECT_TRUE(sim().journal().empty());
    EXPECT_EQ(state().accepted_numbers, numbers(0, 3));
    EXPECT_EQ(state().emergency_numbers, numbers(900, 3));
}

TEST_F(PhoneDialog, TextsByLanguage) {
    const struct {
        uint8_t language;
        const char *title, *save, *quantity, *emergency, *received, *all, *removal;
    } cases[] = {
        {0, "Numery telefonów", "Zapisz", "Ilość", "Numery alarmowe", "Akceptowane numery",
         "Akceptuj wszystkie", "Numer +486000001234 zostanie usunięty z listy."},
        {1, "Telephone Numbers", "Save", "Quantity", "Emergency phone numbers",
         "Received phone numbers", "Received All",
         "Number +486000001234 will be removed from the list."},
        {2, "Telefonnummern", "Speichern", "Anzahl", "Anzurufende Telefonnummern",
         "Akzeptierte Telefonnummern", "Akzeptiere alle",
         "Nummer +486000001234 wird aus der Liste entfernt werden."},
        {9, "Telefonnummern", "Speichern", "Anzahl", "Anzurufende Telefonnummern",
         "Akzeptierte Telefonnummern", "Akzeptiere alle",
         "Nummer +486000001234 wird aus der Liste entfernt werden."},
    };
    state().accepted_numbers = numbers(0, 1);
    ASSERT_EQ(read_phone_numbers(handle()), 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(+c.language);
        ui_language = c.language;
        PhoneNumbersDialog fresh;
        FakeDialogView v(&fresh);
        v.init();
        EXPECT_EQ(v.title(), c.title);
        EXPECT_EQ(v.text(IDC_PHONE_SAVE), c.save);
        EXPECT_EQ(v.text(IDC_RECEIVED_QUANTITY_LABEL), c.quantity);
        EXPECT_EQ(v.text(IDC_EMERGENCY_QUANTITY_LABEL), c.quantity);
        EXPECT_EQ(v.text(IDC_EMERGENCY_LABEL), c.emergency);
        EXPECT_EQ(v.text(IDC_RECEIVED_LABEL), c.received);
        EXPECT_EQ(v.text(IDC_RECEIVED_ALL), c.all);
        v.answer_next(MessageAnswer::cancel);
        v.click(IDC_RECEIVED_REMOVE);
        ASSERT_EQ(v.messages().size(), 1u);
        EXPECT_EQ(v.messages()[0].text, c.removal);
    }
}

}  // namespace
}  // namespace zavi
