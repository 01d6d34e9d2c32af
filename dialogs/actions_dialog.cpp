#include "dialogs/actions_dialog.h"

#include "dialogs/code_lists.h"
#include "dialogs/options_titles.h"
#include "link/config_commands.h"
#include "link/records.h"
#include "resources/ids.h"
#include "ui/ui_language.h"

namespace zavi {

namespace {

static_assert(sizeof kActionRows / sizeof kActionRows[0] == sizeof action_table.entry);

void show(DialogView& view, uint8_t language) {
    for (std::size_t i = 0; i < sizeof kActionRows / sizeof kActionRows[0]; ++i) {
        const ActionRow& row = kActionRows[i];
        for (int output : {1, 2})
            fill_code_list(
                view, output == 1 ? row.out1 : row.out2, kActionOutCodes,
                [=](unsigned code) { return output_action_text(output, code, language); });
        const uint8_t entry = action_table.entry[i];
        view.set_checked(row.sms, (entry & kActionSmsBit) != 0);
        view.set_checked(row.clip, (entry & kActionClipBit) != 0);
        select_code(view, row.out1, (entry >> kActionOut1Shift) & kActionOutBits);
        select_code(view, row.out2, entry & kActionOutBits);
    }
}

bool store(DialogView& view) {
    for (std::size_t i = 0; i < sizeof kActionRows / sizeof kActionRows[0]; ++i) {
        const ActionRow& row = kActionRows[i];
        // Bits 7-6 are not shown and go back as read.
        uint8_t entry = action_table.entry[i] & kActionKeptBits;
        if (view.checked(row.sms)) entry |= kActionSmsBit;
        if (view.checked(row.clip)) entry |= kActionClipBit;
        entry |= static_cast<uint8_t>(selected_code(view, row.out1, kActionOutCodes)
                                      << kActionOut1Shift);
        entry |= selected_code(view, row.out2, kActionOutCodes);
        action_table.entry[i] = entry;
    }
    return true;
}

}  // namespace

ActionsDialog::ActionsDialog()
    : RecordDialog(
          {IDC_ACTIONS_SAVE, IDC_ACTIONS_CANCEL, kActionsTitle, show, store, write_actions}) {}

}  // namespace zavi
