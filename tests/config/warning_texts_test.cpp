// Every kind of warning in each language, in the program's words: which thermometer, list,
// entry or name, numbers with "+", and never a SIM code.
#include <gtest/gtest.h>

#include "common/three_languages.h"
#include "config/config_file.h"
#include "config/warning_texts.h"

namespace zavi::config {
namespace {

TEST(WarningTexts, EachKindInEachLanguage) {
    struct Case {
        FileError warning;
        const char* polish;
        const char* english;
        const char* german;
    };
    const Case cases[] = {
        {{0, 0, "comment", "", FileFault::unknown_field, 0, "comment"},
         "Nieznane pole „comment” pominięto",
         "Unknown field \"comment\" ignored",
         "Unbekanntes Feld „comment“ ignoriert"},
        {{0, 0, "saved_at", "", FileFault::impossible_time, 0, "2026-13-45T99:99:99Z"},
         "Czas zapisu pliku „2026-13-45T99:99:99Z” nie jest prawdziwą datą; służy tylko do "
         "informacji",
         "The file's saving time \"2026-13-45T99:99:99Z\" is not a real date and time; it is only "
         "information",
         "Der Speicherzeitpunkt der Datei „2026-13-45T99:99:99Z“ ist kein gültiger Zeitpunkt; er "
         "dient nur der Information"},
        {{0, 0, "alarm_settings.thermometer2_high", "", FileFault::threshold_order, 2},
         "Termometr 2: próg górny nie jest wyższy od dolnego",
         "Thermometer 2: the high threshold is not above the low one",
         "Thermometer 2: Die obere Schwelle liegt nicht über der unteren"},
        {{0, 0, "emergency_numbers[2]", "", FileFault::number_empty, 3},
         "Numery alarmowe, pozycja 3: pusty numer",
         "Emergency numbers, entry 3: an empty number",
         "Alarmnummern, Eintrag 3: leere Nummer"},
        {{0, 0, "accepted_numbers[0]", "", FileFault::number_form, 1, "12ab"},
         "Numery telefonów, pozycja 1: „12ab” nie jest numerem (1 do 14 cyfr)",
         "Telephone numbers, entry 1: \"12ab\" is not a number (1 to 14 digits)",
         "Telefonnummern, Eintrag 1: „12ab“ ist keine Nummer (1 bis 14 Ziffern)"},
        {{0, 0, "accepted_numbers[3]", "", FileFault::number_repeated, 4, "48600100200"},
         "Numery telefonów, pozycja 4: +48600100200 występuje już wcześniej",
         "Telephone numbers, entry 4: +48600100200 is already in the list",
         "Telefonnummern, Eintrag 4: +48600100200 steht schon in der Liste"},
        {{0, 0, "io_names.pin1_voltage", "", FileFault::name_control, 5},
         "Nazwa „PIN-1 (Voltage)”: zawiera znak sterujący",
         "Name \"PIN-1 (Voltage)\": holds a control character",
         "Name „PIN-1 (Voltage)“: enthält ein Steuerzeichen"},
        {{0, 0, "io_names.out2_off", "", FileFault::name_length, 11},
         "Nazwa „OUT-2 (OFF)”: dłuższa niż 40 znaków",
         "Name \"OUT-2 (OFF)\": longer than 40 characters",
         "Name „OUT-2 (OFF)“: länger als 40 Zeichen"},
        {{0, 0, "io_names.in1_open", "", FileFault::name_character, 0},
         "Nazwa „IN-1 (Open)”: zawiera znak, którego moduł nie przechowa",
         "Name \"IN-1 (Open)\": holds a character the module cannot keep",
         "Name „IN-1 (Open)“: enthält ein Zeichen, das das Modul nicht speichern kann"},
        {{0, 0, "sim_codes.pin", "", FileFault::code_hex, 0, "12A4"},
         "PIN: nie składa się z 4 cyfr",
         "PIN: not 4 digits",
         "PIN: nicht 4 Ziffern"},
        {{0, 0, "sim_codes.puk", "", FileFault::code_form, 0, "1234"},
         "PUK: nie składa się z 8 cyfr",
         "PUK: not 8 digits",
         "PUK: nicht 8 Ziffern"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(warning_text(c.warning, kPolish), c.polish);
        EXPECT_EQ(warning_text(c.warning, kEnglish), c.english);
        EXPECT_EQ(warning_text(c.warning, kGerman), c.german);
    }
}

TEST(WarningTexts, WhatACheckFindsHasAText) {
    // Every rule check_configuration can report has its own words, not the JSON fallback.
    Configuration c;
    c.saved_at = "2026-12-07T17:45:00Z";
    c.alarm_settings = {0, 0, 10, 10, 10, 20, 50};
    c.emergency_numbers = {"", "+1"};
    c.accepted_numbers = {"48600100200", "48600100200"};
    c.io_names[0] = std::string(1, '\x01');
    c.io_names[1] = "\xE2\x82\xAC";
    c.io_names[2] = std::string(41, 'a');
    c.sim_codes = SimCodesValue{"12A4", "12"};
    const std::vector<FileError> found = check_configuration(c);
    ASSERT_EQ(found.size(), 10u);
    for (const FileError& e : found)
        for (const uint8_t l : {kPolish, kEnglish, kGerman}) {
            const std::string text = warning_text(e, l);
            EXPECT_EQ(text.find(e.path), std::string::npos) << text;
            EXPECT_EQ(text.find("12A4"), std::string::npos) << text;
        }
}

}  // namespace
}  // namespace zavi::config
