// The logic of each Options dialog, by its template.
#pragma once

#include <memory>

#include "ui/dialog_view.h"
#include "ui/file_chooser.h"

namespace zavi {

// A new dialog logic for template `template_id`, or null for a template that is not an Options
// dialog. The dialogs work on the device records and device_handle; those that read or write
// files ask `files` for them.
std::unique_ptr<DialogLogic> make_options_dialog(int template_id, FileChooser* files = nullptr);

}  // namespace zavi
