#include "ui/messages.h"

#include "common/three_languages.h"

namespace zavi {

void show_message(DialogView& owner, std::string_view text, MessageIcon icon) {
    owner.message_box(text, kAppTitle, icon, MessageButtons::ok);
}

void show_communication_error(DialogView& owner, uint8_t language) {
    show_message(
        owner,
        pick_text(language, "Błąd komunikacji - spróbuj ponownie",
                  "Communication error - try again", "Verbindungsfehler - versuche nochmal"),
        MessageIcon::error);
}

}  // namespace zavi
