// The Telephone numbers dialog (106): the accepted callers, the accept-all flag and the
// emergency numbers. The two drop-down lists are the working copy; after every change the
// records are rebuilt from them, and Save sends the records.
#pragma once

#include "dialogs/record_dialog.h"
#include "ui/file_chooser.h"

namespace zavi {

// Counters and enable states from the two lists, then accept_all, accepted_numbers/count and
// emergency_numbers/count rebuilt from the check box and the list entries. The last entry of
// each non-empty list becomes its current one.
void refresh_phone_lists(DialogView& view);

// Import and Export ask `files` for their file; without one they do nothing.
struct PhoneNumbersDialog : RecordDialog {
    explicit PhoneNumbersDialog(FileChooser* files = nullptr);
};

}  // namespace zavi
