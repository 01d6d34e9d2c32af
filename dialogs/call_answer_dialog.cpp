#include "dialogs/call_answer_dialog.h"

#include "dialogs/code_lists.h"
#include "dialogs/options_titles.h"
#include "link/config_commands.h"
#include "link/records.h"
#include "resources/ids.h"

namespace zavi {

namespace {

constexpr int kReactionCodes = 3;  // none, change, on for 2 s

void show(DialogView& view, uint8_t language) {
    for (int output : {1, 2})
        fill_code_list(view, output == 1 ? IDC_CALL_OUT1 : IDC_CALL_OUT2, kReactionCodes,
                       [=](unsigned code) { return call_reaction_text(output, code, language); });
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
