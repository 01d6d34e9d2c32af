#include "dialogs/auto_reset_dialog.h"

#include "dialogs/code_lists.h"
#include "dialogs/options_titles.h"
#include "link/config_commands.h"
#include "link/records.h"
#include "resources/ids.h"

namespace zavi {

namespace {

void show(DialogView& view, uint8_t language) {
    fill_period_list(view, IDC_AUTO_RESET_PERIOD, language);
    select_code(view, IDC_AUTO_RESET_PERIOD, auto_reset.period);
    view.set_text(IDC_AUTO_RESET_LABEL, period_label_text(language));
}

bool store(DialogView& view) {
    auto_reset.period = selected_code(view, IDC_AUTO_RESET_PERIOD, kPeriodCodes);
    return true;
}

}  // namespace

AutoResetDialog::AutoResetDialog()
    : RecordDialog({IDC_AUTO_RESET_SAVE, IDC_AUTO_RESET_CANCEL, kAutoResetTitle, show, store,
                    write_auto_reset}) {}

}  // namespace zavi
