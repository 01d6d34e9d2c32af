#include "dialogs/options_dialogs.h"

#include "dialogs/actions_dialog.h"
#include "dialogs/auto_reset_dialog.h"
#include "dialogs/auto_status_dialog.h"
#include "dialogs/call_answer_dialog.h"
#include "dialogs/io_names_dialog.h"
#include "dialogs/phone_numbers_dialog.h"
#include "dialogs/pin_puk_dialog.h"
#include "resources/ids.h"

namespace zavi {

std::unique_ptr<DialogLogic> make_options_dialog(int template_id) {
    switch (template_id) {
        case IDD_PIN_PUK:
            return std::make_unique<PinPukDialog>();
        case IDD_ACTIONS:
            return std::make_unique<ActionsDialog>();
        case IDD_PHONE_NUMBERS:
            return std::make_unique<PhoneNumbersDialog>();
        case IDD_IO_NAMES:
            return std::make_unique<IoNamesDialog>();
        case IDD_AUTO_RESET:
            return std::make_unique<AutoResetDialog>();
        case IDD_CALL_ANSWER:
            return std::make_unique<CallAnswerDialog>();
        case IDD_AUTO_STATUS:
            return std::make_unique<AutoStatusDialog>();
        default:
            return nullptr;
    }
}

}  // namespace zavi
