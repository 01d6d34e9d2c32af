#include "dialogs/options_dialogs.h"

#include "dialogs/io_names_dialog.h"
#include "dialogs/phone_numbers_dialog.h"
#include "resources/ids.h"

namespace zavi {

std::unique_ptr<DialogLogic> make_options_dialog(int template_id) {
    switch (template_id) {
        case IDD_PHONE_NUMBERS:
            return std::make_unique<PhoneNumbersDialog>();
        case IDD_IO_NAMES:
            return std::make_unique<IoNamesDialog>();
        default:
            return nullptr;
    }
}

}  // namespace zavi
