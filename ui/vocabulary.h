// Words that several windows share: the common buttons, and the words the panels and dialogs
// show for values, shared with the differences list so that a value reads the same wherever it
// appears.
#pragma once

#include <cstdint>

#include "common/three_languages.h"

namespace zavi {

// The buttons that many windows share.
inline constexpr Texts kSaveTexts{"Zapisz", "Save", "Speichern"};
inline constexpr Texts kCancelTexts{"Anuluj", "Cancel", "Abbrechen"};
inline constexpr Texts kCloseTexts{"Zamknij", "Close", "Schließen"};

// A caption of a control, a menu item or a menu popup, in the three languages.
struct Caption {
    int id;
    Texts text;
};

// Item 0 of the output and period lists. Any language byte other than 0 and 1 gives German, so
// every list always gets all its items and an item's index stays its code.
constexpr const char* none_text(uint8_t language) {
    return pick_text(language, "Brak", "None", "None");
}

// An input's trigger mode as its list shows it: IN-1/IN-2 (closed or open), P-IN-1/P-IN-2
// (voltage or no voltage).
const char* trigger_mode_text(bool potential_input, bool open, uint8_t language);

// An emergency procedure's action on OUT-1 or OUT-2 (`output` 1 or 2): 0 none, 1 on, 2 off,
// 3 on for 2 s; nullptr for other codes.
const char* output_action_text(int output, unsigned code, uint8_t language);

// A call answer's reaction on OUT-1 or OUT-2: 0 none, 1 change, 2 on for 2 s; nullptr for
// other codes.
const char* call_reaction_text(int output, unsigned code, uint8_t language);

// A period list's item: 0 none, 1 to 5 days; nullptr for other codes.
const char* period_item_text(unsigned code, uint8_t language);

// The labels of the Telephone numbers dialog's two lists and its "accept all" box.
const char* emergency_numbers_label(uint8_t language);
const char* accepted_numbers_label(uint8_t language);
const char* accept_all_label(uint8_t language);

}  // namespace zavi
