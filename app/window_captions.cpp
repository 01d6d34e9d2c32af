#include "app/window_captions.h"

#include "dialogs/options_titles.h"
#include "resources/ids.h"
#include "ui/vocabulary.h"

namespace zavi {

namespace {

// Captions of the main window that follow the language. The row labels, the window caption
// and the Reset entry keep their template text in every language.
constexpr Caption kControlCaptions[] = {
    {IDC_REFRESH, "Aktualizuj", "Refresh", "Aktualisieren"},
    {IDC_READ, "Odczytaj", "Read", "Auslesen"},
    {IDC_SAVE, kSaveTexts},
    {IDC_ALARM_GROUP, "Warunki inicjowania alarmów", "Conditions to initiate alarms",
     "Vorgaben für Alarmbedingungen"},
    {IDC_STATUS_GROUP, "Status urządzenia", "Device Status", "Gerätestatus"},
    {IDC_BATTERY_THRESHOLD_LABEL, "Stan baterii (%)", "Battery level  (%)", "Akkuzustand (%)"},
    {IDC_POTENTIAL_INPUTS_LABEL, "Wejścia potencjałowe (5-30V DC)", "Potential inputs (5-30V DC)",
     "Potenzialeingänge (5-30V DC)"},
    {IDC_FREE_INPUTS_LABEL, "Wejścia bezpotencjałowe", "Potential-free inputs",
     "Potenzialfreie Eingänge"},
    {IDC_THERMO1_LABEL, "Termometr 1     (°C)", "Thermometer 1     (°C)", "Thermometer 1     (°C)"},
    {IDC_THERMO2_LABEL, "Termometr 2     (°C)", "Thermometer 2     (°C)", "Thermometer 2     (°C)"},
    {IDC_BATTERY_LABEL, "Stan baterii\npodczas pracy", "Battery level\nduring operation",
     "Battery level\nduring operation"},
    {IDC_T2_LOW_LABEL, "Temp. low", "Temp. low", "Temp. low"},
    {IDC_T1_LOW_LABEL, "Temp. low", "Temp. low", "Temp. low"},
    {IDC_T2_HIGH_LABEL, "Temp. high", "Temp. high", "Temp. high"},
    {IDC_T1_HIGH_LABEL, "Temp. high", "Temp. high", "Temp. high"},
    {IDC_SIGNAL_LABEL, "Sygnał GSM", "GSM signal", "GSM Signal"},
};

constexpr Caption kMenuTexts[] = {
    {IDM_BACKUP, "Kopia zapasowa konfiguracji modułu...", "Back up module configuration...",
     "Modulkonfiguration sichern..."},
    {IDM_RESTORE, "Przywróć konfigurację z pliku...", "Restore configuration from file...",
     "Konfiguration aus Datei wiederherstellen..."},
    {IDM_COMPARE, "Porównaj moduł z plikiem...", "Compare module with file...",
     "Modul mit Datei vergleichen..."},
    {IDM_STATION, "Konfiguruj moduły jeden po drugim...", "Set up modules one after another...",
     "Module nacheinander einrichten..."},
    {IDM_MODULE_HISTORY, "Historia modułu...", "Module history...", "Modulverlauf..."},
    {IDM_CONNECT_AGAIN, "Połącz ponownie", "Connect again", "Erneut verbinden"},
    {IDM_EXIT, "Zakończ", "Exit", "Beenden"},
    {IDM_LIVE_STATUS, "Stan na żywo", "Live status", "Live-Status"},
    {IDM_WALK_TEST, "Test wejść i wyjść...", "Walk test...", "Begehungstest..."},
    {IDM_SURVEY, "Pomiar sygnału GSM...", "Signal survey...", "Signalmessung..."},
    {IDM_REPORT, "Protokół uruchomienia...", "Commissioning report...",
     "Inbetriebnahmeprotokoll..."},
    {IDM_PIN_PUK, kPinPukTitle},
    {IDM_ACTIONS, kActionsTitle},
    {IDM_PHONE_NUMBERS, kPhoneNumbersTitle},
    {IDM_IO_NAMES, kIoNamesTitle},
    {IDM_CALL_ANSWER, kCallAnswerTitle},
    {IDM_AUTO_STATUS, kAutoStatusTitle},
    {IDM_AUTO_RESET, kAutoResetTitle},
    {IDM_POLISH, "Polski", "Polish", "Polnish"},
    {IDM_ENGLISH, "Angielski", "English", "Englisch"},
    {IDM_GERMAN, "Niemiecki", "German", "Deutsch"},
    {IDM_ABOUT, "O programie", "About", "Über"},
};

constexpr Caption kMenuPopups[] = {
    {0, "&Plik", "&File", "&Datei"},  // Alt+P, Alt+F, Alt+D
    {1, "Opcje", "Options", "Optionen"},
    {2, "&Testy", "&Test", "&Prüfung"},  // Alt+T, Alt+T, Alt+P
    {3, "Język", "Language", "Sprache"},
};

}  // namespace

const char* menu_text(int command, uint8_t language) {
    for (const Caption& c : kMenuTexts)
        if (c.id == command) return c.text.in(language);
    return "";
}

void apply_language(DialogView& main_window, uint8_t language) {
    const int checked = language == kPolish    ? IDM_POLISH
                        : language == kEnglish ? IDM_ENGLISH
                                               : IDM_GERMAN;
    for (int id : {IDM_POLISH, IDM_ENGLISH, IDM_GERMAN})
        main_window.set_menu_checked(id, id == checked);

    for (const Caption& c : kControlCaptions) main_window.set_text(c.id, c.text.in(language));
    for (const Caption& c : kMenuPopups) main_window.set_menu_popup_text(c.id, c.text.in(language));
    for (const Caption& c : kMenuTexts) main_window.set_menu_text(c.id, c.text.in(language));
    main_window.redraw_menu();
}

}  // namespace zavi
