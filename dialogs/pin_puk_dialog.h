// PIN and PUK (dialog 100): the SIM card's codes kept by the module, edited in sim_codes. An
// empty field means the code is not set.
#pragma once

#include <cstdint>

#include "dialogs/record_dialog.h"

namespace zavi {

// Two characters, high first, each counting 0-9 for "0"-"9", 10-15 for "A"-"F" and "a"-"f" and
// 0 for anything else; returns high * 16 + low.
uint8_t hex_pair_to_byte(char high, char low);

struct PinPukDialog : RecordDialog {
    PinPukDialog();
};

}  // namespace zavi
