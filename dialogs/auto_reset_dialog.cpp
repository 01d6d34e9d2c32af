#include "dialogs/auto_reset_dialog.h"

#include "app/language.h"
#include "app/messages.h"
#include "dialogs/code_lists.h"
#include "dialogs/shared_texts.h"
#include "link/config_commands.h"
#include "link/connection.h"
#include "link/records.h"
#include "resources/ids.h"

namespace zavi {

void AutoResetDialog::on_init(DialogView& view) {
    const uint8_t language = ui_language;
    fill_period_list(view, IDC_AUTO_RESET_PERIOD, language);
    select_code(view, IDC_AUTO_RESET_PERIOD, auto_reset.period);

    view.set_title("Auto-Reset");
    view.set_text(IDC_AUTO_RESET_LABEL, period_label_text(language));
    view.set_text(IDC_AUTO_RESET_SAVE, save_text(language));
    view.set_text(IDC_AUTO_RESET_CANCEL, cancel_text(language));
}

void AutoResetDialog::on_command(DialogView& view, int id, int /*code*/) {
    if (id == IDC_AUTO_RESET_SAVE) {
        save(view);
    } else if (id == IDC_AUTO_RESET_CANCEL) {
        view.close(0);
    }
    // Anything else, the Escape key's IDCANCEL included, is ignored.
}

void AutoResetDialog::save(DialogView& view) {
    auto_reset.period = selected_code(view, IDC_AUTO_RESET_PERIOD, kPeriodCodes);
    if (write_auto_reset(device_handle) != 0) {
        show_communication_error(view, ui_language);
        return;
    }
    view.close(0);
}

}  // namespace zavi
