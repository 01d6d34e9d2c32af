// PIN and PUK (dialog 100): the SIM card's codes kept by the module, edited in sim_codes. An
// empty field means the code is not set.
#pragma once

#include <cstdint>

#include "ui/dialog_view.h"

namespace zavi {

// Two characters, high first, each counting 0-9 for "0"-"9", 10-15 for "A"-"F" and "a"-"f" and
// 0 for anything else; returns high * 16 + low.
uint8_t hex_pair_to_byte(char high, char low);

class PinPukDialog : public DialogLogic {
  public:
    void on_init(DialogView& view) override;
    void on_command(DialogView& view, int id, int code) override;

  private:
    void save(DialogView& view);
};

}  // namespace zavi
