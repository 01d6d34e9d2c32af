#include "app/commission_report.h"

#include "app/about_dialog.h"
#include "app/window_captions.h"
#include "common/text_case.h"
#include "ui/file_problem.h"

namespace zavi {

std::string with_report_extension(const std::string& path) {
    for (const char* ending : {".html", ".htm"}) {
        const std::string_view e(ending);
        if (path.size() > e.size() &&
            equal_ignoring_case(std::string_view(path).substr(path.size() - e.size()), e))
            return path;
    }
    return path + ".html";
}

commission::ReportFiles save_commissioning_report(DriverHandle handle,
                                                  const CommissioningReportRequest& request,
                                                  const config::Progress& progress) {
    commission::ReportInput in;
    in.language = request.language;
    in.site = request.site;
    in.installer = request.installer;
    in.program_version = kProgramVersion;
    in.connection = request.connection;
    in.walk_test = request.walk_test;
    in.survey = request.survey;
    return commission::save_report_files(handle, std::move(in),
                                         with_report_extension(request.html_path), progress);
}

std::string report_outcome_text(const commission::ReportFiles& saved, uint8_t l) {
    if (saved.read != LinkResult::ok) return {};
    std::string text;
    if (saved.complete()) {
        text = pick_text(l, "Zapisano protokół uruchomienia:\n",
                         "The commissioning report was saved:\n",
                         "Das Inbetriebnahmeprotokoll wurde gespeichert:\n");
        text += saved.html_path;
        text += pick_text(l, "\n\ni obok niego kopię konfiguracji (bez kodów SIM):\n",
                          "\n\nand beside it the configuration backup (without the SIM codes):\n",
                          "\n\nund daneben die Sicherung der Konfiguration (ohne SIM-Codes):\n");
        text += saved.backup_path;
        // In two halves: a message box does not break the 64 digits, it cuts them.
        text += "\n\nSHA-256:\n" + saved.sha256.substr(0, 32) + "\n" + saved.sha256.substr(32);
        if (!saved.live_read)
            text += pick_text(l,
                              "\n\nUwaga: nie udało się odczytać stanu bieżącego; protokół go nie "
                              "zawiera.",
                              "\n\nNote: the live status could not be read; the report has none.",
                              "\n\nHinweis: Der aktuelle Zustand konnte nicht gelesen werden; das "
                              "Protokoll enthält ihn nicht.");
        return text;
    }
    // A write failed: say which file is there now and which is not.
    const std::string& failed = saved.backup_saved ? saved.html_path : saved.backup_path;
    text = pick_text(l, "Nie zapisano pliku:\n", "This file was not saved:\n",
                     "Diese Datei wurde nicht gespeichert:\n");
    text += failed + "\n" + file_save_problem(failed, l);
    if (saved.backup_saved) {
        text += pick_text(l, "\n\nZapisano tylko kopię konfiguracji:\n",
                          "\n\nOnly the configuration backup was saved:\n",
                          "\n\nNur die Sicherung der Konfiguration wurde gespeichert:\n");
        text += saved.backup_path;
        text += pick_text(l, "\n\nProtokół nie został zapisany.", "\n\nThe report was not saved.",
                          "\n\nDas Protokoll wurde nicht gespeichert.");
    } else {
        text += pick_text(l, "\n\nŻaden plik nie został zapisany.", "\n\nNo file was saved.",
                          "\n\nKeine Datei wurde gespeichert.");
    }
    return text;
}

}  // namespace zavi
