// The About box (dialog 1100): product name and program version.
#pragma once

#include "ui/dialog_view.h"

namespace zavi {

constexpr char kProgramVersion[] = "1.5";

class AboutDialog : public DialogLogic {
  public:
    void on_init(DialogView& view) override;
    void on_command(DialogView& view, int id, int code) override;
};

}  // namespace zavi
