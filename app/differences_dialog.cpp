#include "app/differences_dialog.h"

#include "app/difference_words.h"
#include "resources/ids.h"
#include "ui/edit_text.h"
#include "ui/ui_language.h"
#include "ui/vocabulary.h"

namespace zavi {

void DifferencesDialog::on_init(DialogView& view) {
    const uint8_t l = ui_language;
    view.set_title(for_restore_ ? pick_text(l, "Przywracanie - różnice", "Restore - differences",
                                            "Wiederherstellen - Unterschiede")
                                : pick_text(l, "Porównanie - różnice", "Compare - differences",
                                            "Vergleich - Unterschiede"));
    view.set_text(IDC_DIFF_HEADING, pick_text(l, "Wartość w module \u2192 wartość w pliku",
                                              "Value in the module \u2192 value in the file",
                                              "Wert im Modul \u2192 Wert in der Datei"));
    view.set_text(IDC_DIFF_LIST, edit_text(difference_words(differences_, l)));
    if (for_restore_) {
        view.set_text(IDC_DIFF_OK,
                      pick_text(l, "Przywróć...", "Restore...", "Wiederherstellen..."));
        view.set_text(IDC_DIFF_CANCEL, kCancelTexts.in(l));
    } else {
        // Compare only shows: Close is its one button.
        view.set_text(IDC_DIFF_OK, kCloseTexts.in(l));
        view.set_visible(IDC_DIFF_CANCEL, false);
    }
}

void DifferencesDialog::on_command(DialogView& view, int id, int) {
    if (id == IDC_DIFF_OK) {
        accepted_ = for_restore_;
        view.close(1);
    } else if (id == IDC_DIFF_CANCEL || id == 2) {  // 2: Escape
        view.close(0);
    }
}

}  // namespace zavi
