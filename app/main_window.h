// The main window (dialog 1000): start-up, device discovery, first read, command routing and
// the orderly end. Lives for the whole run; the process ends when it closes.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/live_status.h"
#include "app/settings.h"
#include "app/shell.h"
#include "commission/survey.h"
#include "commission/walk_test.h"
#include "ui/dialog_view.h"

namespace zavi {

class WalkTestDialog;
class SurveyDialog;
struct LiveReads;

// Makes the logic of the Options dialog with template `template_id` (100, 103, 106, 112, 114,
// 116 or 120). The dialogs work on the device records and device_handle, and ask `files` for
// the files they import or export.
using OptionsDialogFactory =
    std::function<std::unique_ptr<DialogLogic>(int template_id, FileChooser* files)>;

class MainWindow : public DialogLogic {
  public:
    // `settings_path` is "config.db" in the program; tests point it into a temporary folder.
    MainWindow(Shell& shell, OptionsDialogFactory make_dialog,
               const char* settings_path = kSettingsFile);

    void on_init(DialogView& view) override;
    void on_command(DialogView& view, int id, int code) override;
    // Any request to close (close box, WM_CLOSE) while a job runs is held until the job has
    // finished; the window then closes as usual.
    void on_close(DialogView& view) override;
    // The session ends: a running job is waited for, then the window closes as usual.
    void on_end_session(DialogView& view) override;

    // Where a restore keeps its automatic backup (the per-user folder unless a test says).
    void set_backup_folder(std::string folder) { backup_folder_ = std::move(folder); }

  private:
    // Runs `job` behind the progress dialog; true when it succeeded, and a failure shows the
    // communication error. After a close request that came in during the job the window
    // closes instead, and the command goes no further.
    bool run_job(DialogView& view, WorkerJob job, const WorkerTask& task = {});
    // Finds the module (false when there is none; the reason has been shown) and keeps how it
    // is reached.
    bool discover(DialogView& view);
    void end(DialogView& view);
    // Closes the module, finds one again and reads it as at start-up; the window stays open.
    void connect_again(DialogView& view);
    // File -> Set up modules one after another.
    void run_station(DialogView& view);
    // Greys the menu items and panel controls that need a module while none is open.
    void update_module_items(DialogView& view);
    // The panels from the device records, or that nothing was read while no module is open.
    void show_panels(DialogView& view);

    // Live status: starts it, or stops it when it runs (the menu item is checked meanwhile).
    void toggle_live(DialogView& view);
    // Stops the live worker and waits for its exchange to end; it does not start again.
    void stop_live(DialogView& view);
    // A cycle (or the failure) the live worker delivered.
    void on_live_cycle(DialogView& view);
    // The walk test with the module's names; its result is kept for the report.
    void open_walk_test(DialogView& view);
    // The signal survey; its result, when it has samples, is kept for the report.
    void open_survey(DialogView& view);
    // The reads behind the walk test and the survey: as fast as the line allows.
    LiveReads fast_reads(LiveParts parts);

    Shell& shell_;
    OptionsDialogFactory make_dialog_;
    const char* settings_path_;
    std::string backup_folder_;
    std::string connection_kind_;  // how the module is reached ("COM5", "D2XX"), for the user
    bool job_running_ = false;     // only one job uses the module at a time
    bool close_requested_ = false;
    bool ended_ = false;
    bool live_ = false;     // the live worker runs
    LiveCycle live_cycle_;  // filled by the live worker before each IDC_LIVE_CYCLE
    LiveStatusView live_view_;
    WalkTestDialog* walk_test_ = nullptr;  // open, and fed by the live worker
    std::optional<commission::WalkTestResult> walk_result_;
    SurveyDialog* survey_ = nullptr;  // open, and fed by the live worker
    std::optional<commission::SurveyResult> survey_result_;
};

}  // namespace zavi
