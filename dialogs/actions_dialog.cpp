#include "dialogs/actions_dialog.h"

#include "dialogs/code_lists.h"
#include "link/config_commands.h"
#include "link/records.h"
#include "resources/ids.h"
#include "ui/ui_language.h"

namespace zavi {

namespace {

constexpr Texts kTitle{"Procedury alarmowe", "Emergency procedures", "Alarmprozeduren"};

static_assert(sizeof kActionRows / sizeof kActionRows[0] == sizeof action_table.entry);

constexpr uint8_t kKeptBits = 0xC0;  // not shown, written back as read
constexpr uint8_t kSmsBit = 0x20;
constexpr uint8_t kClipBit = 0x10;
constexpr int kOutputCodes = 4;  // none, on, off, on for 2 s

void fill_output_list(DialogView& view, int list, int output, uint8_t language) {
    view.clear_items(list);
    for (unsigned code = 0; code < kOutputCodes; ++code)
        view.add_item(list, output_action_text(output, code, language));
    view.select_item(list, 0);
}

void show(DialogView& view, uint8_t language) {
    for (const ActionRow& row : kActionRows) {
        fill_output_list(view, row.out1, 1, language);
        fill_output_list(view, row.out2, 2, language);
    }
    for (std::size_t i = 0; i < sizeof kActionRows / sizeof kActionRows[0]; ++i) {
        const ActionRow& row = kActionRows[i];
        const uint8_t entry = action_table.entry[i];
        view.set_checked(row.sms, (entry & kSmsBit) != 0);
        view.set_checked(row.clip, (entry & kClipBit) != 0);
        select_code(view, row.out1, (entry >> 2) & 3u);
        select_code(view, row.out2, entry & 3u);
    }
}

bool store(DialogView& view) {
    for (std::size_t i = 0; i < sizeof kActionRows / sizeof kActionRows[0]; ++i) {
        const ActionRow& row = kActionRows[i];
        uint8_t entry = action_table.entry[i] & kKeptBits;
        if (view.checked(row.sms)) entry |= kSmsBit;
        if (view.checked(row.clip)) entry |= kClipBit;
        entry |= static_cast<uint8_t>(selected_code(view, row.out1, kOutputCodes) << 2);
        entry |= selected_code(view, row.out2, kOutputCodes);
        action_table.entry[i] = entry;
    }
    return true;
}

}  // namespace

ActionsDialog::ActionsDialog()
    : RecordDialog({IDC_ACTIONS_SAVE, IDC_ACTIONS_CANCEL, kTitle, show, store, write_actions}) {}

}  // namespace zavi
