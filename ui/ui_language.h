// The language of the user interface, which every window and box is labelled in.
#pragma once

#include <cstdint>

#include "common/three_languages.h"

namespace zavi {

// 0 Polish, 1 English, 2 German; loaded from the settings file, changed by the Language menu.
inline uint8_t ui_language = kEnglish;

}  // namespace zavi
