#include "app/differences_dialog.h"

#include "resources/ids.h"
#include "ui/language.h"

namespace zavi {

void DifferencesDialog::on_init(DialogView& view) {
    const uint8_t l = ui_language;
    view.set_title(for_restore_ ? pick_text(l, "Przywracanie - różnice", "Restore - differences",
                                            "Wiederherstellen - Unterschiede")
                                : pick_text(l, "Porównanie - różnice", "Compare - differences",
                                            "Vergleich - Unterschiede"));
    view.set_text(IDC_DIFF_HEADING, pick_text(l, "Ścieżka: wartość w module -> wartość w pliku",
                                              "Path: module value -> file value",
                                              "Pfad: Wert im Modul -> Wert in der Datei"));
    std::string text;
    for (const std::string& line : config::difference_lines(differences_)) {
        if (!text.empty()) text += "\r\n";
        text += line;
    }
    view.set_text(IDC_DIFF_LIST, text);
    if (for_restore_) {
        view.set_text(IDC_DIFF_OK,
                      pick_text(l, "Przywróć...", "Restore...", "Wiederherstellen..."));
        view.set_text(IDC_DIFF_CANCEL, pick_text(l, "Anuluj", "Cancel", "Abbrechen"));
    } else {
        view.set_text(IDC_DIFF_OK, pick_text(l, "Zamknij", "Close", "Schließen"));
        view.set_text(IDC_DIFF_CANCEL, pick_text(l, "Anuluj", "Cancel", "Abbrechen"));
        view.set_enabled(IDC_DIFF_CANCEL, false);
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
