#include "app/file_commands.h"

#include <utility>

#include "app/differences_dialog.h"
#include "app/history_keeping.h"
#include "app/job_texts.h"
#include "app/restore_result_text.h"
#include "common/text_case.h"
#include "config/config_file.h"
#include "config/files.h"
#include "config/warning_texts.h"
#include "fleet/history.h"
#include "link/connection.h"
#include "resources/ids.h"
#include "ui/file_problem.h"
#include "ui/messages.h"
#include "ui/ui_language.h"

namespace zavi {

namespace {

using config::Configuration;

bool ask(DialogView& view, const char* text) {
    return view.message_box(text, kAppTitle, MessageIcon::warning, MessageButtons::yes_no) ==
           MessageAnswer::ok;
}

// Asks for a configuration file, reads and checks it; a problem is shown and nothing else
// happens.
bool choose_and_load(FileCommandContext& ctx, Configuration* cfg,
                     std::vector<config::FileError>* warnings) {
    std::string path;
    if (!ctx.shell.choose_file(FileKind::configuration, false, &path)) return false;
    const uint8_t l = ui_language;
    std::string text, why;
    config::FileError error;
    std::string problem;
    if (!config::read_text_file(path, config::kMaxFileBytes, &text, &why))
        problem = path + "\n" + file_read_problem(path, config::kMaxFileBytes, l);
    else if (!config::parse_configuration(text, cfg, &error, warnings))
        problem = config::describe(error, path);
    if (problem.empty()) return true;
    show_message(
        ctx.view,
        std::string(pick_text(l, "Tego pliku nie można użyć:\n\n", "This file cannot be used:\n\n",
                              "Diese Datei kann nicht verwendet werden:\n\n")) +
            problem,
        MessageIcon::error);
    return false;
}

// Where the copies of the connected module go; asked before its job, while it is attached.
HistoryKeeping history_of_module(const FileCommandContext& ctx) {
    return {fleet::history_folder_for(ctx.backup_folder), ctx.shell.module_identity(device_handle),
            ""};
}

// Each warning as a note on a line of its own, after an empty line; "" without warnings.
std::string warning_notes(const std::vector<config::FileError>& warnings, uint8_t l) {
    std::string text = warnings.empty() ? "" : "\n";
    for (const config::FileError& w : warnings)
        text += std::string("\n") + pick_text(l, "Uwaga: ", "Note: ", "Hinweis: ") +
                config::warning_text(w, l);
    return text;
}

}  // namespace

bool run_module_task(FileCommandContext& ctx, const ModuleTask& task) {
    const uint8_t language = ui_language;
    return ctx.run_task([&task, language](DriverHandle handle, const WorkerStatus& status) {
        const config::Progress progress = [&status, language](const config::ProgressEvent& event) {
            if (status) status(step_text(event, language));
        };
        return task(handle, progress);
    });
}

std::string with_configuration_extension(const std::string& path) {
    const std::size_t n = path.size();
    if (n >= 5 && equal_ignoring_case(std::string_view(path).substr(n - 5), ".json")) return path;
    return path + ".zavi.json";
}

void back_up_module(FileCommandContext& ctx) {
    const uint8_t l = ui_language;
    const bool with_codes =
        ask(ctx.view, pick_text(l, "Czy dołączyć PIN i PUK karty SIM do kopii zapasowej?",
                                "Include the SIM card's PIN and PUK in the backup?",
                                "PIN und PUK der SIM-Karte in die Sicherung aufnehmen?"));
    std::string path;
    if (!ctx.shell.choose_file(FileKind::configuration, true, &path)) return;
    path = with_configuration_extension(path);
    const HistoryKeeping history = history_of_module(ctx);

    Configuration cfg;
    config::Record failed = config::Record::alarm_settings;
    LinkResult result = LinkResult::ok;
    // A failed read is told below, with what it means for the file, instead of as a job error.
    if (!run_module_task(ctx, [&](DriverHandle h, const config::Progress& p) {
            result = config::read_configuration(h, with_codes, p, &cfg, &failed);
            return LinkResult::ok;
        }))
        return;
    if (result != LinkResult::ok) {
        show_message(ctx.view, backup_read_failed_text(failed, result, l), MessageIcon::error);
        return;
    }

    cfg.saved_at = config::utc_timestamp();
    std::string why;
    if (!config::write_configuration_file(path, cfg, &why, config::FileOrigin::module_backup)) {
        show_message(ctx.view,
                     std::string(pick_text(l, "Kopia zapasowa nie została zapisana:\n",
                                           "The backup was not saved:\n",
                                           "Die Sicherung wurde nicht gespeichert:\n")) +
                         path + "\n" + file_save_problem(path, l),
                     MessageIcon::error);
        return;
    }
    std::string text = pick_text(l, "Zapisano konfigurację modułu w pliku:\n",
                                 "The module's configuration was saved in:\n",
                                 "Die Konfiguration des Moduls wurde gespeichert in:\n");
    text += path;
    // A module may hold values the program would refuse from a hand-made file; the backup keeps
    // them (a restore of it writes them back), and says so.
    text += warning_notes(config::check_configuration(cfg), l);
    std::string kept;
    keep_in_history(history, "backup", "saved", cfg, l, &kept);
    text += "\n\n" + kept;
    show_message(ctx.view, text);
}

void compare_with_file(FileCommandContext& ctx) {
    Configuration file;
    std::vector<config::FileError> warnings;
    if (!choose_and_load(ctx, &file, &warnings)) return;
    // The SIM codes are not read for a comparison: they are not shown on screen.
    file.sim_codes.reset();

    Configuration module;
    const bool read =
        run_module_task(ctx, [&module, &file](DriverHandle h, const config::Progress& p) {
            config::Record failed = config::Record::alarm_settings;
            return config::read_held_records(h, file, false, p, &module, &failed);
        });
    if (!read) return;

    std::vector<config::Difference> diffs = config::compare(module, file);
    if (diffs.empty()) {
        show_message(ctx.view, kNothingToChange.in(ui_language));
        return;
    }
    DifferencesDialog dialog(std::move(diffs), false);
    ctx.view.run_dialog(IDD_DIFFERENCES, dialog);
}

bool restore_from_file(FileCommandContext& ctx) {
    const uint8_t l = ui_language;
    Configuration file;
    std::vector<config::FileError> warnings;
    if (!choose_and_load(ctx, &file, &warnings)) return false;

    config::RestoreOptions options;
    if (file.sim_codes)
        options.with_sim_codes = ask(
            ctx.view,
            pick_text(l,
                      "Plik zawiera PIN i PUK karty SIM. Czy zapisać je także w module?\n\n"
                      "Uwaga: błędny PIN może zablokować kartę SIM.",
                      "The file holds the SIM card's PIN and PUK. Write them to the module too?\n\n"
                      "Warning: a wrong PIN can lock the SIM card.",
                      "Die Datei enthält PIN und PUK der SIM-Karte. Auch diese in das Modul "
                      "schreiben?\n\nWarnung: Eine falsche PIN kann die SIM-Karte sperren."));

    // First only read and plan, so that the differences are seen before anything is written.
    options.dry_run = true;
    config::RestoreReport plan;
    if (!run_module_task(ctx, [&](DriverHandle h, const config::Progress& p) {
            plan = config::restore_configuration(h, file, options, p);
            return plan.outcome == config::RestoreOutcome::read_failed ? LinkResult::failed
                                                                       : LinkResult::ok;
        }))
        return false;
    if (plan.outcome == config::RestoreOutcome::already_equal) {
        show_message(ctx.view, kNothingToChange.in(ui_language));
        return false;
    }
    Configuration target = file;
    if (!options.with_sim_codes) target.sim_codes.reset();
    DifferencesDialog dialog(config::compare(plan.module_before, target), true);
    ctx.view.run_dialog(IDD_DIFFERENCES, dialog);
    if (!dialog.accepted()) return false;
    std::string confirm =
        pick_text(l, "Zapisać w module: ", "Write to the module: ", "In das Modul schreiben: ");
    confirm += record_titles(plan.planned, l);
    confirm += pick_text(l,
                         "?\n\nObecna konfiguracja modułu zostanie najpierw zapisana jako "
                         "automatyczna kopia zapasowa.",
                         "?\n\nWhat the module holds now is saved as an automatic backup first.",
                         "?\n\nDer jetzige Inhalt des Moduls wird zuerst automatisch gesichert.");
    confirm += warning_notes(warnings, l);
    if (!ask(ctx.view, confirm.c_str())) return false;

    // The write plans from the read just shown, so the module is not read a second time.
    options.dry_run = false;
    options.module_now = &plan.module_before;
    const std::string folder = ctx.backup_folder;
    options.save_backup = [folder](const Configuration& module, std::string* saved,
                                   std::string* why) {
        if (folder.empty()) {
            *why = "no folder for automatic backups is known";
            return false;
        }
        return config::save_automatic_backup(folder, module, saved, why);
    };
    const HistoryKeeping history = history_of_module(ctx);
    config::RestoreReport report;
    // The task itself always succeeds: the report says how the restore went.
    if (!run_module_task(ctx, [&](DriverHandle h, const config::Progress& p) {
            report = config::restore_configuration(h, file, options, p);
            return LinkResult::ok;
        }))
        return false;
    const bool ok = report.outcome == config::RestoreOutcome::verified ||
                    report.outcome == config::RestoreOutcome::already_equal;
    std::string text = restore_result_text(report, l);
    // The history is the Module history window's to show; only a copy that could not be kept
    // is said here.
    std::string kept;
    if (!keep_restore_in_history(history, "restore", file, options.with_sim_codes, report, l,
                                 &kept))
        text += "\n\n" + kept;
    show_message(ctx.view, text, ok ? MessageIcon::information : MessageIcon::error);
    return !report.written.empty() || report.outcome == config::RestoreOutcome::write_failed;
}

}  // namespace zavi
