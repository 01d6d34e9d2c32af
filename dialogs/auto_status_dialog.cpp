#include "dialogs/auto_status_dialog.h"

#include "app/language.h"
#include "app/messages.h"
#include "dialogs/code_lists.h"
#include "dialogs/shared_texts.h"
#include "link/config_commands.h"
#include "link/connection.h"
#include "link/records.h"
#include "resources/ids.h"

namespace zavi {

namespace {

constexpr uint8_t kSmsBit = 0x80;
constexpr uint8_t kClipBit = 0x40;
constexpr uint8_t kPeriodBits = 0x0F;  // bits 5-4 are always written as 0

}  // namespace

void AutoStatusDialog::on_init(DialogView& view) {
    const uint8_t language = ui_language;
    fill_period_list(view, IDC_AUTO_STATUS_PERIOD, language);

    const uint8_t value = auto_status.value;
    view.set_checked(IDC_AUTO_STATUS_SMS, (value & kSmsBit) != 0);
    view.set_checked(IDC_AUTO_STATUS_CLIP, (value & kClipBit) != 0);
    select_code(view, IDC_AUTO_STATUS_PERIOD, value & kPeriodBits);

    view.set_title("Auto-Status");
    view.set_text(IDC_AUTO_STATUS_LABEL, period_label_text(language));
    view.set_text(IDC_AUTO_STATUS_SAVE, save_text(language));
    view.set_text(IDC_AUTO_STATUS_CANCEL, cancel_text(language));
}

void AutoStatusDialog::on_command(DialogView& view, int id, int /*code*/) {
    if (id == IDC_AUTO_STATUS_SAVE) {
        save(view);
    } else if (id == IDC_AUTO_STATUS_CANCEL) {
        view.close(0);
    }
    // Anything else, the Escape key's IDCANCEL included, is ignored.
}

void AutoStatusDialog::save(DialogView& view) {
    uint8_t value = selected_code(view, IDC_AUTO_STATUS_PERIOD, kPeriodCodes);
    if (view.checked(IDC_AUTO_STATUS_SMS)) value |= kSmsBit;
    if (view.checked(IDC_AUTO_STATUS_CLIP)) value |= kClipBit;
    auto_status.value = value;
    if (write_auto_status(device_handle) != 0) {
        show_communication_error(view, ui_language);
        return;
    }
    view.close(0);
}

}  // namespace zavi
