// Auto-Reset (dialog 114): the period of the module's automatic reset, edited in auto_reset.
#pragma once

#include "ui/dialog_view.h"

namespace zavi {

class AutoResetDialog : public DialogLogic {
  public:
    void on_init(DialogView& view) override;
    void on_command(DialogView& view, int id, int code) override;

  private:
    void save(DialogView& view);
};

}  // namespace zavi
