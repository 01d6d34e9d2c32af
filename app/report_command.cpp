#include "app/report_command.h"

#include "app/commission_report.h"
#include "app/report_details_dialog.h"
#include "app/settings.h"
#include "app/window_captions.h"
#include "common/file_queries.h"
#include "resources/ids.h"

namespace zavi {

namespace {

bool exists(const std::string& path) {
    return file_facts(path, false).kind != PathKind::missing;
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
    CommissioningReportRequest request;
    request.html_path = with_report_extension(path);
    request.site = details.names().site;
    request.installer = details.names().installer;
    request.language = l;
    request.connection = ctx.files.shell.connection_kind();
    request.walk_test = ctx.walk_test;
    request.survey = ctx.survey;

    // The save dialog asked about the report's name only; a backup there may hold the SIM
    // codes, which the one beside the report leaves out.
    const std::string backup = commission::backup_path_for(request.html_path);
    if (exists(backup)) {
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
            saved = save_commissioning_report(handle, request, progress);
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
