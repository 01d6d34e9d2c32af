#include "dialogs/walk_test_dialog.h"

#include <cstdio>

#include "commission/snapshot.h"
#include "resources/ids.h"
#include "ui/messages.h"
#include "ui/ui_language.h"
#include "ui/vocabulary.h"

namespace zavi {

namespace {

using commission::InputRow;
using commission::RowNote;
using commission::WalkTestResult;

constexpr int kStateBoxes[4][2] = {{IDC_WT_IN1_A, IDC_WT_IN1_B},
                                   {IDC_WT_IN2_A, IDC_WT_IN2_B},
                                   {IDC_WT_PIN1_A, IDC_WT_PIN1_B},
                                   {IDC_WT_PIN2_A, IDC_WT_PIN2_B}};
constexpr int kNotes[4] = {IDC_WT_IN1_NOTE, IDC_WT_IN2_NOTE, IDC_WT_PIN1_NOTE, IDC_WT_PIN2_NOTE};
constexpr int kOutputs[2] = {IDC_WT_OUT1_PRESENT, IDC_WT_OUT2_PRESENT};
constexpr int kConfirms[2] = {IDC_WT_OUT1_CONFIRM, IDC_WT_OUT2_CONFIRM};
constexpr int kThermometers[2] = {IDC_WT_THERMO1, IDC_WT_THERMO2};

bool is_state_box(int id) {
    for (const auto& row : kStateBoxes)
        if (id == row[0] || id == row[1]) return true;
    return false;
}

// "Door open  (14:02:31)": the name, and the clock time it was first seen.
std::string state_text(const commission::StateCheck& c, int input, int state, uint8_t l) {
    std::string text;
    if (c.name.empty()) {
        // No name configured: the state's own word, in brackets.
        text += '(';
        text += commission::missing_text(commission::state_key(input, state), l);
        text += ')';
    } else {
        text = c.name;
    }
    if (c.seen && c.first_seen.size() >= 19) {
        text += "  (";
        text.append(c.first_seen, 11, 8);
        text += ')';
    }
    return text;
}

std::string note_text(const InputRow& row, uint8_t l) {
    switch (row.note) {
        case RowNote::equal_names:
            return pick_text(l, "Oba stany mają tę samą nazwę: nie da się ich odróżnić.",
                             "Both states have the same name: they cannot be told apart.",
                             "Beide Zustände heißen gleich: sie sind nicht zu unterscheiden.");
        case RowNote::unknown_text:
            return pick_text(l, "Moduł pokazał \"", "The module showed \"", "Das Modul zeigte \"") +
                   row.unknown +
                   pick_text(l, "\" – to żadna z nazw.", "\", which is neither name.",
                             "\" – keiner der beiden Namen.");
        default:
            return "";
    }
}

std::string thermometer_text(int k, const commission::ThermometerRow& t, bool read, uint8_t l) {
    char text[200];
    std::snprintf(text, sizeof text, "%s %d: %s °C   (%d … %d °C)   ",
                  pick_text(l, "Termometr", "Thermometer", "Thermometer"), k + 1,
                  read ? commission::temperature_text(t.reading_tenths).c_str() : "—", t.low,
                  t.high);
    if (!read) return text;
    return text + std::string(t.within() ? pick_text(l, "w zakresie", "within range", "im Bereich")
                                         : pick_text(l, "POZA ZAKRESEM: alarm teraz",
                                                     "OUT OF RANGE: an alarm would fire now",
                                                     "AUSSERHALB: jetzt käme ein Alarm"));
}

std::string battery_text(const WalkTestResult& r, uint8_t l) {
    std::string text = pick_text(l, "Bateria: ", "Battery: ", "Batterie: ");
    if (!r.has_reading) return text + "—";
    text += r.battery_percent ? std::to_string(*r.battery_percent) + " %" : "???";
    text += pick_text(l, "   (próg ", "   (threshold ", "   (Schwelle ") +
            std::to_string(r.battery_threshold) + " %)   ";
    text += r.battery_state == 0   ? pick_text(l, "brak ładowania", "not charging", "lädt nicht")
            : r.battery_state == 1 ? pick_text(l, "ładowana", "charging", "lädt")
                                   : pick_text(l, "błąd", "error", "Fehler");
    if (r.battery_percent && *r.battery_percent < r.battery_threshold)
        text += pick_text(l, ", PONIŻEJ PROGU", ", BELOW THE THRESHOLD", ", UNTER DER SCHWELLE");
    return text;
}

std::string gsm_text(const WalkTestResult& r, uint8_t l) {
    static constexpr const char* kStates[3][7] = {
        {"gotowy", "wylogowany", "inicjalizacja", "brak SIM", "PIN", "PUK", "błąd"},
        {"ready", "logged out", "initialization", "no SIM", "PIN", "PUK", "error"},
        {"bereit", "abgemeldet", "Initialisierung", "keine SIM", "PIN", "PUK", "Fehler"}};
    if (!r.has_reading) return "GSM: —";
    const int state = r.gsm_state >= 0 && r.gsm_state < 6 ? r.gsm_state : 6;
    std::string text = std::string("GSM: ") + kStates[l > 2 ? 2 : l][state];
    if (!r.operator_name.empty()) text += ", " + r.operator_name;
    text += ", " + (r.signal_dbm ? std::to_string(*r.signal_dbm) + " dBm"
                                 : std::string(pick_text(l, "brak odczytu sygnału",
                                                         "no signal reading", "kein Signalwert")));
    return text;
}

}  // namespace

WalkTestDialog::WalkTestDialog(const config::Configuration& cfg, LiveReads reads)
    : test_(cfg, reads.clock_text ? reads.clock_text() : std::string()), reads_(std::move(reads)) {}

void WalkTestDialog::on_init(DialogView& view) {
    const uint8_t l = ui_language;
    view_ = &view;
    view.set_title(pick_text(l, "Test wejść i wyjść", "Walk test", "Begehungstest"));
    view.set_text(IDC_WT_INPUTS_GROUP, pick_text(l, "Wejścia", "Inputs", "Eingänge"));
    view.set_text(IDC_WT_OUTPUTS_GROUP, pick_text(l, "Wyjścia", "Outputs", "Ausgänge"));
    view.set_text(IDC_WT_READINGS_GROUP, pick_text(l, "Odczyty", "Readings", "Messwerte"));
    view.set_text(IDC_WT_MANUAL_GROUP,
                  pick_text(l, "Potwierdza instalator", "Confirmed by the installer",
                            "Vom Errichter bestätigt"));
    for (int id : kConfirms)
        view.set_text(id,
                      pick_text(l, "Widziano przełączenie", "Seen switching", "Schalten gesehen"));
    view.set_text(IDC_WT_SMS,
                  pick_text(l, "Testowy SMS odebrany", "Test SMS received", "Test-SMS empfangen"));
    view.set_text(IDC_WT_CALL, pick_text(l, "Testowe połączenie odebrane", "Test call received",
                                         "Testanruf empfangen"));
    view.set_text(IDC_WT_CLOSE, kCloseTexts.in(l));
    started_us_ = reads_.now_us ? reads_.now_us() : 0;
    show(view);
    reading_ = reads_.start && reads_.start();
    if (!reading_) {
        test_.interrupt();
        show(view);
        show_communication_error(view, l);
    }
}

void WalkTestDialog::on_cycle(bool failed) {
    if (!reading_ || !view_) return;
    if (failed) {
        // The worker has ended by itself; what was seen stays.
        reading_ = false;
        test_.interrupt();
        show(*view_);
        show_communication_error(*view_, ui_language);
        return;
    }
    const uint64_t now = reads_.now_us ? reads_.now_us() : started_us_;
    test_.observe(commission::take_snapshot(), reads_.clock_text ? reads_.clock_text() : "",
                  (now - started_us_) / 1e6);
    show(*view_);
}

void WalkTestDialog::on_command(DialogView& view, int id, int) {
    if (id == IDC_WT_CLOSE) return on_close(view);
    for (int o = 0; o < 2; ++o)
        if (id == kConfirms[o]) test_.confirm_output(o, view.checked(id));
    if (id == IDC_WT_SMS) test_.confirm_sms(view.checked(id));
    if (id == IDC_WT_CALL) test_.confirm_call(view.checked(id));
    // The state ticks are the program's: a click on one changes nothing.
    if (is_state_box(id) || id == IDC_WT_SMS || id == IDC_WT_CALL || id == kConfirms[0] ||
        id == kConfirms[1])
        show(view);
}

void WalkTestDialog::on_close(DialogView& view) {
    if (reading_) {
        reading_ = false;
        reads_.stop();
    }
    view_ = nullptr;
    view.close(0);
}

void WalkTestDialog::show(DialogView& view) {
    const uint8_t l = ui_language;
    const WalkTestResult& r = test_.result();
    for (int i = 0; i < 4; ++i) {
        for (int k = 0; k < 2; ++k) {
            view.set_text(kStateBoxes[i][k], state_text(r.inputs[i].states[k], i, k, l));
            view.set_checked(kStateBoxes[i][k], r.inputs[i].states[k].seen);
        }
        view.set_text(kNotes[i], note_text(r.inputs[i], l));
    }
    for (int o = 0; o < 2; ++o) {
        view.set_text(kOutputs[o], r.has_reading ? r.outputs[o].present : "—");
        view.set_checked(kConfirms[o], r.outputs[o].confirmed);
    }
    for (int k = 0; k < 2; ++k)
        view.set_text(kThermometers[k], thermometer_text(k, r.thermometers[k], r.has_reading, l));
    view.set_text(IDC_WT_BATTERY, battery_text(r, l));
    view.set_text(IDC_WT_GSM, gsm_text(r, l));
    view.set_checked(IDC_WT_SMS, r.sms_received);
    view.set_checked(IDC_WT_CALL, r.call_received);
    view.set_text(IDC_WT_SUMMARY, commission::summary_line(r, l));
}

}  // namespace zavi
