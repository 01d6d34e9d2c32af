// The I/O state names dialog (112): twelve edits, one per input or output state.
#pragma once

#include "dialogs/record_dialog.h"
#include "link/records.h"
#include "resources/ids.h"

namespace zavi {

constexpr int kIoNameEditLimit = static_cast<int>(kIoNameMaxSent);  // what the module takes

// Edit of each name slot; the first four are not in ID order.
constexpr int kIoNameEdits[kIoNameCount] = {
    IDC_IO_NAME_SLOT0, IDC_IO_NAME_SLOT1, IDC_IO_NAME_SLOT2,  IDC_IO_NAME_SLOT3,
    IDC_IO_NAME_SLOT4, IDC_IO_NAME_SLOT5, IDC_IO_NAME_SLOT6,  IDC_IO_NAME_SLOT7,
    IDC_IO_NAME_SLOT8, IDC_IO_NAME_SLOT9, IDC_IO_NAME_SLOT10, IDC_IO_NAME_SLOT11,
};

// Removes, in place, every character but spaces, digits and ASCII letters; the rest close up
// in their order. Never reads past the slot, and leaves it NUL-terminated.
void clean_io_name(char (&name)[kIoNameSlot]);

struct IoNamesDialog : RecordDialog {
    IoNamesDialog();
};

}  // namespace zavi
