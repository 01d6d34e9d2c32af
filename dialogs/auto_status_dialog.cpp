#include "dialogs/auto_status_dialog.h"

#include "dialogs/code_lists.h"
#include "dialogs/options_titles.h"
#include "link/config_commands.h"
#include "link/records.h"
#include "resources/ids.h"

namespace zavi {

namespace {

void show(DialogView& view, uint8_t language) {
    fill_period_list(view, IDC_AUTO_STATUS_PERIOD, language);
    const uint8_t value = auto_status.value;
    view.set_checked(IDC_AUTO_STATUS_SMS, (value & kAutoStatusSmsBit) != 0);
    view.set_checked(IDC_AUTO_STATUS_CLIP, (value & kAutoStatusClipBit) != 0);
    select_code(view, IDC_AUTO_STATUS_PERIOD, value & kAutoStatusPeriodBits);
    view.set_text(IDC_AUTO_STATUS_LABEL, period_label_text(language));
}

bool store(DialogView& view) {
    uint8_t value = selected_code(view, IDC_AUTO_STATUS_PERIOD, kPeriodCodes);
    if (view.checked(IDC_AUTO_STATUS_SMS)) value |= kAutoStatusSmsBit;
    if (view.checked(IDC_AUTO_STATUS_CLIP)) value |= kAutoStatusClipBit;
    auto_status.value = value;
    return true;
}

}  // namespace

AutoStatusDialog::AutoStatusDialog()
    : RecordDialog({IDC_AUTO_STATUS_SAVE, IDC_AUTO_STATUS_CANCEL, kAutoStatusTitle, show, store,
                    write_auto_status}) {}

}  // namespace zavi
