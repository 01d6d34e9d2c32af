#include "app/about_dialog.h"

#include <cstdio>

#include "resources/ids.h"
#include "ui/ui_language.h"
#include "ui/vocabulary.h"

namespace zavi {

void AboutDialog::on_init(DialogView& view) {
    const uint8_t language = ui_language;
    view.set_title(pick_text(language, "O programie", "About", "Über"));

    // German (and any unknown language) uses the English body.
    const char* body = language == kPolish ? "\nZAVI\nALARM-GSM\n\nwersja programu:"
                                           : "\nZAVI\nALARM-GSM\n\nprogram version:";
    char text[128];
    std::snprintf(text, sizeof text, "%s %s", body, kProgramVersion);
    // The way to the module, so that a user can tell the D2XX library from a COM port.
    if (!connection_kind_.empty())
        std::snprintf(text, sizeof text, "%s %s\n%s %.24s", body, kProgramVersion,
                      pick_text(language, "połączenie:", "connection:", "Verbindung:"),
                      connection_kind_.c_str());
    view.set_text(IDC_ABOUT_TEXT, text);

    view.set_text(IDC_ABOUT_CLOSE, kCancelTexts.in(language));
}

void AboutDialog::on_command(DialogView& view, int id, int /*code*/) {
    // Escape (IDCANCEL) and anything else leave the box open.
    if (id == IDC_ABOUT_CLOSE) view.close(0);
}

}  // namespace zavi
