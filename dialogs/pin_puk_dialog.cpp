#include "dialogs/pin_puk_dialog.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "dialogs/options_titles.h"
#include "link/config_commands.h"
#include "link/connection.h"
#include "link/records.h"
#include "resources/ids.h"
#include "ui/ui_language.h"

namespace zavi {

namespace {

constexpr int kPinDigits = 4;
constexpr int kPukDigits = 8;

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

// Copies the first `limit` characters of UTF-8 `text` into `out`, one byte each (a character
// outside ASCII becomes '\0', which counts 0), and returns how many were copied.
int take_characters(std::string_view text, char* out, int limit) {
    int count = 0;
    for (std::size_t i = 0; i < text.size() && count < limit; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) == 0x80) continue;  // continuation of the character before
        out[count++] = byte < 0x80 ? static_cast<char>(byte) : '\0';
    }
    return count;
}

// `digits` characters taken two by two, the first pair most significant.
uint32_t packed_value(const char* text, int digits) {
    uint32_t value = 0;
    for (int i = 0; i < digits; i += 2) value = value << 8 | hex_pair_to_byte(text[i], text[i + 1]);
    return value;
}

// The code typed in `edit`, its digits packed two by two, or `none` for an empty edit. False,
// with `message` shown, when the edit holds neither nothing nor `digits` characters.
bool read_code(DialogView& view, int edit, int digits, uint32_t none, const Texts& message,
               uint32_t& code) {
    char text[kPukDigits];
    const int length = take_characters(view.text(edit), text, digits);
    if (length != 0 && length != digits) {
        view.message_box(message.in(ui_language), kAppTitle, MessageIcon::error,
                         MessageButtons::ok);
        view.set_focus(edit);
        return false;
    }
    code = length == 0 ? none : packed_value(text, digits);
    return true;
}

void show(DialogView& view, uint8_t /*language*/) {
    // Each nibble is shown as one hexadecimal digit, so a value from the module that is not
    // packed decimal shows its letters and goes back unchanged.
    const auto show_code = [&view](int edit, int digits, unsigned code, unsigned none) {
        view.set_edit_filter(edit, {EditFilterKind::digits, 0});
        view.set_text_limit(edit, digits);
        char text[16] = "";
        if (code != none) std::snprintf(text, sizeof text, "%.*X", digits, code);
        view.set_text(edit, text);
    };
    show_code(IDC_PIN_EDIT, kPinDigits, sim_codes.pin, kPinNotSet);
    show_code(IDC_PUK_EDIT, kPukDigits, sim_codes.puk, kPukNotSet);
}

bool store(DialogView& view) {
    uint32_t pin = 0, puk = 0;
    if (!read_code(view, IDC_PIN_EDIT, kPinDigits, kPinNotSet,
                   {"PIN - wymagane 4 cyfry", "PIN - Required 4 digits",
                    "PIN - 4 stellige  Nummer erforderlich"},
                   pin) ||
        !read_code(view, IDC_PUK_EDIT, kPukDigits, kPukNotSet,
                   {"PUK - wymagane 8 cyfr", "PUK - Required 8 digits",
                    "PUK - 8 stellige Nummer erforderlich"},
                   puk))
        return false;
    sim_codes.pin = static_cast<uint16_t>(pin);
    sim_codes.puk = puk;
    return true;
}

}  // namespace

uint8_t hex_pair_to_byte(char high, char low) {
    return static_cast<uint8_t>(hex_value(high) * 16 + hex_value(low));
}

PinPukDialog::PinPukDialog()
    : RecordDialog(
          {IDC_PIN_PUK_SAVE, IDC_PIN_PUK_CANCEL, kPinPukTitle, show, store, write_sim_codes}) {}

}  // namespace zavi
