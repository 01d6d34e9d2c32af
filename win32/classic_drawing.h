// Controls whose look the visual style would override: a progress bar with its own colour and
// flat buttons are drawn the classic way.
#pragma once

#include <windows.h>

namespace zavi {

// Switches visual styles off for one control.
void draw_classic(HWND control);

// Every button of `dialog` with BS_FLAT: a themed button ignores the flat style and would be
// drawn as an ordinary (raised, rounded) button.
void draw_flat_buttons_classic(HWND dialog);

}  // namespace zavi
