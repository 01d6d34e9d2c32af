// A control's caption in the three languages, and the loop that labels a window with a table
// of them.
#pragma once

#include <cstdint>
#include <span>

#include "common/three_languages.h"
#include "ui/dialog_view.h"

namespace zavi {

struct Caption {
    int id;  // the control, or the menu item or popup for menu texts
    Texts text;
};

inline void set_captions(DialogView& view, std::span<const Caption> captions, uint8_t language) {
    for (const Caption& c : captions) view.set_text(c.id, c.text.in(language));
}

}  // namespace zavi
