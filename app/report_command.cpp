#include "app/report_command.h"

#include "app/about_dialog.h"
#include "app/report_details_dialog.h"
#include "app/settings.h"
#include "app/window_captions.h"
#include "commission/report_files.h"
#include "common/file_queries.h"
#include "common/text_case.h"
#include "resources/ids.h"
#include "ui/file_problem.h"

namespace zavi {

namespace {

// `path` with ".html" added unless it ends in .html or .htm (case-insensitive).
std::string with_report_extension(const std::string& path) {
    for (const char* ending : {".html", ".htm"}) {
        const std::string_view e(ending);
        if (path.size() > e.size() &&
            equal_ignoring_case(std::string_view(path).substr(path.size() - e.size()), e))
            return path;
    }
    return path + ".html";
}

// What was saved (both paths and the checksum), or exactly which of the two files exists after
// a failed write. Empty when the configuration could not be read: nothing was written, and the
// usual communication error says it.
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

}  // namespace

void save_report_from_menu(ReportCommandContext& ctx) {
    DialogView& view = ctx.files.view;
    const uint8_t l = ui_language;
    ReportDetailsDialog details(l, load_report_names(ctx.names_path));
    view.run_dialog(IDD_REPORT_DETAILS, details);
    if (!details.accepted()) return;
    // Not being able to remember them costs only typing them again next time.
    save_report_names(ctx.names_path, details.names());

    std::string path;
    if (!ctx.files.shell.choose_file(FileKind::report_html, true, &path)) return;
    const std::string html_path = with_report_extension(path);
    commission::ReportInput in;
    in.language = l;
    in.site = details.names().site;
    in.installer = details.names().installer;
    in.program_version = kProgramVersion;
    in.connection = ctx.files.shell.connection_kind();  // "D2XX", "COM5"
    in.walk_test = ctx.walk_test;                       // none: listed as not done
    in.survey = ctx.survey;

    // The save dialog asked about the report's name only; a backup there may hold the SIM
    // codes, which the one beside the report leaves out.
    const std::string backup = commission::backup_path_for(html_path);
    if (file_facts(backup, false).kind != PathKind::missing) {
        const std::string question =
            backup + "\n\n" +
            pick_text(l, "Ten plik już istnieje. Czy zastąpić go kopią konfiguracji do protokołu?",
                      "This file exists already. Replace it with the report's backup?",
                      "Diese Datei ist schon vorhanden. Durch die Sicherung zum Protokoll "
                      "ersetzen?");
        if (view.message_box(question, kAppTitle, MessageIcon::warning, MessageButtons::yes_no) !=
            MessageAnswer::ok)
            return;
    }

    commission::ReportFiles saved;
    // A failed read is the job's failure (the usual communication error, nothing written); a
    // failed write is told below with what is on the disk.
    if (!run_module_task(ctx.files, [&](DriverHandle handle, const config::Progress& progress) {
            saved = commission::save_report_files(handle, in, html_path, progress);
            return saved.read;
        }))
        return;
    view.message_box(report_outcome_text(saved, l), kAppTitle,
                     !saved.complete() ? MessageIcon::error
                     : saved.live_read ? MessageIcon::information
                                       : MessageIcon::warning,
                     MessageButtons::ok);
}

}  // namespace zavi
