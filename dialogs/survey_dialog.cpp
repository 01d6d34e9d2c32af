#include "dialogs/survey_dialog.h"

#include <cstdio>
#include <string>

#include "commission/snapshot.h"
#include "config/files.h"
#include "resources/ids.h"
#include "ui/file_problem.h"
#include "ui/messages.h"
#include "ui/ui_language.h"
#include "ui/vocabulary.h"

namespace zavi {

namespace {

std::string dbm_text(const std::optional<int>& dbm) {
    return dbm ? std::to_string(*dbm) + " dBm" : "—";
}

std::string duration_text(int seconds, uint8_t l) {
    if (seconds < 60) return std::to_string(seconds) + " s";
    return std::to_string(seconds / 60) + pick_text(l, " min", " min", " Min.");
}

}  // namespace

void SurveyDialog::on_init(DialogView& view) {
    const uint8_t l = ui_language;
    view_ = &view;
    view.set_title(pick_text(l, "Pomiar sygnału GSM", "Signal survey", "Signalmessung"));
    view.set_text(IDC_SV_DURATION_LABEL, pick_text(l, "Czas pomiaru", "Duration", "Messdauer"));
    view.clear_items(IDC_SV_DURATION);
    for (int seconds : kSurveySeconds) view.add_item(IDC_SV_DURATION, duration_text(seconds, l));
    view.select_item(IDC_SV_DURATION, 0);
    view.set_text(IDC_SV_SAVE_CSV,
                  pick_text(l, "Zapisz CSV...", "Save CSV...", "CSV speichern..."));
    view.set_text(IDC_SV_CLOSE, kCloseTexts.in(l));
    view.set_text(IDC_SV_PLOT, "");
    show(view);
}

void SurveyDialog::start(DialogView& view) {
    const int index = view.selected_item(IDC_SV_DURATION);
    const int seconds = kSurveySeconds[index >= 0 && index < 5 ? index : 0];
    duration_us_ = uint64_t(seconds) * 1'000'000;
    result_ = commission::SurveyResult{};
    result_->started = reads_.clock_text ? reads_.clock_text() : "";
    started_us_ = reads_.now_us ? reads_.now_us() : 0;
    reading_ = reads_.start && reads_.start();
    result_->interrupted = !reading_;
    show(view);
    if (!reading_) show_communication_error(view, ui_language);
}

bool SurveyDialog::on_cycle(bool failed) {
    if (!reading_ || !view_ || !result_) return true;
    if (failed) {
        // The worker has ended by itself; the samples so far stay.
        reading_ = false;
        result_->interrupted = true;
        show(*view_);
        show_communication_error(*view_, ui_language);
        return true;
    }
    const uint64_t now = reads_.now_us ? reads_.now_us() : started_us_;
    commission::SurveySample sample;
    sample.at_s = (now - started_us_) / 1e6;
    sample.clock = reads_.clock_text ? reads_.clock_text() : "";
    sample.dbm = commission::take_snapshot().signal_dbm;
    result_->samples.push_back(sample);
    result_->duration_s = sample.at_s;
    const bool complete = now - started_us_ >= duration_us_;
    if (complete) reading_ = false;  // the verdict and the buttons come back
    show(*view_);
    return complete;
}

void SurveyDialog::on_command(DialogView& view, int id, int) {
    switch (id) {
        case IDC_SV_START:
            if (reading_) {
                reading_ = false;
                reads_.stop();
                show(view);
            } else {
                reads_.stop();  // a worker that ended by itself
                start(view);
            }
            return;
        case IDC_SV_SAVE_CSV: {
            if (!result_ || result_->samples.empty() || reading_ || !files_) return;
            std::string path, why;
            if (!files_->choose_file(FileKind::survey_csv, true, &path)) return;
            if (!write_file_safely(path, commission::survey_csv(*result_), FileAccess::normal,
                                   &why))
                show_message(view, file_not_saved_text(path, ui_language), MessageIcon::error);
            return;
        }
        case IDC_SV_CLOSE:
            on_close(view);
            return;
        default:
            return;
    }
}

void SurveyDialog::on_close(DialogView& view) {
    if (reading_) {
        reading_ = false;
        reads_.stop();
    }
    view_ = nullptr;
    view.close(0);
}

void SurveyDialog::show(DialogView& view) {
    const uint8_t l = ui_language;
    view.set_text(IDC_SV_START, reading_ ? pick_text(l, "Stop", "Stop", "Stopp")
                                         : pick_text(l, "Start", "Start", "Start"));
    view.set_enabled(IDC_SV_DURATION, !reading_);
    view.set_enabled(IDC_SV_SAVE_CSV, result_ && !result_->samples.empty() && !reading_);
    const commission::SurveyStats st = result_ ? result_->stats() : commission::SurveyStats{};
    char text[160];
    std::snprintf(text, sizeof text, "%s %.0f s", pick_text(l, "Czas:", "Time:", "Zeit:"),
                  result_ ? result_->duration_s : 0.0);
    view.set_text(IDC_SV_TIME, text);
    view.set_text(IDC_SV_PRESENT,
                  pick_text(l, "Teraz: ", "Present: ", "Aktuell: ") + dbm_text(st.present));
    view.set_text(IDC_SV_LOWEST,
                  pick_text(l, "Min.: ", "Lowest: ", "Minimum: ") + dbm_text(st.lowest));
    view.set_text(IDC_SV_HIGHEST,
                  pick_text(l, "Maks.: ", "Highest: ", "Maximum: ") + dbm_text(st.highest));
    if (st.mean)
        std::snprintf(text, sizeof text, "%s%.1f dBm",
                      pick_text(l, "Średnio: ", "Mean: ", "Mittel: "), *st.mean);
    else
        std::snprintf(text, sizeof text, "%s—", pick_text(l, "Średnio: ", "Mean: ", "Mittel: "));
    view.set_text(IDC_SV_MEAN, text);
    std::snprintf(text, sizeof text,
                  pick_text(l, "Próbki: %d   bez odczytu: %d", "Samples: %d   no reading: %d",
                            "Messwerte: %d   ohne Wert: %d"),
                  st.samples, st.no_reading);
    view.set_text(IDC_SV_SAMPLES, text);
    std::vector<std::optional<int>> plot;
    if (result_)
        for (const auto& s : result_->samples) plot.push_back(s.dbm);
    view.set_plot(IDC_SV_PLOT, plot, commission::kFailureDbm,
                  commission::kFailureDbm + commission::kReserveDb);

    std::string verdict;
    if (!result_) {
        verdict = pick_text(l, "Wybierz czas pomiaru i naciśnij Start.",
                            "Choose the duration and press Start.",
                            "Messdauer wählen und Start drücken.");
    } else if (reading_) {
        verdict = pick_text(l, "Pomiar trwa...", "Measuring...", "Messung läuft...");
    } else {
        const commission::Assessment a = commission::assess(st, l);
        verdict = commission::verdict_word(a.verdict, l) + ": " + a.reason;
        if (result_->interrupted)
            verdict +=
                pick_text(l, " Pomiar przerwany (brak odpowiedzi modułu).",
                          " The survey was interrupted (the module stopped answering).",
                          " Die Messung wurde unterbrochen (das Modul antwortet nicht mehr).");
    }
    view.set_text(IDC_SV_VERDICT, verdict);
}

}  // namespace zavi
