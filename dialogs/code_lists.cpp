#include "dialogs/code_lists.h"

namespace zavi {

void select_code(DialogView& view, int list, unsigned code) {
    const bool known = code < static_cast<unsigned>(view.item_count(list));
    view.select_item(list, known ? static_cast<int>(code) : 0);
}

uint8_t selected_code(const DialogView& view, int list, int count) {
    const int index = view.selected_item(list);
    return index > 0 && index < count ? static_cast<uint8_t>(index) : 0;
}

void fill_period_list(DialogView& view, int list, uint8_t language) {
    fill_code_list(view, list, kPeriodCodes,
                   [language](unsigned code) { return period_item_text(code, language); });
}

const char* period_label_text(uint8_t language) {
    return pick_text(language, "Okres wyzwalania", "Trigger period", "Auslöseintervall");
}

}  // namespace zavi
