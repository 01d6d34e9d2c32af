// Import and Export of the accepted numbers in the Telephone numbers dialog (CSV). Both work on
// the dialog's list only: nothing reaches the module until Save.
#pragma once

#include <string>
#include <vector>

#include "config/numbers_csv.h"
#include "ui/dialog_view.h"
#include "ui/file_chooser.h"

namespace zavi {

// The summary of an import (template 131): counts, the first rejected rows with their lines
// and whether the result fits; the user picks Add, Replace or Cancel.
class ImportSummaryDialog : public DialogLogic {
  public:
    enum class Choice : uint8_t { cancel, add, replace };

    ImportSummaryDialog(config::ImportReport adding, config::ImportReport replacing)
        : adding_(std::move(adding)), replacing_(std::move(replacing)) {}
    void on_init(DialogView& view) override;
    void on_command(DialogView& view, int id, int code) override;
    Choice choice() const { return choice_; }

  private:
    config::ImportReport adding_, replacing_;
    Choice choice_ = Choice::cancel;
};

// The summary text in the user's language.
std::string import_summary_text(const config::ImportReport& adding,
                                const config::ImportReport& replacing, uint8_t language);

// Asks `files` for a CSV file, shows the summary and applies the choice to the accepted list.
// Without a chooser nothing happens.
void import_accepted_numbers(DialogView& view, FileChooser* files);
// Asks `files` for a file name and writes the accepted list to it.
void export_accepted_numbers(DialogView& view, FileChooser* files);

}  // namespace zavi
