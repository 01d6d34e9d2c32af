// One visit to an Options dialog as the main window makes it: the dialog's read job, and when
// it succeeded the dialog opens on the records just read and the user presses Save. The view
// checks that every text the dialog shows is valid UTF-8, whatever bytes the module sent.
#pragma once

#include <cstdint>

#include "link/driver.h"
#include "link/result.h"
#include "ui/fake_dialog_view.h"

namespace zavi::fuzz {

// The templates of the seven Options dialogs, in the order the targets select them.
constexpr int kOptionsDialogs[] = {100, 103, 106, 112, 116, 120, 114};
constexpr int kOptionsDialogCount = 7;

class CheckingView : public FakeDialogView {
  public:
    using FakeDialogView::FakeDialogView;
    void set_title(std::string_view text) override;
    void set_text(int id, std::string_view text) override;
    void add_item(int id, std::string_view text) override;
};

// Result of the read job; the dialog ran only when it was 0. `saved` tells whether it closed
// after Save.
LinkResult run_dialog_session(int template_id, DriverHandle handle, bool* saved);

}  // namespace zavi::fuzz
