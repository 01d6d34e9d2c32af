#include "app/job_texts.h"

#include <iterator>

#include "common/three_languages.h"

namespace zavi {

namespace {

struct RecordTitle {
    const char* polish;
    const char* english;
    const char* german;
    const char* polish_genitive;  // after "Odczyt", "Zapis", "Sprawdzanie"
};

// In the order of config::Record.
constexpr RecordTitle kRecordTitles[] = {
    {"warunki alarmów", "alarm settings", "Alarmbedingungen", "warunków alarmów"},
    {"procedury alarmowe", "emergency procedures", "Alarmprozeduren", "procedur alarmowych"},
    {"reakcja na wywołanie", "answer for call", "Antwort zum Abrufen", "reakcji na wywołanie"},
    {"auto-status", "auto-status", "Auto-Status", "auto-statusu"},
    {"auto-reset", "auto-reset", "Auto-Reset", "auto-resetu"},
    {"przyjmowanie wszystkich numerów", "accepting all numbers", "Annahme aller Nummern",
     "przyjmowania wszystkich numerów"},
    {"numery alarmowe", "emergency numbers", "Alarmnummern", "numerów alarmowych"},
    {"numery telefonów", "telephone numbers", "Telefonnummern", "numerów telefonów"},
    {"nazwy we./wy. 1-6", "I/O names 1-6", "E/A-Namen 1-6", "nazw we./wy. 1-6"},
    {"nazwy we./wy. 7-12", "I/O names 7-12", "E/A-Namen 7-12", "nazw we./wy. 7-12"},
    {"PIN i PUK", "PIN and PUK", "PIN und PUK", "kodów PIN i PUK"},
};
static_assert(std::size(kRecordTitles) == config::kRecordCount);

}  // namespace

const char* record_title(config::Record record, uint8_t language) {
    const auto index = static_cast<std::size_t>(record);
    if (index >= std::size(kRecordTitles)) return "?";
    const RecordTitle& t = kRecordTitles[index];
    return pick_text(language, t.polish, t.english, t.german);
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
        const auto index = static_cast<std::size_t>(event.record);
        text += ' ';
        text += index < std::size(kRecordTitles) ? kRecordTitles[index].polish_genitive : "?";
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
