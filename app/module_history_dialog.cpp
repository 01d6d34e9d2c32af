#include "app/module_history_dialog.h"

#include <cstdio>

#include "app/difference_words.h"
#include "common/three_languages.h"
#include "fleet/history.h"
#include "fleet/restore_history.h"
#include "resources/ids.h"
#include "ui/edit_text.h"
#include "ui/vocabulary.h"

namespace zavi {

namespace {

struct Word {
    const char* key;
    Texts text;
};

constexpr Word kOperations[] = {
    {"backup", "Kopia zapasowa", "Backup", "Sicherung"},
    {"restore", "Przywracanie", "Restore", "Wiederherstellung"},
    {"station", "Stanowisko konfiguracji", "Setup station", "Einrichtungsplatz"},
    {"apply", "Szablon obiektu", "Site template", "Standortvorlage"},
    {"clone", "Klonowanie", "Clone", "Klonen"},
};

constexpr Word kResults[] = {
    {"saved", "zapisana", "saved", "gespeichert"},
    {"verified", "zapisano i sprawdzono", "written and verified", "geschrieben und geprüft"},
    {"unchanged", "nic do zmiany", "nothing to change", "nichts zu ändern"},
    {"write-failed", "zapis nie powiódł się", "writing failed", "Schreiben fehlgeschlagen"},
    {"verify-failed", "odczyt kontrolny różni się", "read-back differs", "Rücklesen weicht ab"},
    {"verify-unreadable", "odczyt kontrolny nie powiódł się", "read-back failed",
     "Rücklesen fehlgeschlagen"},
    {"interrupted", "przerwano", "interrupted", "unterbrochen"},
};

// The program's word, or the index's own where it has none (an operation of a newer version).
template <std::size_t N>
std::string word(const Word (&words)[N], const std::string& key, uint8_t l) {
    for (const Word& w : words)
        if (key == w.key) return w.text.in(l);
    return key;
}

// "2026-12-09T08:15:00Z" -> "2026-12-09 08:15:00 UTC"
std::string shown_time(const std::string& time) {
    if (time.size() != 20 || time[10] != 'T' || time[19] != 'Z') return time;
    return time.substr(0, 10) + " " + time.substr(11, 8) + " UTC";
}

}  // namespace

std::vector<std::string> module_history_lines(const fleet::ModuleHistory& history, uint8_t l) {
    std::vector<std::string> lines;
    for (const fleet::HistoryItem& item : history.items) {
        const fleet::HistoryEntry& e = item.entry;
        if (!lines.empty()) lines.emplace_back();
        std::string head = shown_time(e.time) + "   " + word(kOperations, e.operation, l) + ": " +
                           word(kResults, e.result, l);
        if (!e.site.empty())
            head += std::string("   ") + pick_text(l, "Obiekt: ", "Site: ", "Standort: ") + e.site;
        lines.push_back(head);
        if (fleet::result_is_uncertain(e.result))
            lines.push_back(pick_text(
                l, "    (kopia tego, co wysłano; moduł może zawierać tylko część)",
                "    (a copy of what was sent; the module may hold only part of it)",
                "    (Kopie des Gesendeten; das Modul enthält womöglich nur einen Teil)"));
        if (!item.problem.empty()) {
            lines.push_back(std::string("    ") +
                            pick_text(l, "Nie można porównać: ", "Cannot compare: ",
                                      "Kein Vergleich möglich: ") +
                            item.problem);
        } else if (item.first) {
            lines.push_back(pick_text(l, "    Pierwsza kopia tego modułu",
                                      "    The first copy of this module",
                                      "    Die erste Kopie dieses Moduls"));
        } else if (item.changes.empty()) {
            lines.push_back(pick_text(l, "    Bez zmian od poprzedniej kopii",
                                      "    No change since the copy before",
                                      "    Keine Änderung seit der vorigen Kopie"));
        }
        for (const std::string& change : difference_words(item.changes, l))
            lines.push_back("    " + change);
    }
    return lines;
}

void ModuleHistoryDialog::on_init(DialogView& view) {
    const uint8_t l = language_;
    view.set_title(pick_text(l, "Historia modułu", "Module history", "Modulverlauf"));
    view.set_text(IDC_MH_CLOSE, kCloseTexts.in(l));
    if (!identity_.known()) {
        view.set_text(IDC_MH_HEADING, identity_text(identity_, l));
        view.set_text(IDC_MH_LIST,
                      pick_text(l,
                                "Bez numeru seryjnego nie da się odróżnić kopii tego modułu od "
                                "kopii innych modułów, więc historia nie jest pokazywana.",
                                "Without a serial number this module's copies cannot be told "
                                "apart from other modules', so no history is shown.",
                                "Ohne Seriennummer lassen sich die Kopien dieses Moduls nicht "
                                "von denen anderer Module unterscheiden; daher wird kein Verlauf "
                                "gezeigt."));
        return;
    }
    fleet::ModuleHistory history;
    std::string why;
    std::vector<std::string> lines;
    if (folder_.empty()) {
        why = pick_text(l, "brak folderu danych użytkownika",
                        "no folder for the user's data is known",
                        "kein Ordner für die Benutzerdaten bekannt");
    } else if (fleet::module_history(folder_, identity_.serial, &history, &why)) {
        // A site label that is also the key would pull in other modules: identity only.
        std::erase_if(history.items, [this](const fleet::HistoryItem& item) {
            return item.entry.identity != identity_.serial;
        });
        lines = module_history_lines(history, l);
        why.clear();
    }
    char count[96];
    std::snprintf(count, sizeof count,
                  pick_text(l, "   —   zachowane kopie: %zu", "   —   copies kept: %zu",
                            "   —   aufbewahrte Kopien: %zu"),
                  history.items.size());
    view.set_text(IDC_MH_HEADING, identity_text(identity_, l) + count);
    if (!why.empty())
        lines = {std::string(
                     pick_text(l, "Historii nie można odczytać: ", "The history cannot be read: ",
                               "Der Verlauf kann nicht gelesen werden: ")) +
                 why};
    else if (lines.empty())
        lines = {pick_text(l, "Nie zachowano jeszcze żadnej kopii tego modułu.",
                           "No copy of this module has been kept yet.",
                           "Von diesem Modul wurde noch keine Kopie aufbewahrt.")};
    if (history.skipped_lines > 0) {
        lines.emplace_back();
        lines.push_back(pick_text(l, "Pominięto niepełne wiersze indeksu: ",
                                  "Index lines skipped as incomplete: ",
                                  "Unvollständige Indexzeilen übersprungen: ") +
                        std::to_string(history.skipped_lines));
    }
    view.set_text(IDC_MH_LIST, edit_text(lines));
}

void ModuleHistoryDialog::on_command(DialogView& view, int id, int) {
    if (id == IDC_MH_CLOSE || id == 2) view.close(0);  // 2: Escape
}

void show_module_history(DialogView& main_window, const ModuleIdentity& identity,
                         const std::string& backup_folder, uint8_t language) {
    ModuleHistoryDialog dialog(fleet::history_folder_for(backup_folder), identity, language);
    main_window.run_dialog(IDD_MODULE_HISTORY, dialog);
}

}  // namespace zavi
