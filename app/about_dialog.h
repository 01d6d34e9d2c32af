// The About box (dialog 1100): product name, program version and how the module is reached.
#pragma once

#include <string>
#include <utility>

#include "ui/dialog_view.h"

namespace zavi {

constexpr char kProgramVersion[] = "1.5";

class AboutDialog : public DialogLogic {
  public:
    // `connection_kind` ("COM5", "D2XX"; empty when unknown) is shown below the version.
    explicit AboutDialog(std::string connection_kind = {})
        : connection_kind_(std::move(connection_kind)) {}
    void on_init(DialogView& view) override;
    void on_command(DialogView& view, int id, int code) override;

  private:
    std::string connection_kind_;
};

}  // namespace zavi
