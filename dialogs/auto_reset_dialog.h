// Auto-Reset (dialog 114): the period of the module's automatic reset, edited in auto_reset.
#pragma once

#include "dialogs/record_dialog.h"

namespace zavi {

struct AutoResetDialog : RecordDialog {
    AutoResetDialog();
};

}  // namespace zavi
