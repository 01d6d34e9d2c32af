// Auto-Status (dialog 120): the period of the module's automatic status report and whether it
// goes by SMS and/or CLIP call, edited in auto_status.
#pragma once

#include "ui/dialog_view.h"

namespace zavi {

class AutoStatusDialog : public DialogLogic {
  public:
    void on_init(DialogView& view) override;
    void on_command(DialogView& view, int id, int code) override;

  private:
    void save(DialogView& view);
};

}  // namespace zavi
