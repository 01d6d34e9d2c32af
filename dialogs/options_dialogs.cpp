#include "dialogs/options_dialogs.h"

#include <type_traits>

#include "dialogs/actions_dialog.h"
#include "dialogs/auto_reset_dialog.h"
#include "dialogs/auto_status_dialog.h"
#include "dialogs/call_answer_dialog.h"
#include "dialogs/io_names_dialog.h"
#include "dialogs/phone_numbers_dialog.h"
#include "dialogs/pin_puk_dialog.h"
#include "resources/ids.h"

namespace zavi {

namespace {

template <class Dialog>
std::unique_ptr<DialogLogic> make(FileChooser* files) {
    if constexpr (std::is_constructible_v<Dialog, FileChooser*>)
        return std::make_unique<Dialog>(files);
    else
        return std::make_unique<Dialog>();
}

constexpr struct {
    int template_id;
    std::unique_ptr<DialogLogic> (*make)(FileChooser* files);
} kDialogs[] = {
    {IDD_PIN_PUK, make<PinPukDialog>},
    {IDD_ACTIONS, make<ActionsDialog>},
    {IDD_PHONE_NUMBERS, make<PhoneNumbersDialog>},
    {IDD_IO_NAMES, make<IoNamesDialog>},
    {IDD_AUTO_RESET, make<AutoResetDialog>},
    {IDD_CALL_ANSWER, make<CallAnswerDialog>},
    {IDD_AUTO_STATUS, make<AutoStatusDialog>},
};

}  // namespace

std::unique_ptr<DialogLogic> make_options_dialog(int template_id, FileChooser* files) {
    for (const auto& dialog : kDialogs)
        if (dialog.template_id == template_id) return dialog.make(files);
    return nullptr;
}

}  // namespace zavi
