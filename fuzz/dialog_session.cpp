#include "fuzz/dialog_session.h"

#include <string>

#include "app/worker_job.h"
#include "common/utf16.h"
#include "dialogs/options_dialogs.h"
#include "fuzz/fuzz_check.h"
#include "resources/ids.h"

namespace zavi::fuzz {

namespace {

void check_utf8(std::string_view text) {
    // Valid UTF-8 survives the trip to the window system and back unchanged.
    FUZZ_CHECK(utf16_to_utf8(utf8_to_utf16(text)) == text, "a shown text is valid UTF-8");
}

struct DialogJob {
    int template_id;
    WorkerJob job;
    int save_button;
};

constexpr DialogJob kDialogJobs[] = {
    {IDD_PIN_PUK, JOB_READ_PIN_PUK, IDC_PIN_PUK_SAVE},
    {IDD_ACTIONS, JOB_READ_ACTIONS, IDC_ACTIONS_SAVE},
    {IDD_PHONE_NUMBERS, JOB_READ_PHONE_NUMBERS, IDC_PHONE_SAVE},
    {IDD_IO_NAMES, JOB_READ_IO_NAMES, IDC_IO_NAMES_SAVE},
    {IDD_CALL_ANSWER, JOB_READ_CALL_ANSWER, IDC_CALL_SAVE},
    {IDD_AUTO_STATUS, JOB_READ_AUTO_STATUS, IDC_AUTO_STATUS_SAVE},
    {IDD_AUTO_RESET, JOB_READ_AUTO_RESET, IDC_AUTO_RESET_SAVE},
};

}  // namespace

void CheckingView::set_title(std::string_view text) {
    check_utf8(text);
    FakeDialogView::set_title(text);
}

void CheckingView::set_text(int id, std::string_view text) {
    check_utf8(text);
    FakeDialogView::set_text(id, text);
}

void CheckingView::add_item(int id, std::string_view text) {
    check_utf8(text);
    FakeDialogView::add_item(id, text);
}

LinkResult run_dialog_session(int template_id, DriverHandle handle, bool* saved) {
    *saved = false;
    const DialogJob* entry = nullptr;
    for (const DialogJob& j : kDialogJobs)
        if (j.template_id == template_id) entry = &j;
    FUZZ_CHECK(entry != nullptr, "an Options dialog");
    const LinkResult result = run_job_operations(entry->job, handle);
    if (result != kOk) return result;

    std::unique_ptr<DialogLogic> logic = make_options_dialog(template_id);
    FUZZ_CHECK(logic != nullptr, "every Options dialog can be made");
    CheckingView view(template_id, logic.get());
    view.init();
    view.click(entry->save_button);
    *saved = view.is_closed();
    return kOk;
}

}  // namespace zavi::fuzz
