// What a dialog that changes by itself adds to its logic: a timer, and a control whose text is
// shown large and in a colour the logic picks. The host checks for it when the dialog starts.
#pragma once

#include <cstdint>

#include "ui/dialog_view.h"

namespace zavi {

struct TextColour {
    uint8_t red = 0, green = 0, blue = 0;
};

class TimedDialog {
  public:
    virtual ~TimedDialog() = default;
    virtual int timer_interval_ms() const = 0;
    virtual void on_timer(DialogView& view) = 0;
    // The control shown in large bold letters (0: none) and its colour now.
    virtual int large_text_id() const { return 0; }
    virtual TextColour large_text_colour() const { return {}; }
};

}  // namespace zavi
