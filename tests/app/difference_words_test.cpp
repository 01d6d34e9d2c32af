// The differences list in the program's words: every kind of difference in each language.
#include "app/difference_words.h"

#include <gtest/gtest.h>

#include <functional>

#include "common/three_languages.h"
#include "tests/config/config_sample.h"

namespace zavi {
namespace {

using config::Configuration;
using Change = std::function<void(Configuration& module, Configuration& file)>;

std::vector<std::string> words(const Change& change, uint8_t language) {
    Configuration module = config::test::sample_configuration(), file = module;
    change(module, file);
    return difference_words(config::compare(module, file), language);
}

TEST(DifferenceWords, EveryKindInEveryLanguage) {
    struct Case {
        const char* name;
        Change change;
        const char* polish;
        const char* english;
        const char* german;
    };
    const Case cases[] = {
        {"trigger mode", [](auto&, auto& f) { f.alarm_settings.input_modes = 0x04; },
         "IN-1: Aktywne rozwarcie → Aktywne zwarcie", "IN-1: Active Opened → Active Closed",
         "IN-1: Aktiv beim Öffnen → Aktiv beim Schliessen"},
        {"potential input", [](auto&, auto& f) { f.alarm_settings.input_modes = 0x01; },
         "P-IN-1: Aktywny brak napięcia → Aktywne napięcie",
         "P-IN-1: Active No Voltage → Active Voltage", "P-IN-1: Aktiv No Voltage → Aktiv Voltage"},
        {"input bits", [](auto&, auto& f) { f.alarm_settings.high_bits = 0x0B; },
         "Tryby wejść, bity zarezerwowane: 10 → 11", "Input modes, reserved bits: 10 → 11",
         "Eingangsmodi, reservierte Bits: 10 → 11"},
        {"high threshold", [](auto&, auto& f) { f.alarm_settings.t1_high = 35; },
         "Termometr 1, próg górny: 30 °C → 35 °C", "Thermometer 1, high threshold: 30 °C → 35 °C",
         "Thermometer 1, oberer Grenzwert: 30 °C → 35 °C"},
        {"low threshold", [](auto&, auto& f) { f.alarm_settings.t2_low = -10; },
         "Termometr 2, próg dolny: 0 °C → -10 °C", "Thermometer 2, low threshold: 0 °C → -10 °C",
         "Thermometer 2, unterer Grenzwert: 0 °C → -10 °C"},
        {"battery", [](auto&, auto& f) { f.alarm_settings.battery = 50; },
         "Stan baterii: 20 % → 50 %", "Battery level: 20 % → 50 %", "Akkuzustand: 20 % → 50 %"},
        {"procedure SMS", [](auto&, auto& f) { f.procedures[4].sms = false; },
         "Procedury alarmowe, T1 High, SMS: tak → nie",
         "Emergency procedures, T1 High, SMS: yes → no",
         "Alarmprozeduren, T1 High, SMS: ja → nein"},
        {"procedure CLIP", [](auto&, auto& f) { f.procedures[8].clip = true; },
         "Procedury alarmowe, BAT Low, CLIP: nie → tak",
         "Emergency procedures, BAT Low, CLIP: no → yes",
         "Alarmprozeduren, BAT Low, CLIP: nein → ja"},
        {"procedure OUT-1", [](auto&, auto& f) { f.procedures[0].out1 = 3; },
         "Procedury alarmowe, IN-1, OUT-1: Brak → OUT-1 ON-2s",
         "Emergency procedures, IN-1, OUT-1: None → OUT-1 ON-2s",
         "Alarmprozeduren, IN-1, OUT-1: None → OUT-1 ON-2s"},
        {"procedure OUT-2", [](auto&, auto& f) { f.procedures[1].out2 = 1; },
         "Procedury alarmowe, IN-2, OUT-2: OUT-2 OFF → OUT-2 ON",
         "Emergency procedures, IN-2, OUT-2: OUT-2 OFF → OUT-2 ON",
         "Alarmprozeduren, IN-2, OUT-2: OUT-2 OFF → OUT-2 ON"},
        {"procedure bits", [](auto&, auto& f) { f.procedures[2].high_bits = 0; },
         "Procedury alarmowe, P-IN-1, bity zarezerwowane: 2 → 0",
         "Emergency procedures, P-IN-1, reserved bits: 2 → 0",
         "Alarmprozeduren, P-IN-1, reservierte Bits: 2 → 0"},
        {"call answer SMS", [](auto&, auto& f) { f.call_answer.sms = false; },
         "Reakcja na wywołanie, SMS: tak → nie", "Answer for Call, SMS: yes → no",
         "Antwort zum Abrufen, SMS: ja → nein"},
        {"call answer, a code with no item", [](auto&, auto& f) { f.call_answer.out2 = 1; },
         "Reakcja na wywołanie, OUT-2: kod 7 → OUT-2 CH",
         "Answer for Call, OUT-2: code 7 → OUT-2 CH",
         "Antwort zum Abrufen, OUT-2: Code 7 → OUT-2 CH"},
        {"call answer OUT-1", [](auto&, auto& f) { f.call_answer.out1 = 2; },
         "Reakcja na wywołanie, OUT-1: OUT-1 CH → OUT-1 ON-2s",
         "Answer for Call, OUT-1: OUT-1 CH → OUT-1 ON-2s",
         "Antwort zum Abrufen, OUT-1: OUT-1 CH → OUT-1 ON-2s"},
        {"auto-status period", [](auto&, auto& f) { f.auto_status.period_days = 2; },
         "Auto-Status, Okres wyzwalania: 9 dni → 2 dni",
         "Auto-Status, Trigger period: 9 days → 2 days",
         "Auto-Status, Auslöseintervall: 9 Tage → 2 Tage"},
        {"auto-status CLIP", [](auto&, auto& f) { f.auto_status.clip = true; },
         "Auto-Status, CLIP: nie → tak", "Auto-Status, CLIP: no → yes",
         "Auto-Status, CLIP: nein → ja"},
        {"auto-reset off", [](auto&, auto& f) { f.auto_reset_days = 0; },
         "Auto-Reset, Okres wyzwalania: 3 dni → Brak", "Auto-Reset, Trigger period: 3 days → None",
         "Auto-Reset, Auslöseintervall: 3 Tage → None"},
        {"auto-reset one day",
         [](auto& m, auto& f) { m.auto_reset_days = 1, f.auto_reset_days = 12; },
         "Auto-Reset, Okres wyzwalania: 1 dzień → 12 dni",
         "Auto-Reset, Trigger period: 1 day → 12 days",
         "Auto-Reset, Auslöseintervall: 1 Tag → 12 Tage"},
        {"accept all", [](auto&, auto& f) { f.accept_all = false; },
         "Numery telefonów, Akceptuj wszystkie: tak → nie",
         "Telephone Numbers, Received All: yes → no", "Telefonnummern, Akzeptiere alle: ja → nein"},
        {"number added", [](auto&, auto& f) { f.accepted_numbers.push_back("48600100300"); },
         "Akceptowane numery: +48600100300 dodany", "Received phone numbers: +48600100300 added",
         "Akzeptierte Telefonnummern: +48600100300 hinzugefügt"},
        {"a repeat removed",
         [](auto& m, auto&) { m.accepted_numbers.push_back(m.accepted_numbers[0]); },
         "Akceptowane numery: +48600100201 usunięty (1 z 2)",
         "Received phone numbers: +48600100201 removed (1 of 2)",
         "Akzeptierte Telefonnummern: +48600100201 entfernt (1 von 2)"},
        {"order", [](auto&, auto& f) { std::swap(f.emergency_numbers[0], f.emergency_numbers[1]); },
         "Numery alarmowe: zmieniona kolejność", "Emergency phone numbers: order changed",
         "Anzurufende Telefonnummern: Reihenfolge geändert"},
        {"name", [](auto&, auto& f) { f.io_names[0] = "Gate"; },
         "Nazwy dla stanów we./wy., IN-1 (Open): \"Door open\" → \"Gate\"",
         "Names for I/O states, IN-1 (Open): \"Door open\" → \"Gate\"",
         "Namen für Ein- und Ausgangszustände, IN-1 (Open): \"Door open\" → \"Gate\""},
        {"PIN",
         [](auto& m, auto& f) {
             m.sim_codes = config::SimCodesValue{"1234", "12345678"};
             f.sim_codes = config::SimCodesValue{"5678", "12345678"};
         },
         "PIN i PUK: PIN jest inny (nie pokazano)", "PIN and PUK: PIN differs (not shown)",
         "PIN und PUK: PIN ist anders (nicht angezeigt)"},
        {"PUK no longer set",
         [](auto& m, auto& f) {
             m.sim_codes = config::SimCodesValue{"1234", "12345678"};
             f.sim_codes = config::SimCodesValue{"1234", std::nullopt};
         },
         "PIN i PUK: PUK jest inny (nie pokazano)", "PIN and PUK: PUK differs (not shown)",
         "PIN und PUK: PUK ist anders (nicht angezeigt)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(words(c.change, kPolish), std::vector<std::string>{c.polish});
        EXPECT_EQ(words(c.change, kEnglish), std::vector<std::string>{c.english});
        EXPECT_EQ(words(c.change, kGerman), std::vector<std::string>{c.german});
    }
}

TEST(DifferenceWords, SimCodesNeverShowTheirDigits) {
    const Change change = [](auto& m, auto& f) {
        m.sim_codes = config::SimCodesValue{"4321", "87654321"};
        f.sim_codes = config::SimCodesValue{std::nullopt, "11223344"};
    };
    for (const uint8_t language : {kPolish, kEnglish, kGerman}) {
        const std::vector<std::string> lines = words(change, language);
        ASSERT_EQ(lines.size(), 2u);
        for (const std::string& line : lines)
            for (const char* code : {"4321", "8765", "1122", "3344"})
                EXPECT_EQ(line.find(code), std::string::npos) << line;
    }
}

}  // namespace
}  // namespace zavi
