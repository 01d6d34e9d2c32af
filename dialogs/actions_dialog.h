// Emergency procedures (dialog 103): SMS, CLIP and the two output actions of each of the nine
// alarm sources, edited in action_table.
#pragma once

#include "ui/dialog_view.h"

namespace zavi {

class ActionsDialog : public DialogLogic {
  public:
    void on_init(DialogView& view) override;
    void on_command(DialogView& view, int id, int code) override;

  private:
    void save(DialogView& view);
};

}  // namespace zavi
