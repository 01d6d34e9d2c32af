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
    static constexpr const char* kDays[][3] = {
        {"1 dzień", "1 day", "1 Tag"}, {"2 dni", "2 days", "2 Tage"}, {"3 dni", "3 days", "3 Tage"},
        {"4 dni", "4 days", "4 Tage"}, {"5 dni", "5 days", "5 Tage"},
    };
    view.clear_items(list);
    view.add_item(list, none_text(language));
    for (const auto& day : kDays) view.add_item(list, pick_text(language, day[0], day[1], day[2]));
    view.select_item(list, 0);
}

const char* period_label_text(uint8_t language) {
    return pick_text(language, "Okres wyzwalania", "Trigger period", "Auslöseintervall");
}

}  // namespace zavi
