#include "config/warning_texts.h"

#include "common/three_languages.h"

namespace zavi::config {

namespace {

std::string quoted(const std::string& text, uint8_t l) {
    return pick_text(l, "„", "\"", "„") + text + pick_text(l, "”", "\"", "“");
}

// "Numery telefonów, pozycja 3"
std::string list_entry(const FileError& w, uint8_t l) {
    const bool emergency = w.path.rfind("emergency_numbers", 0) == 0;
    std::string text =
        emergency ? pick_text(l, "Numery alarmowe", "Emergency numbers", "Alarmnummern")
                  : pick_text(l, "Numery telefonów", "Telephone numbers", "Telefonnummern");
    text += pick_text(l, ", pozycja ", ", entry ", ", Eintrag ");
    return text + std::to_string(w.item);
}

std::string name_label(const FileError& w, uint8_t l) {
    const std::size_t index = static_cast<std::size_t>(w.item);
    const std::string label = index < kNameCount ? kIoNameLabels[index] : "?";
    return pick_text(l, "Nazwa ", "Name ", "Name ") + quoted(label, l);
}

}  // namespace

std::string warning_text(const FileError& w, uint8_t l) {
    switch (w.fault) {
        case FileFault::unknown_field:
            return pick_text(l, "Nieznane pole ", "Unknown field ", "Unbekanntes Feld ") +
                   quoted(w.value, l) + pick_text(l, " pominięto", " ignored", " ignoriert");
        case FileFault::impossible_time:
            return pick_text(l, "Czas zapisu pliku ", "The file's saving time ",
                             "Der Speicherzeitpunkt der Datei ") +
                   quoted(w.value, l) +
                   pick_text(l, " nie jest prawdziwą datą; służy tylko do informacji",
                             " is not a real date and time; it is only information",
                             " ist kein gültiger Zeitpunkt; er dient nur der Information");
        case FileFault::threshold_order:
            return pick_text(l, "Termometr ", "Thermometer ", "Thermometer ") +
                   std::to_string(w.item) +
                   pick_text(l, ": próg górny nie jest wyższy od dolnego",
                             ": the high threshold is not above the low one",
                             ": Die obere Schwelle liegt nicht über der unteren");
        case FileFault::number_empty:
            return list_entry(w, l) +
                   pick_text(l, ": pusty numer", ": an empty number", ": leere Nummer");
        case FileFault::number_form:
            return list_entry(w, l) + ": " + quoted(w.value, l) +
                   pick_text(l, " nie jest numerem (1 do 14 cyfr)",
                             " is not a number (1 to 14 digits)",
                             " ist keine Nummer (1 bis 14 Ziffern)");
        case FileFault::number_repeated:
            return list_entry(w, l) + ": +" + w.value +
                   pick_text(l, " występuje już wcześniej", " is already in the list",
                             " steht schon in der Liste");
        case FileFault::name_control:
            return name_label(w, l) + pick_text(l, ": zawiera znak sterujący",
                                                ": holds a control character",
                                                ": enthält ein Steuerzeichen");
        case FileFault::name_character:
            return name_label(w, l) +
                   pick_text(l, ": zawiera znak, którego moduł nie przechowa",
                             ": holds a character the module cannot keep",
                             ": enthält ein Zeichen, das das Modul nicht speichern kann");
        case FileFault::name_length:
            return name_label(w, l) + pick_text(l, ": dłuższa niż 40 znaków",
                                                ": longer than 40 characters",
                                                ": länger als 40 Zeichen");
        case FileFault::code_hex:
        case FileFault::code_form:
            // The code itself is a secret and never shown.
            return w.path == "sim_codes.puk"
                       ? pick_text(l, "PUK: nie składa się z 8 cyfr", "PUK: not 8 digits",
                                   "PUK: nicht 8 Ziffern")
                       : pick_text(l, "PIN: nie składa się z 4 cyfr", "PIN: not 4 digits",
                                   "PIN: nicht 4 Ziffern");
        case FileFault::none:
            break;
    }
    return describe_warning(w);
}

}  // namespace zavi::config
