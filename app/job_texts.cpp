#include "app/job_texts.h"

#include <iterator>

#include "common/three_languages.h"
#include "config/record_table.h"

namespace zavi {

namespace {

// Null for a value outside the enum.
const config::RecordTitle* title_of(config::Record record) {
    if (static_cast<std::size_t>(record) >= config::kRecordCount) return nullptr;
    return &config::record_row(record).title;
}

}  // namespace

const char* record_title(config::Record record, uint8_t language) {
    const config::RecordTitle* t = title_of(record);
    return t ? t->name.in(language) : "?";
}

std::string step_text(const config::ProgressEvent& event, uint8_t language) {
    const char* verb = "";
    switch (event.step) {
        case config::Step::reading:
            verb = pick_text(language, "Odczyt", "Reading", "Lese");
            break;
        case config::Step::writing:
            verb = pick_text(language, "Zapis", "Writing", "Schreibe");
            break;
        case config::Step::verifying:
            verb = pick_text(language, "Sprawdzanie", "Checking", "Prüfe");
            break;
    }
    // "Reading telephone numbers", "Odczyt numerów telefonów", but "Lese: Telefonnummern".
    std::string text = verb;
    if (language == kPolish) {
        const config::RecordTitle* t = title_of(event.record);
        text += ' ';
        text += t ? t->polish_genitive : "?";
    } else {
        text += language == kEnglish ? " " : ": ";
        text += record_title(event.record, language);
    }
    if (event.blocks > 1) {
        text += pick_text(language, " (blok ", " (block ", " (Block ");
        text += std::to_string(event.block);
        text += pick_text(language, " z ", " of ", " von ");
        text += std::to_string(event.blocks) + ")";
    }
    return text + "…";
}

std::string record_titles(const std::vector<config::Record>& records, uint8_t language) {
    if (records.empty()) return "-";
    std::string text;
    for (config::Record r : records) {
        if (!text.empty()) text += ", ";
        text += record_title(r, language);
    }
    return text;
}

std::string backup_read_failed_text(config::Record failed, LinkResult result, uint8_t l) {
    std::string text =
        pick_text(l, "Kopia zapasowa nie powstała: nie zapisano żadnego pliku.\n\n",
                  "The backup failed: no file was saved.\n\n",
                  "Die Sicherung ist fehlgeschlagen: Es wurde keine Datei gespeichert.\n\n");
    text += pick_text(l, "Odczyt z modułu nie powiódł się: ", "Reading the module failed at ",
                      "Das Lesen des Moduls schlug fehl bei: ");
    text += record_title(failed, l);
    switch (result) {
        case LinkResult::no_frame_end:
            text += pick_text(l, " (moduł nie odpowiedział w całości).",
                              " (the module gave no complete answer).",
                              " (das Modul hat nicht vollständig geantwortet).");
            break;
        case LinkResult::bad_crc:
        case LinkResult::bad_echo:
            text += pick_text(l, " (odpowiedź modułu była uszkodzona).",
                              " (the module's answer was damaged).",
                              " (die Antwort des Moduls war beschädigt).");
            break;
        case LinkResult::read_failed:
            text += pick_text(l, " (połączenie USB zawiodło).", " (the USB connection failed).",
                              " (die USB-Verbindung ist fehlgeschlagen).");
            break;
        default:  // most commands tell no more than that
            text += pick_text(l, " (moduł nie odpowiedział poprawnie).",
                              " (the module did not answer properly).",
                              " (das Modul hat nicht richtig geantwortet).");
            break;
    }
    text += pick_text(l, "\nSprawdź połączenie z modułem i spróbuj ponownie.",
                      "\nCheck the connection to the module and try again.",
                      "\nPrüfen Sie die Verbindung zum Modul und versuchen Sie es erneut.");
    return text;
}

}  // namespace zavi
