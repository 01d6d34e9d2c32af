#include "dialogs/call_answer_dialog.h"

#include "dialogs/code_lists.h"
#include "dialogs/options_titles.h"
#include "link/config_commands.h"
#include "link/records.h"
#include "resources/ids.h"

namespace zavi {

namespace {

constexpr int kReactionCodes = 3;  // none, change, on for 2 s

void fill_reaction_list(DialogView& view, int list, int output, uint8_t language) {
    view.clear_items(list);
    for (unsigned code = 0; code < kReactionCodes; ++code)
        view.add_item(list, call_reaction_text(output, code, language));
    view.select_item(list, 0);
}

void show(DialogView& view, uint8_t language) {
    fill_reaction_list(view, IDC_CALL_OUT1, 1, language);
    fill_reaction_list(view, IDC_CALL_OUT2, 2, language);
    view.set_checked(IDC_CALL_SMS, call_answer.sms != 0);
    // A nibble outside the list (3 to 15) shows item 0.
    select_code(view, IDC_CALL_OUT2, call_answer.reactions >> 4);
    select_code(view, IDC_CALL_OUT1, call_answer.reactions & 0x0Fu);
}

bool store(DialogView& view) {
    call_answer.sms = view.checked(IDC_CALL_SMS) ? 1 : 0;
    call_answer.reactions =
        static_cast<uint8_t>(selected_code(view, IDC_CALL_OUT2, kReactionCodes) << 4 |
                             selected_code(view, IDC_CALL_OUT1, kReactionCodes));
    return true;
}

}  // namespace

CallAnswerDialog::CallAnswerDialog()
    : RecordDialog(
          {IDC_CALL_SAVE, IDC_CALL_CANCEL, kCallAnswerTitle, show, store, write_call_answer}) {}

}  // namespace zavi
