#include "app/station_dialog.h"

#include <cstdio>

#include "app/station_sites.h"
#include "common/safe_file.h"
#include "common/three_languages.h"
#include "resources/ids.h"
#include "ui/edit_text.h"
#include "ui/messages.h"
#include "ui/vocabulary.h"

namespace zavi {

namespace {

constexpr Caption kCaptions[] = {
    {IDC_ST_FILE_LABEL,
     "Konfiguracja lub szablon:", "Configuration or template:", "Konfiguration oder Vorlage:"},
    {IDC_ST_SITES_LABEL,
     "Tabela obiektów (opcja):", "Sites table (optional):", "Standorttabelle (optional):"},
    {IDC_ST_FOLDER_LABEL, "Folder na wyniki:", "Folder for the results:", "Ergebnisordner:"},
    {IDC_ST_FILE_BROWSE, "Wybierz...", "Browse...", "Auswählen..."},
    {IDC_ST_SITES_BROWSE, "Wybierz...", "Browse...", "Auswählen..."},
    {IDC_ST_BEGIN, "Rozpocznij", "Begin", "Beginnen"},
    {IDC_ST_STOP, "Zatrzymaj", "Stop", "Anhalten"},
    {IDC_ST_SITE_LABEL, "Obiekt:", "Site:", "Standort:"},
    {IDC_ST_START, "Start", "Start", "Start"},
    {IDC_ST_CLOSE, kCloseTexts},
};

int64_t steady_ms() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

StationDialog::StationDialog(Shell& shell, uint8_t language, SitesPlanMaker make_sites_plan,
                             StationPorts* ports)
    : chooser_(shell),
      language_(language),
      make_sites_plan_(std::move(make_sites_plan)),
      driver_ports_(language, &shell),
      ports_(ports ? *ports : driver_ports_),
      clock_(steady_ms) {}

StationDialog::~StationDialog() {
    wait_for_module();
}

void StationDialog::on_init(DialogView& view) {
    const uint8_t l = language_;
    view.set_title(pick_text(l, "Stanowisko konfiguracji modułów", "Setup station",
                             "Einrichtungsplatz für Module"));
    for (const Caption& c : kCaptions) view.set_text(c.id, c.text.in(l));
    view.set_text(IDC_ST_RESULT, "");
    view.set_text(
        IDC_ST_REASON,
        pick_text(l,
                  "Wybierz plik konfiguracji, ewentualnie tabelę obiektów i folder na "
                  "wyniki, a potem naciśnij Rozpocznij.",
                  "Pick the configuration file, a sites table if you use one, and the "
                  "folder for the results, then press Begin.",
                  "Wählen Sie die Konfigurationsdatei, gegebenenfalls eine Standorttabelle "
                  "und den Ergebnisordner, und drücken Sie dann Beginnen."));
    show(view);
}

void StationDialog::on_command(DialogView& view, int id, int) {
    std::string path;
    switch (id) {
        case IDC_ST_FILE_BROWSE:
            if (!station_ && chooser_.choose_file(FileKind::configuration, false, &path))
                view.set_text(IDC_ST_FILE, path);
            return;
        case IDC_ST_SITES_BROWSE:
            if (!station_ && chooser_.choose_file(FileKind::numbers_csv, false, &path))
                view.set_text(IDC_ST_SITES, path);
            return;
        case IDC_ST_BEGIN:
            if (!station_) begin(view);
            return;
        case IDC_ST_START:
            if (station_ && station_->state() == StationState::ready &&
                station_->choose_site(view.selected_item(IDC_ST_SITE)))
                start_job(view);
            show(view);
            return;
        case IDC_ST_STOP:
            if (station_) station_->stop();
            show(view);
            return;
        case IDC_ST_CLOSE:
            on_close(view);
            return;
        default:
            return;  // Escape (IDCANCEL) does not close a running station
    }
}

void StationDialog::on_close(DialogView& view) {
    if (station_) station_->stop();
    if (!job_.valid()) return view.close(0);
    // The module's job goes on to its end; the window closes then.
    close_requested_ = true;
    show(view);
}

void StationDialog::begin(DialogView& view) {
    const uint8_t l = language_;
    const std::string file = view.text(IDC_ST_FILE);
    const std::string sites = view.text(IDC_ST_SITES);
    const std::string folder = view.text(IDC_ST_FOLDER);
    if (file.empty() || folder.empty()) {
        show_message(view,
                     pick_text(l, "Wybierz plik konfiguracji i folder na wyniki.",
                               "Pick the configuration file and the folder for the results.",
                               "Wählen Sie die Konfigurationsdatei und den Ergebnisordner."),
                     MessageIcon::error);
        return;
    }
    std::string error;
    std::unique_ptr<StationPlan> plan;
    if (!sites.empty()) {
        if (!make_sites_plan_) {
            show_message(view,
                         pick_text(l, "Ta wersja programu nie obsługuje tabel obiektów.",
                                   "This version of the program does not take sites tables.",
                                   "Diese Programmversion unterstützt keine Standorttabellen."),
                         MessageIcon::error);
            return;
        }
        plan = make_sites_plan_(file, sites, &error);
    } else if (config::Configuration cfg; load_station_file(file, &cfg, &error)) {
        plan = std::make_unique<SingleFilePlan>(std::move(cfg));
    }
    if (!plan) {
        show_message(view, error, MessageIcon::error);
        return;
    }
    if (!make_private_folder(folder, &error)) {
        show_message(view, folder + ": " + error, MessageIcon::error);
        return;
    }
    plan_ = std::move(plan);
    station_ = std::make_unique<Station>(ports_, *plan_, folder, language_, history_folder_);
    for (int id : {IDC_ST_FILE, IDC_ST_SITES, IDC_ST_FOLDER, IDC_ST_FILE_BROWSE,
                   IDC_ST_SITES_BROWSE, IDC_ST_BEGIN})
        view.set_enabled(id, false);
    show_sites(view);
    station_->tick(clock_());  // the first look at once
    if (station_->state() == StationState::ready && !station_->needs_start_click()) start_job(view);
    show(view);
}

void StationDialog::start_job(DialogView& view) {
    StationJob job;
    if (!station_->start(&job)) return;  // a site that cannot be made has its FAIL now
    const uint8_t language = language_;
    job_ = std::async(std::launch::async,
                      [job = std::move(job), language] { return run_station_job(job, language); });
    show(view);
}

void StationDialog::on_timer(DialogView& view) {
    if (!station_) return;
    if (job_.valid()) {
        if (job_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
        station_->finish(job_.get());
        show_sites(view);
        if (close_requested_) view.close(0);
        show(view);
        return;
    }
    const bool changed = station_->tick(clock_());
    if (station_->state() == StationState::ready && !station_->needs_start_click()) start_job(view);
    if (changed) {
        show_sites(view);
        show(view);
    }
}

void StationDialog::show_sites(DialogView& view) {
    if (!station_) return;
    view.clear_items(IDC_ST_SITE);
    const auto& sites = station_->sites();
    for (std::size_t i = 0; i < sites.size(); ++i)
        view.add_item(
            IDC_ST_SITE,
            sites[i] + (station_->site_passed(static_cast<int>(i)) ? "  \xE2\x9C\x93" : ""));
    if (station_->state() == StationState::ready) view.select_item(IDC_ST_SITE, station_->site());
}

// After a module's job, until it is unplugged; also when the station was stopped during it.
bool StationDialog::shows_result(const Station& station) {
    return !station.entries().empty() &&
           (station.state() == StationState::unplug ||
            (station.state() == StationState::stopped && station.stop_pending()));
}

int StationDialog::large_text_id() const {
    return IDC_ST_RESULT;
}

TextColour StationDialog::large_text_colour() const {
    if (!station_ || !shows_result(*station_)) return {0, 0, 0};
    return station_->entries().back().pass ? TextColour{0, 140, 0} : TextColour{200, 0, 0};
}

void StationDialog::show(DialogView& view) {
    const uint8_t l = language_;
    const StationState state = station_ ? station_->state() : StationState::stopped;
    const bool ready_for_click =
        station_ && state == StationState::ready && station_->needs_start_click();
    view.set_enabled(IDC_ST_SITE, ready_for_click);
    view.set_enabled(IDC_ST_START, ready_for_click);
    view.set_enabled(IDC_ST_STOP,
                     station_ && state != StationState::stopped && !station_->stop_pending());
    if (!station_) return;

    std::string result;
    std::string reason;
    switch (state) {
        case StationState::waiting:
            result = pick_text(l, "Czekam na moduł...", "Waiting for a module...",
                               "Warte auf ein Modul...");
            reason = pick_text(l, "Podłącz następny moduł.", "Plug in the next module.",
                               "Schließen Sie das nächste Modul an.");
            break;
        case StationState::ready:
            result = pick_text(l, "Moduł znaleziony", "Module found", "Modul gefunden");
            reason = pick_text(
                l, "Wybierz obiekt i naciśnij Start. Do tej chwili nic nie jest zapisywane.",
                "Choose the site and press Start. Nothing is written before that.",
                "Wählen Sie den Standort und drücken Sie Start. Bis dahin wird nichts "
                "geschrieben.");
            break;
        case StationState::running:
            result = pick_text(l, "Konfiguruję moduł...", "Setting up the module...",
                               "Modul wird eingerichtet...");
            reason = close_requested_ || station_->stop_pending()
                         ? pick_text(l, "Zatrzymam po tym module.", "Stopping after this module.",
                                     "Anhalten nach diesem Modul.")
                         : pick_text(l, "Nie odłączaj modułu.", "Do not unplug the module.",
                                     "Trennen Sie das Modul nicht.");
            break;
        case StationState::unplug:
        case StationState::stopped:
            if (!shows_result(*station_)) {
                result = pick_text(l, "Zatrzymano", "Stopped", "Angehalten");
                break;
            }
            const StationEntry& last = station_->entries().back();
            result = std::string(last.pass ? "PASS" : "FAIL") +
                     (last.site.empty() ? "" : "   " + last.site);
            reason = last.reason + "\r\n" + last.folder + "\r\n" +
                     (state == StationState::stopped
                          ? pick_text(l, "Stanowisko zatrzymane.", "The station has stopped.",
                                      "Der Einrichtungsplatz ist angehalten.")
                          : pick_text(l, "Odłącz moduł.", "Unplug the module.",
                                      "Trennen Sie das Modul."));
            break;
    }
    view.set_text(IDC_ST_RESULT, result);
    view.set_text(IDC_ST_REASON, edit_lines(reason));

    char counter[160];
    std::snprintf(counter, sizeof counter, "%s: %d      %s: %d",
                  pick_text(l, "Gotowe", "Done", "Fertig"), station_->passed(),
                  pick_text(l, "Błędy", "Failed", "Fehlgeschlagen"), station_->failed());
    view.set_text(IDC_ST_COUNTER, counter);
    std::string list;
    for (const StationEntry& e : station_->entries()) {
        char number[16];
        std::snprintf(number, sizeof number, "%03d", e.number);
        list += std::string(number) + "   " + (e.pass ? "PASS" : "FAIL") + "   " +
                (e.site.empty() ? "-" : e.site) + "   " + e.folder + "\r\n";
    }
    view.set_text(IDC_ST_LIST, list);
}

}  // namespace zavi
