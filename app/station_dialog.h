// The setup station's window (150): the user picks the configuration (or template), an
// optional sites table and the results folder; Begin starts the station, which then waits for
// modules by itself. Each module's job runs on a thread of its own while the window's timer
// keeps the station going, so the window stays responsive and Close waits for the module.
#pragma once

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <string>

#include "app/shell.h"
#include "app/station.h"
#include "ui/dialog_view.h"
#include "ui/timed_dialog.h"

namespace zavi {

// Makes the plan of a template and a sites table; null with the reason when it cannot.
using SitesPlanMaker = std::function<std::unique_ptr<StationPlan>(
    const std::string& template_path, const std::string& sites_path, std::string* error)>;

class StationDialog : public DialogLogic, public TimedDialog {
  public:
    static constexpr int kTimerMs = 200;

    // `shell` chooses the files and tells which module each is; `make_sites_plan` null: a
    // sites table is refused with a message.
    StationDialog(Shell& shell, uint8_t language, SitesPlanMaker make_sites_plan = {},
                  StationPorts* ports = nullptr);
    ~StationDialog() override;

    void on_init(DialogView& view) override;
    void on_command(DialogView& view, int id, int code) override;
    // While a module's job runs, the window closes once it has finished.
    void on_close(DialogView& view) override;

    int timer_interval_ms() const override { return kTimerMs; }
    void on_timer(DialogView& view) override;
    int large_text_id() const override;
    TextColour large_text_colour() const override;

    // Where each module's copy is kept in the module history ("": none is kept).
    void set_history_folder(std::string folder) { history_folder_ = std::move(folder); }
    // For tests: the station's clock, milliseconds.
    void set_clock(std::function<int64_t()> clock) { clock_ = std::move(clock); }
    // For tests: the job's thread has finished when this returns.
    void wait_for_module() {
        if (job_.valid()) job_.wait();
    }
    const Station* station() const { return station_.get(); }

  private:
    void begin(DialogView& view);
    void start_job(DialogView& view);
    void show(DialogView& view);
    void show_sites(DialogView& view);
    static bool shows_result(const Station& station);

    FileChooser& chooser_;
    uint8_t language_;
    SitesPlanMaker make_sites_plan_;
    DriverPorts driver_ports_;
    StationPorts& ports_;
    std::unique_ptr<StationPlan> plan_;
    std::unique_ptr<Station> station_;
    std::future<StationOutcome> job_;
    std::string history_folder_;
    bool close_requested_ = false;
    std::function<int64_t()> clock_;
};

}  // namespace zavi
