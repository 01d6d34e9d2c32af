#include "dialogs/add_number_dialog.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/language.h"
#include "resources/ids.h"

namespace zavi {

char new_phone_number[kNewPhoneNumberSize] = {};

namespace {

bool only_digits(const char* text) {
    for (; *text != '\0'; ++text)
        if (*text < '0' || *text > '9') return false;
    return true;
}

void add_nothing(DialogView& view) {
    new_phone_number[0] = '\0';
    view.close(0);
}

}  // namespace

void AddNumberDialog::on_init(DialogView& view) {
    new_phone_number[0] = '\0';
    view.set_text_limit(IDC_ADD_EDIT, kMaxNewNumberDigits);
    view.set_edit_filter(IDC_ADD_EDIT, {EditFilterKind::digits, IDC_ADD_ADD});

    const uint8_t language = ui_language;
    view.set_title(
        pick_text(language, "Nowy numer telefonu", "New phone number", "Neue telefonnummer"));
    view.set_text(IDC_ADD_ADD, pick_text(language, "Dodaj", "Add", "Hinzufügen"));
    view.set_text(IDC_ADD_CANCEL, pick_text(language, "Anuluj", "Cancel", "Abbrechen"));
    view.set_text(IDC_ADD_LABEL, pick_text(language, "Numer    +", "Number   +", "Nummer   +"));
    view.set_text(IDC_ADD_EXAMPLE, pick_text(language, "np. +491234446570", "e.g. +491234446570",
                                             "z.B. +491234446570"));
}

void AddNumberDialog::on_command(DialogView& view, int id, int /*code*/) {
    if (id == IDC_ADD_CANCEL) {
        add_nothing(view);
        return;
    }
    if (id != IDC_ADD_ADD) return;  // Escape's IDCANCEL included

    const std::string typed = view.text(IDC_ADD_EDIT);
    const std::size_t length = std::min(typed.size(), kNewPhoneNumberSize - 1);
    std::memcpy(new_phone_number, typed.data(), length);
    new_phone_number[length] = '\0';

    // The filter and the limit keep anything but 11 to 14 digits out of the edit; text that got
    // past them (pasted, say) is refused the same way as a short number rather than stored.
    const bool fits = typed.size() <= static_cast<std::size_t>(kMaxNewNumberDigits) &&
                      only_digits(new_phone_number);
    if (length < static_cast<std::size_t>(kMinNewNumberDigits) || !fits) {
        view.message_box(pick_text(ui_language, "Numer - Wymagane minimum 11 cyfr",
                                   "Number - Required minimum 11 digits",
                                   "Nummer - min. 11 stellige Nummer erforderlich"),
                         kAppTitle, MessageIcon::error, MessageButtons::ok);
        new_phone_number[0] = '\0';  // nothing to add unless a later press succeeds
        return;
    }
    view.close(1);
}

void AddNumberDialog::on_close(DialogView& view) {
    add_nothing(view);
}

}  // namespace zavi
