// The frame every Options dialog shares. On opening: the title and the Save and Cancel
// captions in the user's language, then the dialog's own captions and its record. Save reads
// the controls into the record (store), sends it (write) and closes, or shows the
// communication-error box and stays open; Cancel and the close box close with nothing sent;
// Escape and every other command are ignored unless the dialog takes them (on_other_command).
#pragma once

#include <cstdint>
#include <functional>

#include "common/three_languages.h"
#include "link/driver.h"
#include "link/result.h"
#include "ui/dialog_view.h"
#include "ui/vocabulary.h"

namespace zavi {

// What one dialog supplies to the frame.
struct RecordForm {
    int save, cancel;  // button IDs
    Texts title;
    // The dialog's other captions and its record in the controls.
    void (*show)(DialogView& view, uint8_t language);
    // The controls into the record; false when the input is refused (the dialog said why).
    // Null when the record follows the controls already.
    bool (*store)(DialogView& view);
    // Sends the record; null when there is nothing to send.
    LinkResult (*write)(DriverHandle handle);
    int saved_result = 0;  // what the dialog ends with after a successful Save
    Texts save_caption = kSaveTexts;
    // Commands besides Save and Cancel; null when there are none.
    std::function<void(DialogView& view, int id, int code)> other_command = nullptr;
};

class RecordDialog : public DialogLogic {
  public:
    explicit RecordDialog(const RecordForm& form) : form_(form) {}
    void on_init(DialogView& view) final;
    void on_command(DialogView& view, int id, int code) final;

  private:
    RecordForm form_;
};

}  // namespace zavi
