// Answer for Call (dialog 116): whether the module answers an incoming call with an SMS and what
// it does with each output, edited in call_answer.
#pragma once

#include "ui/dialog_view.h"

namespace zavi {

class CallAnswerDialog : public DialogLogic {
  public:
    void on_init(DialogView& view) override;
    void on_command(DialogView& view, int id, int code) override;

  private:
    void save(DialogView& view);
};

}  // namespace zavi
