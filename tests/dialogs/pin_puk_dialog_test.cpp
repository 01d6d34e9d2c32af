#include "dialogs/pin_puk_dialog.h"

#include <gtest/gtest.h>

#include "link/config_commands.h"
#include "resources/ids.h"
#include "tests/dialogs/dialog_fixture.h"

namespace zavi::test {
namespace {

TEST(HexPairToByte, CountsHexDigitsAndNothingElse) {
    const struct {
        char high, low;
        uint8_t byte;
    } cases[] = {
        {'0', '0', 0x00}, {'9', '9', 0x99}, {'1', '2', 0x12},  {'A', 'f', 0xAF},
        {'a', 'F', 0xAF}, {'F', 'F', 0xFF}, {'G', '1', 0x01},  {'7', 'g', 0x70},
        {'/', ':', 0x00}, {'@', '`', 0x00}, {' ', '\0', 0x00},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hex_pair_to_byte(c.high, c.low), c.byte) << c.high << c.low;
    }
}

class PinPukTest : public DialogTest {
  protected:
    FakeDialogView& open_with(uint16_t pin, uint32_t puk) {
        state().pin = pin;
        state().puk = puk;
        return open(IDD_PIN_PUK, dialog, read_sim_codes);
    }
    PinPukDialog dialog;
};

TEST_F(PinPukTest, ShowsEachNibbleAsOneCharacter) {
    const struct {
        uint16_t pin;
        uint32_t puk;
        const char *pin_text, *puk_text;
    } cases[] = {
        {0x1234, 0x87654321, "1234", "87654321"},
        {0xFFFF, 0xFFFFFFFF, "", ""},
        {0x0001, 0x00000000, "0001", "00000000"},
        {0xAB0F, 0x0000000A, "AB0F", "0000000A"},  // not packed decimal: letters
        {0xFFFE, 0xFFFFFFF0, "FFFE", "FFFFFFF0"},  // near the not-set values
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pin_text);
        PinPukDialog fresh;
        state().pin = c.pin;
        state().puk = c.puk;
        open(IDD_PIN_PUK, fresh, read_sim_codes);
        EXPECT_EQ(view().text(IDC_PIN_EDIT), c.pin_text);
        EXPECT_EQ(view().text(IDC_PUK_EDIT), c.puk_text);
    }
    // Only digits are typed, at most 4 and 8 of them.
    for (int edit : {IDC_PIN_EDIT, IDC_PUK_EDIT})
        EXPECT_EQ(view().control(edit).filter.kind, EditFilterKind::digits);
    EXPECT_EQ(view().control(IDC_PIN_EDIT).limit, 4);
    EXPECT_EQ(view().control(IDC_PUK_EDIT).limit, 8);
}

TEST_F(PinPukTest, SaveSendsTheTypedCodes) {
    const struct {
        const char *pin, *puk;
        Bytes sent;
    } cases[] = {
        {"", "", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"", "12345678", {0xFF, 0xFF, 0x12, 0x34, 0x56, 0x78}},
        {"1234", "", {0x12, 0x34, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"0000", "00000000", {0, 0, 0, 0, 0, 0}},
        {"9999", "99999999", {0x99, 0x99, 0x99, 0x99, 0x99, 0x99}},
        {"0910", "10203040", {0x09, 0x10, 0x10, 0x20, 0x30, 0x40}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pin << "/" << c.puk);
        PinPukDialog fresh;
        state().pin = 0x5555;
        state().puk = 0x55555555;
        open(IDD_PIN_PUK, fresh, read_sim_codes);
        view().set_text(IDC_PIN_EDIT, "");
        view().set_text(IDC_PUK_EDIT, "");
        view().type(IDC_PIN_EDIT, c.pin);
        view().type(IDC_PUK_EDIT, c.puk);
        view().click(IDC_PIN_PUK_SAVE);
        EXPECT_TRUE(view().messages().empty());
        EXPECT_TRUE(view().is_closed());
        EXPECT_EQ(sent(10), std::vector<Bytes>{c.sent});
        EXPECT_EQ(state().pin, c.sent[0] << 8 | c.sent[1]);
    }
}

// Codes the module holds that are not packed decimal go back unchanged, and a saved code is
// shown with the same digits when the dialog opens again.
TEST_F(PinPukTest, CodesSurviveARoundTrip) {
    open_with(0xAB0F, 0xFEDCBA98);
    view().click(IDC_PIN_PUK_SAVE);
    EXPECT_EQ(sent(10), (std::vector<Bytes>{{0xAB, 0x0F, 0xFE, 0xDC, 0xBA, 0x98}}));

    PinPukDialog second;
    open(IDD_PIN_PUK, second, read_sim_codes);
    view().set_text(IDC_PIN_EDIT, "");
    view().type(IDC_PIN_EDIT, "0420");
    view().click(IDC_PIN_PUK_SAVE);
    PinPukDialog third;
    open(IDD_PIN_PUK, third, read_sim_codes);
    EXPECT_EQ(view().text(IDC_PIN_EDIT), "0420");
    EXPECT_EQ(view().text(IDC_PUK_EDIT), "FEDCBA98");
}

// A wrong length shows its message, stores nothing and sends nothing; the PIN is checked first.
TEST_F(PinPukTest, WrongLengthsAreRefused) {
    const char kPin[] = "PIN - Required 4 digits";
    const char kPuk[] = "PUK - Required 8 digits";
    const struct {
        const char *pin, *puk, *message;
    } cases[] = {
        {"123", "12345678", kPin}, {"1", "", kPin}, {"123", "1", kPin},
        {"1234", "1234567", kPuk}, {"", "1", kPuk}, {"12", "123", kPin},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pin << "/" << c.puk);
        PinPukDialog fresh;
        state().pin = 0x1111;
        state().puk = 0x22222222;
        open(IDD_PIN_PUK, fresh, read_sim_codes);
        view().set_text(IDC_PIN_EDIT, c.pin);
        view().set_text(IDC_PUK_EDIT, c.puk);
        view().click(IDC_PIN_PUK_SAVE);
        expect_only_error_box(c.message);
        EXPECT_EQ(view().focus(), c.message == kPin ? IDC_PIN_EDIT : IDC_PUK_EDIT);
        EXPECT_FALSE(view().is_closed());
        EXPECT_TRUE(commands_received().empty());
        EXPECT_EQ(sim_codes.pin, 0x1111);
        EXPECT_EQ(sim_codes.puk, 0x22222222u);
    }
}

// Text put into an edit from outside (not typed) counts by characters, the first four or eight.
TEST_F(PinPukTest, OnlyTheFirstCharactersCount) {
    open_with(0xFFFF, 0xFFFFFFFF);
    view().set_text(IDC_PIN_EDIT, "12345");
    view().set_text(IDC_PUK_EDIT, "12345678999");
    view().click(IDC_PIN_PUK_SAVE);
    EXPECT_EQ(sent(10), (std::vector<Bytes>{{0x12, 0x34, 0x12, 0x34, 0x56, 0x78}}));

    PinPukDialog second;
    open(IDD_PIN_PUK, second, read_sim_codes);
    view().set_text(IDC_PIN_EDIT, "1ä3");  // three characters, four bytes
    view().click(IDC_PIN_PUK_SAVE);
    expect_only_error_box("PIN - Required 4 digits");
    view().clear_messages();
    view().set_text(IDC_PIN_EDIT, "1ä34");  // a character that is no digit counts 0
    view().click(IDC_PIN_PUK_SAVE);
    EXPECT_TRUE(view().messages().empty());
    EXPECT_EQ(sent(10).back(), (Bytes{0x10, 0x34, 0x12, 0x34, 0x56, 0x78}));
}

TEST_F(PinPukTest, TextsFollowTheLanguage) {
    const struct {
        uint8_t language;
        const char *title, *save, *cancel, *pin_message, *puk_message;
    } cases[] = {
        {0, "PIN i PUK", "Zapisz", "Anuluj", "PIN - wymagane 4 cyfry", "PUK - wymagane 8 cyfr"},
        {1, "PIN and PUK", "Save", "Cancel", "PIN - Required 4 digits", "PUK - Required 8 digits"},
        {2, "PIN und PUK", "Speichern", "Abbrechen", "PIN - 4 stellige  Nummer erforderlich",
         "PUK - 8 stellige Nummer erforderlich"},
        {5, "PIN und PUK", "Speichern", "Abbrechen", "PIN - 4 stellige  Nummer erforderlich",
         "PUK - 8 stellige Nummer erforderlich"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.language));
        ui_language = c.language;
        PinPukDialog fresh;
        open(IDD_PIN_PUK, fresh, read_sim_codes);
        EXPECT_EQ(view().title(), c.title);
        EXPECT_EQ(view().text(IDC_PIN_PUK_SAVE), c.save);
        EXPECT_EQ(view().text(IDC_PIN_PUK_CANCEL), c.cancel);
        view().set_text(IDC_PIN_EDIT, "12");
        view().click(IDC_PIN_PUK_SAVE);
        expect_only_error_box(c.pin_message);
        view().clear_messages();
        view().set_text(IDC_PIN_EDIT, "");
        view().set_text(IDC_PUK_EDIT, "12");
        view().click(IDC_PIN_PUK_SAVE);
        expect_only_error_box(c.puk_message);
    }
}

}  // namespace
}  // namespace zavi::test
