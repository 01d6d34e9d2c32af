#include "app/history_keeping.h"

#include "common/three_languages.h"
#include "fleet/history.h"
#include "fleet/restore_history.h"

namespace zavi {

bool keep_in_history(const HistoryKeeping& where, const char* operation, const char* result,
                     const config::Configuration& cfg, uint8_t l, std::string* line,
                     std::string* file) {
    *line = pick_text(l, "Historia modułu: ", "Module history: ", "Modulverlauf: ");
    fleet::HistoryEntry entry, kept;
    entry.identity = where.identity.serial;
    entry.site = where.site;
    entry.operation = operation;
    entry.result = result;
    std::string why =
        pick_text(l, "brak folderu danych użytkownika", "no folder for the user's data is known",
                  "kein Ordner für die Benutzerdaten bekannt");
    if (where.folder.empty() || !fleet::keep_copy(where.folder, entry, cfg, &kept, &why)) {
        *line += pick_text(l, "kopia nie została zachowana: ", "no copy was kept: ",
                           "keine Kopie aufbewahrt: ") +
                 why;
        return false;
    }
    if (file) *file = kept.file;
    if (!where.identity.known())
        *line +=
            identity_text(where.identity, l) +
            pick_text(l, "; kopia zachowana jako „unknown”.", "; the copy is kept as \"unknown\".",
                      "; die Kopie ist unter „unknown“ aufbewahrt.");
    else
        *line += pick_text(l, "kopia zachowana dla modułu ", "a copy is kept for module ",
                           "Kopie aufbewahrt für Modul ") +
                 where.identity.serial + ".";
    return true;
}

bool keep_restore_in_history(const HistoryKeeping& where, const char* operation,
                             const config::Configuration& target, bool with_sim_codes,
                             const config::RestoreReport& report, uint8_t language,
                             std::string* line, std::string* file) {
    line->clear();
    const char* result = fleet::restore_result(report.outcome);
    if (!result) return true;
    return keep_in_history(where, operation, result,
                           fleet::restore_copy(target, with_sim_codes, report), language, line,
                           file);
}

}  // namespace zavi
