// Whether the texts of a dialog's controls fit them at the current DPI, measured with each
// control's own font as Windows would draw it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace zavi {

// One line per text that does not fit: control ID, text, room and need in pixels.
std::vector<std::string> clipped_texts(HWND dialog);

}  // namespace zavi
