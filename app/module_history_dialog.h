// File -> Module history (template 152): the connected module's kept copies, newest first, each
// with its time, site, operation and result and what changed since the copy before, in the
// words of the differences window. A module of unknown identity has no history of its own, and
// the window says so. Read-only; nothing is sent to the module.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/module_identity.h"
#include "fleet/module_history.h"
#include "ui/dialog_view.h"

namespace zavi {

class ModuleHistoryDialog : public DialogLogic {
  public:
    ModuleHistoryDialog(std::string history_folder, ModuleIdentity identity, uint8_t language)
        : folder_(std::move(history_folder)), identity_(std::move(identity)), language_(language) {}

    void on_init(DialogView& view) override;
    void on_command(DialogView& view, int id, int code) override;

  private:
    std::string folder_;
    ModuleIdentity identity_;
    uint8_t language_;
};

// The lines the window lists for `history`, newest first.
std::vector<std::string> module_history_lines(const fleet::ModuleHistory& history,
                                              uint8_t language);

// Opens the window for the module of `identity`, with the history beside `backup_folder`.
void show_module_history(DialogView& main_window, const ModuleIdentity& identity,
                         const std::string& backup_folder, uint8_t language);

}  // namespace zavi
