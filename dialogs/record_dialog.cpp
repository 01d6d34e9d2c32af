#include "dialogs/record_dialog.h"

#include "link/connection.h"
#include "ui/messages.h"
#include "ui/ui_language.h"

namespace zavi {

void RecordDialog::on_init(DialogView& view) {
    const uint8_t language = ui_language;
    view.set_title(form_.title.in(language));
    view.set_text(form_.save, form_.save_caption.in(language));
    view.set_text(form_.cancel, kCancelTexts.in(language));
    form_.show(view, language);
}

void RecordDialog::on_command(DialogView& view, int id, int code) {
    if (id == form_.cancel) {
        view.close(0);
    } else if (id != form_.save) {
        if (form_.other_command) form_.other_command(view, id, code);
    } else if (!form_.store || form_.store(view)) {
        if (!form_.write || form_.write(device_handle) == LinkResult::ok)
            view.close(form_.saved_result);
        else
            show_communication_error(view, ui_language);
    }
}

}  // namespace zavi
