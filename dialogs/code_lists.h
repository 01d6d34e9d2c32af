// Drop-down lists whose item index is the code stored in a record.
#pragma once

#include <cstdint>

#include "common/three_languages.h"
#include "ui/dialog_view.h"
#include "ui/vocabulary.h"

namespace zavi {

constexpr int kPeriodCodes = 6;  // never, 1 to 5 days

// Selects item `code`, or item 0 when the list has no such item.
void select_code(DialogView& view, int list, unsigned code);

// The selected item's index as a code; 0 when nothing or an item outside 0..count-1 is
// selected.
uint8_t selected_code(const DialogView& view, int list, int count);

// Fills `list` with text(0) ... text(count - 1); item 0 selected.
template <typename Text>
void fill_code_list(DialogView& view, int list, unsigned count, Text text) {
    view.clear_items(list);
    for (unsigned code = 0; code < count; ++code) view.add_item(list, text(code));
    view.select_item(list, 0);
}

// Fills `list` with the period items (never, 1 day ... 5 days) in `language`; item 0 selected.
void fill_period_list(DialogView& view, int list, uint8_t language);

// The label in front of a period list.
const char* period_label_text(uint8_t language);

}  // namespace zavi
