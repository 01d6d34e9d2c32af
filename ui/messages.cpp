#include "ui/messages.h"

#include "common/three_languages.h"

namespace zavi {

void show_communication_error(DialogView& owner, uint8_t language) {
    owner.message_box(
        pick_text(language, "Błąd komunikacji - spróbuj ponownie",
                  "Communication error - try again", "Verbindungsfehler - versuche nochmal"),
        kAppTitle, MessageIcon::error, MessageButtons::ok);
}

}  // namespace zavi
