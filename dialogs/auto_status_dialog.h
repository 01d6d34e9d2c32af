// Auto-Status (dialog 120): the period of the module's automatic status report and whether it
// goes by SMS and/or CLIP call, edited in auto_status.
#pragma once

#include "dialogs/record_dialog.h"

namespace zavi {

struct AutoStatusDialog : RecordDialog {
    AutoStatusDialog();
};

}  // namespace zavi
