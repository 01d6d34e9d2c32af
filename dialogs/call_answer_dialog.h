// Answer for Call (dialog 116): whether the module answers an incoming call with an SMS and what
// it does with each output, edited in call_answer.
#pragma once

#include "dialogs/record_dialog.h"

namespace zavi {

struct CallAnswerDialog : RecordDialog {
    CallAnswerDialog();
};

}  // namespace zavi
