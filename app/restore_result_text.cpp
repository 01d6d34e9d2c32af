#include "app/restore_result_text.h"

#include "app/job_texts.h"
#include "common/three_languages.h"

namespace zavi {

namespace {

using config::HeldNow;
using config::RecordWrite;
using config::RestoreOutcome;
using config::RestoreReport;
using config::WriteState;

constexpr Texts kVerified{"Przywrócono i sprawdzono.", "Restored and verified.",
                          "Wiederhergestellt und geprüft."};
constexpr Texts kReadingFailed{"Odczyt modułu nie powiódł się: ", "Reading the module failed: ",
                               "Das Lesen des Moduls ist fehlgeschlagen: "};
constexpr Texts kNothingWritten{"Nic nie zapisano.", "Nothing was written.",
                                "Es wurde nichts geschrieben."};
constexpr Texts kNothing{"nic", "nothing", "nichts"};
constexpr Texts kBackupFailed{"Nie można zapisać automatycznej kopii zapasowej: ",
                              "The automatic backup could not be saved: ",
                              "Die automatische Sicherung konnte nicht gespeichert werden: "};
constexpr Texts kWriteFailed{
    "Zapis nie powiódł się: ", "Writing failed: ", "Schreiben fehlgeschlagen: "};
constexpr Texts kNotAcknowledged{" (moduł nie potwierdził).",
                                 " (the module did not acknowledge it).",
                                 " (das Modul hat es nicht bestätigt)."};
constexpr Texts kNotAcknowledgedBlock{" (moduł nie potwierdził bloku ",
                                      " (the module did not acknowledge block ",
                                      " (das Modul hat Block "};
constexpr Texts kNotAcknowledgedBlockEnd{").", ").", " nicht bestätigt)."};
constexpr Texts kOf{" z ", " of ", " von "};
constexpr Texts kInterrupted{"Przerwano; po tym nic więcej nie wysłano.",
                             "Interrupted; nothing more was sent.",
                             "Unterbrochen; danach wurde nichts mehr gesendet."};
constexpr Texts kVerifyDiffers{
    "Moduł potwierdził każdy zapis, ale odczytuje inaczej: ",
    "Every write was acknowledged, but the module reads back differently: ",
    "Jedes Schreiben wurde bestätigt, aber das Modul liest anders zurück: "};
constexpr Texts kVerifyUnreadable{
    "Moduł potwierdził każdy zapis, ale odczyt kontrolny nie powiódł się: ",
    "Every write was acknowledged, but reading back failed: ",
    "Jedes Schreiben wurde bestätigt, aber das Zurücklesen schlug fehl: "};
constexpr Texts kWritten{"\nZapisano: ", "\nWritten: ", "\nGeschrieben: "};
constexpr Texts kPartly{
    "\nZapisano częściowo: ", "\nPartly written: ", "\nTeilweise geschrieben: "};
constexpr Texts kBlockAcknowledged{" – potwierdzony blok 1 z ", ": block 1 of ", ": Block 1 von "};
constexpr Texts kBlocksAcknowledged{" – potwierdzone bloki 1–", ": blocks 1–", ": Blöcke 1–"};
constexpr Texts kAcknowledgedEnd{"", " acknowledged", " bestätigt"};
constexpr Texts kBlockUnanswered{"; blok ", "; block ", "; Block "};
constexpr Texts kSentUnanswered{
    " wysłano bez potwierdzenia (mógł zostać zapisany lub nie)",
    " was sent without an acknowledgement (it may or may not be stored)",
    " wurde ohne Bestätigung gesendet (vielleicht gespeichert, vielleicht nicht)"};
constexpr Texts kListIncomplete{": lista w module jest teraz niepełna.",
                                ": the module's list is now incomplete.",
                                ": Die Liste im Modul ist jetzt unvollständig."};
constexpr Texts kListWhole{
    ": wszystkie numery są w module, nie wysłano tylko pustych bloków za nimi.",
    ": every number is in the module; only the empty blocks after them were not sent.",
    ": Alle Nummern sind im Modul; nur die leeren Blöcke danach wurden nicht gesendet."};
constexpr Texts kUnknown{"\nNie wiadomo, czy zapisano (wysłano bez potwierdzenia): ",
                         "\nUnknown whether stored (sent without an acknowledgement): ",
                         "\nUnbekannt, ob gespeichert (ohne Bestätigung gesendet): "};
constexpr Texts kNotWritten{"\nNie zapisano: ", "\nNot written: ", "\nNicht geschrieben: "};
constexpr Texts kUnchecked{"\nPotwierdzone, niesprawdzone odczytem: ",
                           "\nAcknowledged, not read back: ", "\nBestätigt, nicht zurückgelesen: "};
constexpr Texts kReadBack{"\nOdczyt po błędzie: ", "\nRead back after the failure: ",
                          "\nZurückgelesen nach dem Fehler: "};
constexpr Texts kHeldUnreadable{"moduł nie odpowiedział.", "the module did not answer.",
                                "Das Modul hat nicht geantwortet."};
constexpr Texts kHeldFile{" – wartości z pliku", " holds the file's values",
                          " enthält die Werte aus der Datei"};
constexpr Texts kHeldPrevious{" – nadal poprzednie wartości", " still holds its previous values",
                              " enthält noch die vorherigen Werte"};
constexpr Texts kHeldOther{" – ani wartości z pliku, ani poprzednie",
                           " holds neither the file's values nor its previous ones",
                           " enthält weder die Werte aus der Datei noch die vorherigen"};
constexpr Texts kNumbers{" (liczba numerów: ", " (numbers: ", " (Anzahl der Nummern: "};
constexpr Texts kWayBack{"\n\nDroga powrotu: przywróć automatyczną kopię zapasową.",
                         "\n\nThe way back: restore the automatic backup.",
                         "\n\nDer Weg zurück: die automatische Sicherung wiederherstellen."};
constexpr Texts kBackupHeading{"\nAutomatyczna kopia zapasowa poprzedniej konfiguracji:\n",
                               "\nThe automatic backup of what the module held before:\n",
                               "\nAutomatische Sicherung des vorherigen Modulinhalts:\n"};

class Box {
  public:
    explicit Box(uint8_t language) : l_(language) {}
    Box& operator<<(const Texts& texts) {
        text_ += texts.in(l_);
        return *this;
    }
    Box& operator<<(const std::string& s) {
        text_ += s;
        return *this;
    }
    Box& operator<<(int n) { return *this << std::to_string(n); }
    Box& operator<<(config::Record r) { return *this << std::string(record_title(r, l_)); }
    Box& operator<<(const std::vector<config::Record>& records) {
        return *this << record_titles(records, l_);
    }
    std::string text() const { return text_; }

  private:
    uint8_t l_;
    std::string text_;
};

std::vector<config::Record> in_state(const RestoreReport& r, WriteState state) {
    std::vector<config::Record> out;
    for (const RecordWrite& w : r.writes)
        if (w.state == state) out.push_back(w.record);
    return out;
}

const RecordWrite* write_of(const RestoreReport& r, config::Record record) {
    for (const RecordWrite& w : r.writes)
        if (w.record == record) return &w;
    return nullptr;
}

void failed_headline(Box& box, const RestoreReport& r) {
    box << kWriteFailed << r.failed;
    const RecordWrite* w = write_of(r, r.failed);
    if (w && w->blocks > 1) {
        box << kNotAcknowledgedBlock << (w->acknowledged + 1) << kOf << w->blocks
            << kNotAcknowledgedBlockEnd;
    } else {
        box << kNotAcknowledged;
    }
}

void record_states(Box& box, const RestoreReport& r) {
    box << kWritten;
    if (r.written.empty())
        box << kNothing;
    else
        box << r.written;
    for (const RecordWrite& w : r.writes) {
        if (w.state != WriteState::partly_written) continue;
        box << kPartly << w.record;
        if (w.acknowledged == 1)
            box << kBlockAcknowledged << w.blocks;
        else
            box << kBlocksAcknowledged << w.acknowledged << kOf << w.blocks;
        box << kAcknowledgedEnd;
        if (w.unanswered) box << kBlockUnanswered << (w.acknowledged + 1) << kSentUnanswered;
        const bool whole =
            r.failed == w.record && (r.numbers_all_in || r.held_now == HeldNow::file_value);
        box << (whole ? kListWhole : kListIncomplete);
    }
    if (const auto unknown = in_state(r, WriteState::unknown); !unknown.empty())
        box << kUnknown << unknown;
    if (const auto rest = in_state(r, WriteState::not_written); !rest.empty())
        box << kNotWritten << rest;
    if (!r.unchecked.empty()) box << kUnchecked << r.unchecked;
    if (r.held_now == HeldNow::not_read) return;
    box << kReadBack;
    if (r.held_now == HeldNow::unreadable) {
        box << kHeldUnreadable;
        return;
    }
    box << r.failed
        << (r.held_now == HeldNow::file_value       ? kHeldFile
            : r.held_now == HeldNow::previous_value ? kHeldPrevious
                                                    : kHeldOther);
    if (r.failed == config::Record::accepted_numbers)
        box << kNumbers << static_cast<int>(r.numbers_now) << std::string(")");
    box << std::string(".");
}

}  // namespace

std::string restore_result_text(const RestoreReport& r, uint8_t language) {
    Box box(language);
    switch (r.outcome) {
        case RestoreOutcome::already_equal:
        case RestoreOutcome::planned:
            return (box << kNothingToChange).text();
        case RestoreOutcome::read_failed:
            return (box << kReadingFailed << r.failed << std::string(". ") << kNothingWritten)
                .text();
        case RestoreOutcome::backup_failed:
            return (box << kBackupFailed << r.backup_error << std::string("\n") << kNothingWritten)
                .text();
        case RestoreOutcome::verified:
            box << kVerified;
            break;
        case RestoreOutcome::write_failed:
            failed_headline(box, r);
            record_states(box, r);
            break;
        case RestoreOutcome::interrupted:
            box << kInterrupted;
            record_states(box, r);
            break;
        case RestoreOutcome::verify_failed:
            box << kVerifyDiffers << r.mismatched;
            break;
        case RestoreOutcome::verify_unreadable:
            box << kVerifyUnreadable << r.unreadable;
            break;
    }
    if (r.backup_path.empty()) return box.text();
    if (r.outcome != RestoreOutcome::verified) box << kWayBack;
    box << std::string(r.outcome == RestoreOutcome::verified ? "\n" : "") << kBackupHeading
        << r.backup_path;
    return box.text();
}

}  // namespace zavi
