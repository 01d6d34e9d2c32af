#include "app/main_window.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "app/about_dialog.h"
#include "app/device_discovery.h"
#include "app/file_commands.h"
#include "app/module_history_dialog.h"
#include "app/report_command.h"
#include "app/station_dialog.h"
#include "app/station_sites.h"
#include "app/window_captions.h"
#include "commission/clock_text.h"
#include "config/files.h"
#include "config/record_values.h"
#include "dialogs/survey_dialog.h"
#include "dialogs/walk_test_dialog.h"
#include "fleet/history.h"
#include "link/clock.h"
#include "link/connection.h"
#include "link/driver.h"
#include "link/records.h"
#include "link/status_commands.h"
#include "panels/alarm_settings_panel.h"
#include "panels/status_panel.h"
#include "resources/ids.h"
#include "ui/messages.h"

namespace zavi {

namespace {

constexpr int kFirstReadTries = 3;

// Each Options entry: the job that reads its records and the dialog that shows them.
struct OptionsEntry {
    int command;
    WorkerJob job;
    int dialog;
};

constexpr OptionsEntry kOptions[] = {
    {IDM_PIN_PUK, JOB_READ_PIN_PUK, IDD_PIN_PUK},
    {IDM_ACTIONS, JOB_READ_ACTIONS, IDD_ACTIONS},
    {IDM_PHONE_NUMBERS, JOB_READ_PHONE_NUMBERS, IDD_PHONE_NUMBERS},
    {IDM_IO_NAMES, JOB_READ_IO_NAMES, IDD_IO_NAMES},
    {IDM_CALL_ANSWER, JOB_READ_CALL_ANSWER, IDD_CALL_ANSWER},
    {IDM_AUTO_STATUS, JOB_READ_AUTO_STATUS, IDD_AUTO_STATUS},
    {IDM_AUTO_RESET, JOB_READ_AUTO_RESET, IDD_AUTO_RESET},
};

// Menu items that talk to the module.
constexpr int kModuleItems[] = {
    IDM_BACKUP,      IDM_RESTORE,       IDM_COMPARE,  IDM_PIN_PUK,
    IDM_ACTIONS,     IDM_PHONE_NUMBERS, IDM_IO_NAMES, IDM_CALL_ANSWER,
    IDM_AUTO_STATUS, IDM_AUTO_RESET,    IDM_RESET,    IDM_LIVE_STATUS,
    IDM_WALK_TEST,   IDM_SURVEY,        IDM_REPORT,   IDM_MODULE_HISTORY};

// Commands that use the module, its records or the window's readings: the live status stops
// before each. Selections and edits in the panels, and About, leave it running.
constexpr int kStopsLiveStatus[] = {
    IDM_BACKUP,      IDM_RESTORE,    IDM_COMPARE,       IDM_CONNECT_AGAIN, IDM_EXIT,
    IDM_PIN_PUK,     IDM_ACTIONS,    IDM_PHONE_NUMBERS, IDM_IO_NAMES,      IDM_CALL_ANSWER,
    IDM_AUTO_STATUS, IDM_AUTO_RESET, IDM_RESET,         IDM_POLISH,        IDM_ENGLISH,
    IDM_GERMAN,      IDM_WALK_TEST,  IDM_SURVEY,        IDM_REPORT,        IDC_REFRESH,
    IDC_READ,        IDC_SAVE,       IDM_STATION};

// Controls of the panels that only make sense with a module: greyed along with the items.
constexpr int kModuleControls[] = {IDC_REFRESH,
                                   IDC_READ,
                                   IDC_SAVE,
                                   IDC_MODE_IN1,
                                   IDC_MODE_IN2,
                                   IDC_MODE_PIN1,
                                   IDC_MODE_PIN2,
                                   IDC_T1_HIGH_SPIN,
                                   IDC_T1_LOW_SPIN,
                                   IDC_T2_HIGH_SPIN,
                                   IDC_T2_LOW_SPIN,
                                   IDC_BATTERY_THRESHOLD_SPIN,
                                   IDC_T1_HIGH_EDIT,
                                   IDC_T1_LOW_EDIT,
                                   IDC_T2_HIGH_EDIT,
                                   IDC_T2_LOW_EDIT,
                                   IDC_BATTERY_THRESHOLD_EDIT};

template <std::size_t N>
bool contains(const int (&ids)[N], int id) {
    return std::ranges::find(ids, id) != std::end(ids);
}

// What the status line says after Connect again found a module, before its usual parts.
std::string found_module_text(const std::string& connection_kind, uint8_t language) {
    std::string text = pick_text(language, "Połączono: ", "Connected: ", "Verbunden: ");
    text += kRequiredFirmware;
    if (!connection_kind.empty()) text += " (" + connection_kind + ")";
    return text;
}

// Lets the window's module go.
void close_device() {
    if (!device_handle) return;
    if (Driver* usb = driver()) usb->close(device_handle);
    device_handle = nullptr;
}

// What the window shows before anything was read. operator_name is left as it is.
void clear_device_data() {
    DeviceStatus& s = device_status;
    s.temp1_negative = s.temp1_whole = s.temp1_tenths = 0;
    s.temp2_negative = s.temp2_whole = s.temp2_tenths = 0;
    s.battery_level = s.battery_flags = 0;
    s.gsm_signal = s.gsm_state = 0;
    for (auto& text : s.io_state_text) text[0] = '\0';
    alarm_settings = {};
    for (auto& name : io_names.name) name[0] = '\0';
}

// The first read after connecting: each operation up to three times; a failure is silent and
// the panels show what could be read.
void first_read() {
    for (uint8_t part = 0; part < 3; ++part)
        for (int attempt = 0; attempt < kFirstReadTries; ++attempt)
            if (read_status(device_handle, part) == LinkResult::ok) break;
    for (int attempt = 0; attempt < kFirstReadTries; ++attempt)
        if (read_alarm_settings(device_handle) == LinkResult::ok) break;
}

}  // namespace

MainWindow::MainWindow(Shell& shell, OptionsDialogFactory make_dialog, const char* settings_path)
    : shell_(shell),
      make_dialog_(std::move(make_dialog)),
      settings_path_(settings_path),
      backup_folder_(config::automatic_backup_folder()) {}

void MainWindow::on_init(DialogView& view) {
    clear_device_data();
    view.set_window_icon(IDI_APP);
    set_up_alarm_settings_panel(view);
    install_threshold_edit_filters(view);
    set_up_status_panel(view);

    if (load_settings(settings_path_) != 0) {
        ui_language = kEnglish;
        if (save_settings(settings_path_) != 0) {
            // Shown only in English: the language could not be settled.
            view.message_box("Operation failed", "Error", MessageIcon::warning, MessageButtons::ok);
            view.close(0);
            return;
        }
    }

    fill_trigger_mode_lists(view);
    refresh_panels(view);
    apply_language(view, ui_language);

    if (!discover(view)) {
        view.close(0);
        return;
    }

    first_read();
    show_panels(view);
    update_module_items(view);
}

bool MainWindow::discover(DialogView& view) {
    const bool found = discover_device(view, shell_.no_ftdi_com_port());
    connection_kind_ = shell_.connection_kind();
    return found;
}

void MainWindow::show_panels(DialogView& view) {
    refresh_panels(view);
    if (!device_handle) show_nothing_read(view, ui_language);
}

void MainWindow::update_module_items(DialogView& view) {
    const bool connected = device_handle != nullptr;
    for (int item : kModuleItems) view.set_menu_enabled(item, connected);
    view.redraw_menu();
    for (int control : kModuleControls) view.set_enabled(control, connected);
}

void MainWindow::connect_again(DialogView& view) {
    // The module may have been swapped: the old handle goes first, and nothing of the old
    // module stays on screen.
    close_device();
    clear_device_data();
    device_status.operator_name[0] = '\0';  // the old module's network is no longer shown
    const bool found = discover(view);
    if (found) first_read();
    show_panels(view);
    update_module_items(view);
    if (found)
        view.set_text(IDC_STATUS_LINE, found_module_text(connection_kind_, ui_language) + "      " +
                                           view.text(IDC_STATUS_LINE));
}

void MainWindow::run_station(DialogView& view) {
    // The station takes the port for itself: the window's module is let go, and the window
    // shows no module afterwards (Connect again finds the one plugged in then).
    close_device();
    clear_device_data();
    connection_kind_ = shell_.connection_kind();  // no port in use now
    StationDialog station(shell_, ui_language, make_station_sites_plan);
    station.set_history_folder(fleet::history_folder_for(backup_folder_));
    view.run_dialog(IDD_STATION, station);
    show_panels(view);
    update_module_items(view);
}

void MainWindow::on_command(DialogView& view, int id, int code) {
    if (id == IDC_LIVE_CYCLE) {
        on_live_cycle(view);
        return;
    }
    // Only a click that reaches the disabled window by automation gets here during a job; no
    // second job and no change may overlap the running exchange.
    if (job_running_) return;
    // A greyed item cannot be chosen; a command sent anyway finds no module to talk to.
    if ((contains(kModuleItems, id) || contains(kModuleControls, id)) && !device_handle) return;
    if (id == IDM_LIVE_STATUS) {
        toggle_live(view);
        return;
    }
    // One exchange at a time: the live worker ends (or, after a failure, has ended) before
    // anything else uses the module.
    if (contains(kStopsLiveStatus, id)) stop_live(view);
    FileCommandContext files{
        view, shell_,
        [this, &view](const WorkerTask& task) { return run_job(view, JOB_TASK, task); },
        backup_folder_};
    switch (id) {
        case IDM_BACKUP:
            back_up_module(files);
            return;
        case IDM_COMPARE:
            compare_with_file(files);
            return;
        case IDM_RESTORE:
            // What was written is read back into the panels.
            if (restore_from_file(files) && run_job(view, JOB_READ_STATUS) &&
                run_job(view, JOB_READ_ALARM_SETTINGS))
                refresh_panels(view);
            return;
        case IDM_CONNECT_AGAIN:
            connect_again(view);
            return;
        case IDM_STATION:
            run_station(view);
            return;
        case IDM_MODULE_HISTORY:
            show_module_history(view, shell_.module_identity(device_handle), backup_folder_,
                                ui_language);
            return;
        case IDM_EXIT:
            on_close(view);
            return;
        case IDC_MODE_IN1:
        case IDC_MODE_IN2:
        case IDC_MODE_PIN1:
        case IDC_MODE_PIN2:
            if (code == 1) store_alarm_settings(view);  // selection changed
            return;
        case IDC_REFRESH:
        case IDC_READ:
            if (run_job(view, id == IDC_REFRESH ? JOB_READ_STATUS : JOB_READ_ALARM_SETTINGS))
                refresh_panels(view);
            return;
        case IDC_SAVE:
            save_alarm_settings(view);
            return;
        case IDM_RESET:
            if (run_job(view, JOB_RESET_DEVICE))
                show_message(view, pick_text(ui_language, "Reset urządzenia", "Device reset",
                                             "Geräte-Reset"));
            return;
        case IDM_POLISH:
        case IDM_ENGLISH:
        case IDM_GERMAN:
            ui_language = id == IDM_POLISH ? kPolish : id == IDM_ENGLISH ? kEnglish : kGerman;
            apply_language(view, ui_language);
            fill_trigger_mode_lists(view);
            show_panels(view);  // brings the list selections back from alarm_settings
            return;
        case IDM_WALK_TEST:
            open_walk_test(view);
            return;
        case IDM_SURVEY:
            open_survey(view);
            return;
        case IDM_REPORT: {
            ReportCommandContext report{files, report_names_path(settings_path_), walk_result_,
                                        survey_result_};
            save_report_from_menu(report);
            return;
        }
        case IDM_ABOUT: {
            AboutDialog about(connection_kind_);
            view.run_dialog(IDD_ABOUT, about);
            return;
        }
        default:
            break;
    }

    for (const OptionsEntry& entry : kOptions) {
        if (entry.command != id) continue;
        if (!run_job(view, entry.job)) return;
        std::unique_ptr<DialogLogic> dialog =
            make_dialog_ ? make_dialog_(entry.dialog, &shell_) : nullptr;
        if (dialog) view.run_dialog(entry.dialog, *dialog);
        return;
    }
    // Anything else, the Escape key's IDCANCEL included, is ignored.
}

bool MainWindow::run_job(DialogView& view, WorkerJob job, const WorkerTask& task) {
    job_running_ = true;
    const LinkResult result = shell_.run_worker_job(job, task);
    job_running_ = false;
    if (close_requested_ || ended_) {
        end(view);
        return false;
    }
    if (result != LinkResult::ok) show_communication_error(view, ui_language);
    return result == LinkResult::ok;
}

void MainWindow::toggle_live(DialogView& view) {
    if (live_) {
        stop_live(view);
        return;
    }
    shell_.stop_live();  // a worker that ended on a failure is gone before a new one starts
    live_view_.start();
    live_ = shell_.start_live(kLiveIntervalUs, LiveParts::all, &live_cycle_);
    if (!live_) {
        show_communication_error(view, ui_language);
        return;
    }
    view.set_menu_checked(IDM_LIVE_STATUS, true);
    view.redraw_menu();
}

void MainWindow::stop_live(DialogView& view) {
    const bool was_live = live_;
    live_ = false;  // cycles still delivered while waiting are not shown
    shell_.stop_live();
    if (!was_live) return;
    live_view_.stop(view);
    view.set_menu_checked(IDM_LIVE_STATUS, false);
    view.redraw_menu();
}

LiveReads MainWindow::fast_reads(LiveParts parts) {
    return {[this, parts] { return shell_.start_live(0, parts, &live_cycle_); },
            [this] { shell_.stop_live(); }, [] { return now_us(); },
            [] { return commission::local_time_now(); }};
}

void MainWindow::open_survey(DialogView& view) {
    SurveyDialog dialog(fast_reads(LiveParts::signal), &shell_);
    survey_ = &dialog;
    view.run_dialog(IDD_SURVEY, dialog);
    survey_ = nullptr;
    shell_.stop_live();  // a worker that ended on a failure
    if (dialog.result() && !dialog.result()->samples.empty()) survey_result_ = dialog.result();
}

void MainWindow::open_walk_test(DialogView& view) {
    if (!run_job(view, JOB_READ_IO_NAMES)) return;
    WalkTestDialog dialog(config::capture_records(false), fast_reads(LiveParts::all));
    walk_test_ = &dialog;
    view.run_dialog(IDD_WALK_TEST, dialog);
    walk_test_ = nullptr;
    shell_.stop_live();  // a worker that ended on a failure
    walk_result_ = dialog.result();
}

void MainWindow::on_live_cycle(DialogView& view) {
    if (walk_test_) {
        walk_test_->on_cycle(live_cycle_.failed);
        return;
    }
    if (survey_) {
        if (survey_->on_cycle(live_cycle_.failed)) live_cycle_.finish = true;
        return;
    }
    if (!live_ || ended_) return;
    if (live_cycle_.failed) {
        // The worker has ended; it is waited for when the module is used next.
        live_ = false;
        live_view_.stop(view);
        view.set_menu_checked(IDM_LIVE_STATUS, false);
        view.redraw_menu();
        show_communication_error(view, ui_language);
        return;
    }
    live_view_.show_cycle(view, now_us());
}

void MainWindow::on_close(DialogView& view) {
    close_requested_ = true;
    if (!job_running_) end(view);
}

void MainWindow::on_end_session(DialogView& view) {
    if (job_running_) shell_.wait_for_job();
    end(view);
}

void MainWindow::end(DialogView& view) {
    if (ended_) return;
    stop_live(view);  // before the module is closed under the worker
    ended_ = true;
    close_device();
    save_settings(settings_path_);  // a failed write does not keep the program from ending
    view.close(0);
}

}  // namespace zavi
