#include "dialogs/add_number_dialog.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "resources/ids.h"
#include "ui/ui_language.h"

namespace zavi {

char new_phone_number[kNewPhoneNumberSize] = {};

namespace {

constexpr Texts kTitle{"Nowy numer telefonu", "New phone number", "Neue telefonnummer"};
constexpr Texts kSaveCaption{"Dodaj", "Add", "Hinzufügen"};

bool only_digits(const char* text) {
    for (; *text != '\0'; ++text)
        if (*text < '0' || *text > '9') return false;
    return true;
}

// Until a press of Add succeeds new_phone_number stays empty, so Cancel and the close box
// add nothing.
void show(DialogView& view, uint8_t language) {
    new_phone_number[0] = '\0';
    view.set_text_limit(IDC_ADD_EDIT, kMaxNewNumberDigits);
    view.set_edit_filter(IDC_ADD_EDIT, {EditFilterKind::digits, IDC_ADD_ADD});
    view.set_text(IDC_ADD_LABEL, pick_text(language, "Numer    +", "Number   +", "Nummer   +"));
    view.set_text(IDC_ADD_EXAMPLE, pick_text(language, "np. +491234446570", "e.g. +491234446570",
                                             "z.B. +491234446570"));
}

bool store(DialogView& view) {
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
        view.set_focus(IDC_ADD_EDIT);
        new_phone_number[0] = '\0';  // nothing to add unless a later press succeeds
        return false;
    }
    return true;
}

}  // namespace

AddNumberDialog::AddNumberDialog()
    : RecordDialog({IDC_ADD_ADD, IDC_ADD_CANCEL, kTitle, show, store, nullptr, /*saved_result=*/1,
                    kSaveCaption}) {}

}  // namespace zavi
