#include "commission/report.h"

#include <cstdio>

#include "commission/html_text.h"
#include "common/three_languages.h"

namespace zavi::commission {

namespace {

constexpr const char* kStyle = R"(<style>
@page { size: A4; margin: 12mm 11mm; }
body { font-family: "DejaVu Sans", Arial, sans-serif; font-size: 9pt; color: #111; margin: 0 auto; max-width: 190mm; }
h1 { font-size: 14pt; margin: 0 0 2mm; }
h2 { font-size: 10.5pt; margin: 3mm 0 1mm; border-bottom: 1px solid #888; break-after: avoid; page-break-after: avoid; }
table { border-collapse: collapse; width: 100%; margin-bottom: 1.5mm; }
th, td { border: 1px solid #bbb; padding: 0.3mm 1.2mm; text-align: left; vertical-align: top; overflow-wrap: anywhere; }
th { background: #eee; font-weight: bold; }
tr, li, svg { break-inside: avoid; page-break-inside: avoid; }
table.kv th { width: 42%; }
table.rows th:first-child { white-space: nowrap; width: 1%; }
.two { display: grid; grid-template-columns: 1fr 1fr; column-gap: 4mm; }
.two > div { min-width: 0; }
ol.numbers { columns: 6; column-gap: 3mm; font-size: 7.5pt; line-height: 1.2; margin: 0; padding-left: 7mm; }
ol.emergency { columns: 3; margin: 0; padding-left: 7mm; }
p { margin: 1mm 0; }
.ok { color: #176117; font-weight: bold; }
.no { color: #a01010; font-weight: bold; }
.note { color: #7a4b00; }
.small { font-size: 8pt; color: #444; }
code { font-size: 8pt; overflow-wrap: anywhere; }
@media print { body { max-width: none; font-size: 8.5pt; } }
</style>
)";

class Page {
  public:
    explicit Page(uint8_t language) : l_(language) {}
    const char* t(const char* pl, const char* en, const char* de) const {
        return pick_text(l_, pl, en, de);
    }
    const char* t(const char* const (&text)[3]) const { return t(text[0], text[1], text[2]); }
    uint8_t language() const { return l_; }
    // A row of a label and its value.
    void kv(std::string_view label, std::string_view value) { h.row({label, value}, 1); }
    // A section's heading; without its data a line that says why, and false.
    bool section(const char* title, bool present, const char* why) {
        h.element("h2", title);
        if (!present) h.element("p", why);
        return present;
    }
    Html h;

  private:
    uint8_t l_;
};

std::string degrees(int whole) {
    return std::to_string(whole) + " °C";
}

std::string yes_no(const Page& p, bool v) {
    return v ? p.t("tak", "yes", "ja") : p.t("nie", "no", "nein");
}

// What an output does (1, 2, 3 …), or "—" for 0 and the number for a code it does not know.
template <std::size_t N>
std::string action(const Page& p, uint8_t code, const char* const (&names)[N][3]) {
    if (code == 0) return "—";
    if (code > N) return std::to_string(code);
    return p.t(names[code - 1]);
}

constexpr const char* kOutputActions[3][3] = {
    {"włącz", "on", "ein"}, {"wyłącz", "off", "aus"}, {"włącz na 2 s", "on for 2 s", "2 s ein"}};
constexpr const char* kCallActions[2][3] = {{"zmień stan", "change", "umschalten"},
                                            {"włącz na 2 s", "on for 2 s", "2 s ein"}};

std::string days(const Page& p, int n) {
    if (n == 0) return p.t("brak", "none", "keine");
    return std::to_string(n) + " " +
           (n == 1 ? p.t("dzień", "day", "Tag") : p.t("dni", "days", "Tage"));
}

void header(Page& p, const ReportInput& in) {
    p.h.raw("<h1>")
        .text(p.t("Protokół uruchomienia ZAVI-GSM", "ZAVI-GSM commissioning report",
                  "ZAVI-GSM Inbetriebnahmeprotokoll"))
        .raw("</h1>\n<table class=\"kv\">\n");
    p.kv(p.t("Obiekt", "Site", "Objekt"), in.site);
    p.kv(p.t("Instalator", "Installer", "Errichter"), in.installer);
    p.kv(p.t("Data i godzina", "Date and time", "Datum und Uhrzeit"), in.made_at);
    p.kv(p.t("Wersja programu", "Program version", "Programmversion"), in.program_version);
    p.kv(p.t("Połączenie", "Connection", "Verbindung"), in.connection);
    p.kv(p.t("Oprogramowanie modułu", "Firmware", "Firmware"), in.firmware);
    p.h.raw("</table>\n");
}

void configuration(Page& p, const ReportInput& in) {
    const config::Configuration& c = in.configuration;
    const config::AlarmSettingsValue& a = c.alarm_settings;
    p.h.raw("<div class=\"two\"><div>\n");
    p.h.element("h2", p.t("Ustawienia alarmów", "Alarm settings", "Alarmeinstellungen"));
    p.h.raw("<table class=\"kv\">\n");
    for (int i = 0; i < 4; ++i) {
        const bool open = a.input_modes & (1 << i);
        const std::string mode =
            i < 2
                ? (open
                       ? p.t("alarm przy otwarciu", "alarm when open", "Alarm bei offen")
                       : p.t("alarm przy zamknięciu", "alarm when closed", "Alarm bei geschlossen"))
                : (open ? p.t("alarm przy braku napięcia", "alarm on no voltage",
                              "Alarm bei keiner Spannung")
                        : p.t("alarm przy napięciu", "alarm on voltage", "Alarm bei Spannung"));
        p.kv(kIoLabels[i], mode);
    }
    p.kv(p.t("Termometr 1: próg górny / dolny", "Thermometer 1: high / low threshold",
             "Thermometer 1: obere / untere Schwelle"),
         degrees(a.t1_high) + " / " + degrees(a.t1_low));
    p.kv(p.t("Termometr 2: próg górny / dolny", "Thermometer 2: high / low threshold",
             "Thermometer 2: obere / untere Schwelle"),
         degrees(a.t2_high) + " / " + degrees(a.t2_low));
    p.kv(p.t("Próg baterii", "Battery threshold", "Batterieschwelle"),
         std::to_string(a.battery) + " %");
    p.h.raw("</table>\n");

    p.h.raw("</div><div>\n");
    p.h.element(
        "h2", p.t("Odbieranie połączeń, autostatus, autoreset",
                  "Call answer, auto-status, auto-reset", "Anrufannahme, Auto-Status, Auto-Reset"));
    p.h.raw("<table class=\"kv\">\n");
    p.kv(p.t("Po odebraniu: SMS ze stanem", "On a call: status SMS", "Bei Anruf: Status-SMS"),
         yes_no(p, c.call_answer.sms));
    p.kv(p.t("Po odebraniu: OUT-1 / OUT-2", "On a call: OUT-1 / OUT-2", "Bei Anruf: OUT-1 / OUT-2"),
         action(p, c.call_answer.out1, kCallActions) + " / " +
             action(p, c.call_answer.out2, kCallActions));
    p.kv(p.t("Autostatus: SMS / CLIP", "Auto-status: SMS / CLIP", "Auto-Status: SMS / CLIP"),
         yes_no(p, c.auto_status.sms) + " / " + yes_no(p, c.auto_status.clip));
    p.kv(p.t("Autostatus: okres", "Auto-status: period", "Auto-Status: Intervall"),
         days(p, c.auto_status.period_days));
    p.kv(p.t("Autoreset: okres", "Auto-reset: period", "Auto-Reset: Intervall"),
         days(p, c.auto_reset_days));
    p.kv(p.t("PIN ustawiony", "PIN set", "PIN gesetzt"),
         in.pin_set ? yes_no(p, *in.pin_set) : p.t("nie odczytano", "not read", "nicht gelesen"));
    p.h.raw("</table>\n");

    p.h.raw("</div></div>\n");
    p.h.element("h2", p.t("Procedury alarmowe", "Alarm procedures", "Alarmabläufe"));
    p.h.raw("<table>\n");
    p.h.row({p.t("Zdarzenie", "Event", "Ereignis"), "SMS", "CLIP", "OUT-1", "OUT-2"}, 5);
    static constexpr const char* kEvents[9][3] = {
        {"IN-1", "IN-1", "IN-1"},
        {"IN-2", "IN-2", "IN-2"},
        {"P-IN-1", "P-IN-1", "P-IN-1"},
        {"P-IN-2", "P-IN-2", "P-IN-2"},
        {"Termometr 1 powyżej progu", "Thermometer 1 above high", "Thermometer 1 über oben"},
        {"Termometr 1 poniżej progu", "Thermometer 1 below low", "Thermometer 1 unter unten"},
        {"Termometr 2 powyżej progu", "Thermometer 2 above high", "Thermometer 2 über oben"},
        {"Termometr 2 poniżej progu", "Thermometer 2 below low", "Thermometer 2 unter unten"},
        {"Niski stan baterii", "Battery low", "Batterie schwach"}};
    for (std::size_t e = 0; e < config::kProcedureCount; ++e) {
        const config::ProcedureValue& v = c.procedures[e];
        p.h.row({p.t(kEvents[e]), yes_no(p, v.sms), yes_no(p, v.clip),
                 action(p, v.out1, kOutputActions), action(p, v.out2, kOutputActions)});
    }
    p.h.raw("</table>\n");

    p.h.element("h2", p.t("Numery alarmowe", "Emergency numbers", "Alarmnummern"));
    if (c.emergency_numbers.empty()) p.h.element("p", p.t("brak", "none", "keine"));
    p.h.raw("<ol class=\"emergency\">\n");
    for (const std::string& n : c.emergency_numbers) p.h.raw("<li>").text("+" + n).raw("</li>\n");
    p.h.raw("</ol>\n");

    p.h.element("h2", p.t("Numery uprawnione", "Accepted numbers", "Zugelassene Nummern"));
    p.h.raw("<p>")
        .text(
            p.t("Przyjmuj wszystkie numery: ", "Accept every number: ", "Alle Nummern annehmen: "))
        .text(yes_no(p, c.accept_all))
        .text(" — " + std::to_string(c.accepted_numbers.size()) + " " +
              p.t("numerów", "numbers", "Nummern"))
        .raw("</p>\n<ol class=\"numbers\">\n");
    for (const std::string& n : c.accepted_numbers) p.h.raw("<li>").text("+" + n).raw("</li>\n");
    p.h.raw("</ol>\n");

    p.h.element("h2", p.t("Nazwy wejść i wyjść", "I/O names", "E/A-Namen"));
    p.h.raw("<table class=\"rows\">\n");
    p.h.row({"",
             p.t("stan 1 (otwarte / brak napięcia / włączone)", "state 1 (open / no voltage / on)",
                 "Zustand 1 (offen / keine Spannung / ein)"),
             p.t("stan 2 (zamknięte / napięcie / wyłączone)", "state 2 (closed / voltage / off)",
                 "Zustand 2 (geschlossen / Spannung / aus)")},
            3);
    for (int i = 0; i < 6; ++i)
        p.h.row({kIoLabels[i], c.io_names[2 * i], c.io_names[2 * i + 1]}, 1);
    p.h.raw("</table>\n");
}

std::string battery_text(const Page& p, const std::optional<int>& percent, int state) {
    std::string s = percent ? std::to_string(*percent) + " %" : std::string("???");
    s += ", ";
    s += state == 0   ? p.t("nie ładuje", "not charging", "lädt nicht")
         : state == 1 ? p.t("ładuje", "charging", "lädt")
                      : p.t("błąd", "error", "Fehler");
    return s;
}

std::string gsm_text(const Page& p, int state) {
    static constexpr const char* kStates[6][3] = {
        {"gotowy", "ready", "bereit"},
        {"wylogowany", "logged out", "abgemeldet"},
        {"inicjalizacja", "initialising", "Initialisierung"},
        {"brak karty SIM", "no SIM card", "keine SIM-Karte"},
        {"wymaga PIN", "PIN needed", "PIN nötig"},
        {"wymaga PUK", "PUK needed", "PUK nötig"}};
    if (state >= 0 && state < 6) return p.t(kStates[state]);
    return p.t("błąd", "error", "Fehler");
}

std::string dbm_text(const std::optional<int>& v) {
    return v ? std::to_string(*v) + " dBm" : std::string("???");
}

void live(Page& p, const std::optional<Snapshot>& live) {
    if (!p.section(
            p.t("Stan w chwili sporządzenia protokołu", "Live status at the time of the report",
                "Zustand zum Zeitpunkt des Protokolls"),
            live.has_value(),
            p.t("Nie udało się odczytać.", "Could not be read.", "Konnte nicht gelesen werden.")))
        return;
    const Snapshot& s = *live;
    p.h.raw("<table class=\"kv\">\n");
    p.kv(p.t("Temperatura 1 / 2", "Temperature 1 / 2", "Temperatur 1 / 2"),
         temperature_text(s.temp1_tenths) + " °C / " + temperature_text(s.temp2_tenths) + " °C");
    p.kv(p.t("Bateria", "Battery", "Batterie"),
         battery_text(p, s.battery_percent, s.battery_state));
    p.kv("GSM", gsm_text(p, s.gsm_state) + ", " + dbm_text(s.signal_dbm) + ", " + s.operator_name);
    for (int i = 0; i < 6; ++i) p.kv(kIoLabels[i], s.io[i]);
    p.h.raw("</table>\n");
}

std::string seen_text(const Page& p, const StateCheck& c) {
    if (!c.seen) return p.t("✗ nie widziano", "✗ not seen", "✗ nicht gesehen");
    char secs[32];
    std::snprintf(secs, sizeof secs, " (+%.1f s)", c.first_seen_s);
    return "✓ " + c.first_seen + secs;
}

void walk(Page& p, const std::optional<WalkTestResult>& test) {
    if (!p.section(p.t("Test wejść", "Walk test", "Begehungstest"), test.has_value(),
                   p.t("Nie przeprowadzono.", "Not done.", "Nicht durchgeführt.")))
        return;
    const WalkTestResult& r = *test;
    p.h.raw("<p class=\"small\">").text(r.started);
    char secs[48];
    std::snprintf(secs, sizeof secs, ", %.0f s", r.duration_s);
    p.h.text(secs);
    if (r.interrupted)
        p.h.raw(" <span class=\"no\">")
            .text(p.t("przerwany", "interrupted", "unterbrochen"))
            .raw("</span>");
    p.h.raw("</p>\n<table class=\"rows\">\n");
    const char* state = p.t("stan", "state", "Zustand");
    const char* seen = p.t("widziany", "seen", "gesehen");
    p.h.row({"", state, seen, state, seen}, 5);
    for (int i = 0; i < 4; ++i) {
        const InputRow& row = r.inputs[i];
        p.h.raw("<tr><th>").text(kIoLabels[i]).raw("</th>");
        for (const StateCheck& c : row.states) {
            p.h.raw("<td>")
                .text(c.name)
                .raw("</td><td class=\"")
                .raw(c.seen ? "ok" : "no")
                .raw("\">")
                .text(seen_text(p, c))
                .raw("</td>");
        }
        p.h.raw("</tr>\n");
        if (row.note != RowNote::none) {
            p.h.raw("<tr><td></td><td colspan=\"4\" class=\"note\">");
            if (row.note == RowNote::equal_names)
                p.h.text(p.t("Obie nazwy są takie same: stanów nie da się rozróżnić.",
                             "Both names are the same: the states cannot be told apart.",
                             "Beide Namen sind gleich: die Zustände sind nicht zu unterscheiden."));
            else
                p.h.text(p.t("Tekst nie pasuje do żadnej nazwy: ", "A text matched neither name: ",
                             "Ein Text passt zu keinem Namen: "))
                    .text("\"" + row.unknown + "\"");
            p.h.raw("</td></tr>\n");
        }
    }
    p.h.raw("</table>\n<table class=\"kv\">\n");
    for (int o = 0; o < 2; ++o) {
        const OutputRow& row = r.outputs[o];
        p.kv(kIoLabels[4 + o],
             row.present + " — " +
                 (row.confirmed
                      ? p.t("✓ przełączenie potwierdzone", "✓ switching confirmed",
                            "✓ Schalten bestätigt")
                      : p.t("✗ nie potwierdzono", "✗ not confirmed", "✗ nicht bestätigt")));
    }
    for (int t = 0; t < 2; ++t) {
        const ThermometerRow& th = r.thermometers[t];
        p.kv(
            std::string(p.t("Termometr ", "Thermometer ", "Thermometer ")) + std::to_string(t + 1),
            temperature_text(th.reading_tenths) + " °C (" + degrees(th.low) + " … " +
                degrees(th.high) + ") — " +
                (th.within() ? p.t("w zakresie", "within the thresholds", "innerhalb der Schwellen")
                             : p.t("poza zakresem: alarm zadziałałby teraz",
                                   "outside the thresholds: an alarm would fire now",
                                   "außerhalb der Schwellen: ein Alarm würde jetzt auslösen")));
    }
    const bool low = r.battery_percent && *r.battery_percent < r.battery_threshold;
    p.kv(p.t("Bateria", "Battery", "Batterie"),
         battery_text(p, r.battery_percent, r.battery_state) + " (" +
             p.t("próg ", "threshold ", "Schwelle ") + std::to_string(r.battery_threshold) + " %)" +
             (low ? p.t(" — poniżej progu", " — below the threshold", " — unter der Schwelle")
                  : ""));
    p.kv("GSM", gsm_text(p, r.gsm_state) + ", " + r.operator_name + ", " + dbm_text(r.signal_dbm));
    p.kv(p.t("Testowy SMS odebrany", "Test SMS received", "Test-SMS empfangen"),
         r.sms_received ? "✓" : p.t("✗ nie potwierdzono", "✗ not confirmed", "✗ nicht bestätigt"));
    p.kv(p.t("Testowe połączenie odebrane", "Test call received", "Testanruf empfangen"),
         r.call_received ? "✓" : p.t("✗ nie potwierdzono", "✗ not confirmed", "✗ nicht bestätigt"));
    p.h.raw("</table>\n<p>").text(summary_line(r, p.language())).raw("</p>\n");
}

void survey(Page& p, const std::optional<SurveyResult>& survey) {
    if (!p.section(p.t("Pomiar sygnału GSM", "Signal survey", "Signalmessung"), survey.has_value(),
                   p.t("Nie przeprowadzono.", "Not done.", "Nicht durchgeführt.")))
        return;
    const SurveyResult& r = *survey;
    const SurveyStats s = r.stats();
    const Assessment a = assess(s, p.language());
    p.h.raw("<table class=\"kv\">\n");
    char mean[32] = "???";
    if (s.mean) std::snprintf(mean, sizeof mean, "%.1f dBm", *s.mean);
    p.kv(p.t("Początek, czas", "Started, duration", "Beginn, Dauer"),
         r.started + ", " + std::to_string(static_cast<int>(r.duration_s + 0.5)) + " s" +
             (r.interrupted ? std::string(" — ") + p.t("przerwany", "interrupted", "unterbrochen")
                            : ""));
    p.kv(p.t("Obecny / najniższy / średni / najwyższy", "Present / lowest / mean / highest",
             "Aktuell / niedrigster / Mittel / höchster"),
         dbm_text(s.present) + " / " + dbm_text(s.lowest) + " / " + mean + " / " +
             dbm_text(s.highest));
    p.kv(p.t("Próbki (bez odczytu)", "Samples (no reading)", "Messungen (ohne Wert)"),
         std::to_string(s.samples) + " (" + std::to_string(s.no_reading) + ")");
    p.h.raw("<tr><th>")
        .text(p.t("Ocena", "Verdict", "Bewertung"))
        .raw("</th><td><span class=\"")
        .raw(a.verdict == Verdict::good   ? "ok"
             : a.verdict == Verdict::poor ? "no"
                                          : "note")
        .raw("\">")
        .text(verdict_word(a.verdict, p.language()))
        .raw("</span>: ")
        .text(a.reason)
        .raw("</td></tr>\n</table>\n");
    p.h.raw(survey_plot_svg(r));
    p.h.raw("<p class=\"small\">")
        .text(
            p.t("Linie przerywane: zielona −85 dBm (dobry od), pomarańczowa −95 dBm (zapas 10 dB), "
                "czerwona −105 dBm (połączenia zaczynają zawodzić).",
                "Dashed lines: green −85 dBm (good from), orange −95 dBm (10 dB reserve), "
                "red −105 dBm (calls start to fail).",
                "Gestrichelt: grün −85 dBm (gut ab), orange −95 dBm (10 dB Reserve), "
                "rot −105 dBm (Anrufe beginnen zu scheitern)."))
        .raw("</p>\n");
}

}  // namespace

std::string build_report(const ReportInput& in) {
    Page p(in.language);
    const char* lang = in.language == kPolish ? "pl" : in.language == kEnglish ? "en" : "de";
    p.h.raw("<!DOCTYPE html>\n<html lang=\"")
        .raw(lang)
        .raw("\">\n<head>\n<meta charset=\"utf-8\">\n<title>");
    p.h.text(std::string(
                 p.t("Protokół uruchomienia", "Commissioning report", "Inbetriebnahmeprotokoll")) +
             (in.site.empty() ? "" : " — " + in.site));
    p.h.raw("</title>\n").raw(kStyle).raw("</head>\n<body>\n");
    header(p, in);
    configuration(p, in);
    live(p, in.live);
    walk(p, in.walk_test);
    survey(p, in.survey);
    p.h.element("h2", p.t("Kopia konfiguracji", "Configuration backup", "Konfigurationssicherung"));
    p.h.raw("<p>")
        .text(in.backup_name)
        .raw("<br>SHA-256: <code>")
        .text(in.backup_sha256)
        .raw("</code></p>\n</body>\n</html>\n");
    return p.h.str();
}

}  // namespace zavi::commission
