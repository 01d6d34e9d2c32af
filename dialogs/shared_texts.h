// Texts that several Options dialogs show. Any language byte other than 0 and 1 gives German,
// so every list always gets all its items and an item's index stays its code.
#pragma once

#include <cstdint>

#include "common/language.h"

namespace zavi {

constexpr const char* save_text(uint8_t language) {
    return pick_text(language, "Zapisz", "Save", "Speichern");
}

constexpr const char* cancel_text(uint8_t language) {
    return pick_text(language, "Anuluj", "Cancel", "Abbrechen");
}

// Item 0 of the output and period lists.
constexpr const char* none_text(uint8_t language) {
    return pick_text(language, "Brak", "None", "None");
}

}  // namespace zavi
