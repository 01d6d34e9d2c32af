// A static control drawn as a plot of dBm values (the signal survey).
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

namespace zavi {

// Draws `values` in `control` from now on (and redraws it); none is a gap. The data stays
// with the control until it is destroyed.
void show_plot(HWND control, const std::vector<std::optional<int>>& values, int line1, int line2);

}  // namespace zavi
