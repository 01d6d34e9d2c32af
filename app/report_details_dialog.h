// Asks for the site label and installer name a commissioning report names (142), offering the
// ones used last time. OK (or Enter) accepts them as typed; Cancel, Escape and the close box
// give up the report.
#pragma once

#include <cstdint>

#include "app/settings.h"
#include "ui/dialog_view.h"

namespace zavi {

class ReportDetailsDialog : public DialogLogic {
  public:
    ReportDetailsDialog(uint8_t language, ReportNames offered)
        : language_(language), names_(std::move(offered)) {}

    void on_init(DialogView& view) override;
    void on_command(DialogView& view, int id, int code) override;

    bool accepted() const { return accepted_; }
    // As typed when accepted, trimmed of spaces at both ends; else the offered ones.
    const ReportNames& names() const { return names_; }

  private:
    uint8_t language_;
    ReportNames names_;
    bool accepted_ = false;
};

}  // namespace zavi
