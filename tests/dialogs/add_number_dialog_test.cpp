#include "dialogs/add_number_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "resources/ids.h"
#include "ui/fake_dialog_view.h"
#include "ui/ui_language.h"

namespace zavi {
namespace {

class AddDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_language_ = ui_language;
        ui_language = kEnglish;
        std::strcpy(new_phone_number, "stale");
        view.init();
    }
    void TearDown() override { ui_language = saved_language_; }

    AddNumberDialog dialog;
    FakeDialogView view{IDD_ADD_NUMBER, &dialog};

  private:
    uint8_t saved_language_ = kEnglish;
};

TEST_F(AddDialog, OnlyDigitsUpToFourteenReachTheEdit) {
    EXPECT_EQ(view.type(IDC_ADD_EDIT, "a+.-x ü49"), 2);
    EXPECT_EQ(view.text(IDC_ADD_EDIT), "49");
    view.type(IDC_ADD_EDIT, "1234567890123");  // 15 digits typed in all
    EXPECT_EQ(view.text(IDC_ADD_EDIT), "49123456789012");
    view.type(IDC_ADD_EDIT, "\b\b5");
    EXPECT_EQ(view.text(IDC_ADD_EDIT), "4912345678905");
    EXPECT_FALSE(view.right_click(IDC_ADD_EDIT));
    EXPECT_EQ(new_phone_number[0], '\0');  // nothing to add while the dialog is open
}

TEST_F(AddDialog, AddTakesElevenToFourteenDigits) {
    for (const char* digits : {"48123456789", "12345678901234"}) {
        AddNumberDialog add;
        FakeDialogView v(IDD_ADD_NUMBER, &add);
        v.init();
        v.type(IDC_ADD_EDIT, digits);
        v.click(IDC_ADD_ADD);
        EXPECT_TRUE(v.is_closed()) << digits;
        EXPECT_TRUE(v.messages().empty()) << digits;
        EXPECT_STREQ(new_phone_number, digits);
    }
}

TEST_F(AddDialog, ShortNumbersAreRefused) {
    view.type(IDC_ADD_EDIT, "4812345678");
    view.click(IDC_ADD_ADD);
    EXPECT_FALSE(view.is_closed());
    ASSERT_EQ(view.messages().size(), 1u);
    EXPECT_EQ(view.messages()[0].text, "Number - Required minimum 11 digits");
    EXPECT_EQ(view.messages()[0].title, "ZAVI ALARM-GSM");
    EXPECT_EQ(view.messages()[0].icon, MessageIcon::error);
    EXPECT_EQ(view.messages()[0].buttons, MessageButtons::ok);
    EXPECT_EQ(view.text(IDC_ADD_EDIT), "4812345678");  // the digits stay for correcting
    EXPECT_EQ(view.focus(), IDC_ADD_EDIT);             // ... with the focus on them

    view.click(IDC_ADD_ADD);  // empty and short alike
    view.press_close_box();
    EXPECT_TRUE(view.is_closed());
    EXPECT_EQ(new_phone_number[0], '\0');
}

TEST_F(AddDialog, TextThatGotPastTheFilterIsRefused) {
    for (const char* text : {"4812345678a9", "48 123456789", "481234567890123"}) {
        AddNumberDialog add;
        FakeDialogView v(IDD_ADD_NUMBER, &add);
        v.init();
        v.set_text(IDC_ADD_EDIT, text);  // pasted, not typed
        v.click(IDC_ADD_ADD);
        EXPECT_FALSE(v.is_closed()) << text;
        EXPECT_EQ(v.messages().size(), 1u) << text;
        EXPECT_EQ(new_phone_number[0], '\0') << text;
    }
}

TEST_F(AddDialog, ReleasingEnterPressesAdd) {
    view.type(IDC_ADD_EDIT, "491234446570");
    view.release_enter(IDC_ADD_EDIT);
    EXPECT_TRUE(view.is_closed());
    EXPECT_STREQ(new_phone_number, "491234446570");
}

TEST_F(AddDialog, CancelAndCloseBoxAddNothingEscapeIsIgnored) {
    for (int way = 0; way < 3; ++way) {
        AddNumberDialog add;
        FakeDialogView v(IDD_ADD_NUMBER, &add);
        v.init();
        v.type(IDC_ADD_EDIT, "491234446570");
        if (way == 0) v.click(IDC_ADD_CANCEL);
        if (way == 1) v.press_close_box();
        if (way == 2) v.press_escape();
        EXPECT_EQ(v.is_closed(), way != 2) << way;
        EXPECT_EQ(new_phone_number[0], '\0') << way;
    }
}

TEST_F(AddDialog, TextsByLanguage) {
    const struct {
        uint8_t language;
        const char *title, *add, *cancel, *label, *example, *too_short;
    } cases[] = {
        {0, "Nowy numer telefonu", "Dodaj", "Anuluj", "Numer    +", "np. +491234446570",
         "Numer - Wymagane minimum 11 cyfr"},
        {1, "New phone number", "Add", "Cancel", "Number   +", "e.g. +491234446570",
         "Number - Required minimum 11 digits"},
        {2, "Neue telefonnummer", "Hinzufügen", "Abbrechen", "Nummer   +", "z.B. +491234446570",
         "Nummer - min. 11 stellige Nummer erforderlich"},
        {3, "Neue telefonnummer", "Hinzufügen", "Abbrechen", "Nummer   +", "z.B. +491234446570",
         "Nummer - min. 11 stellige Nummer erforderlich"},
    };
    for (const auto& c : cases) {
        ui_language = c.language;
        AddNumberDialog add;
        FakeDialogView v(IDD_ADD_NUMBER, &add);
        v.init();
        EXPECT_EQ(v.title(), c.title);
        EXPECT_EQ(v.text(IDC_ADD_ADD), c.add);
        EXPECT_EQ(v.text(IDC_ADD_CANCEL), c.cancel);
        EXPECT_EQ(v.text(IDC_ADD_LABEL), c.label);
        EXPECT_EQ(v.text(IDC_ADD_EXAMPLE), c.example);
        v.click(IDC_ADD_ADD);
        ASSERT_EQ(v.messages().size(), 1u);
        EXPECT_EQ(v.messages()[0].text, c.too_short);
    }
}

}  // namespace
}  // namespace zavi
