// The differences between the module and a configuration file (template 130): a read-only
// list in the program's words, one line each ("Auto-Reset, Trigger period: 9 days → 5 days").
// For Restore it has Restore and Cancel; for Compare only Close, and nothing is ever written
// from here.
#pragma once

#include <vector>

#include "config/compare.h"
#include "ui/dialog_view.h"

namespace zavi {

class DifferencesDialog : public DialogLogic {
  public:
    DifferencesDialog(std::vector<config::Difference> differences, bool for_restore)
        : differences_(std::move(differences)), for_restore_(for_restore) {}

    void on_init(DialogView& view) override;
    void on_command(DialogView& view, int id, int code) override;

    // True when Restore was pressed.
    bool accepted() const { return accepted_; }

  private:
    std::vector<config::Difference> differences_;
    bool for_restore_;
    bool accepted_ = false;
};

}  // namespace zavi
