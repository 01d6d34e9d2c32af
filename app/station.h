// The setup station: one module after another gets the same configuration, or its site's. A
// state machine driven by a clock and a look at the ports, so that it runs without threads or
// windows in tests; the window calls tick() from a timer and runs each module's job (which
// takes seconds) on a thread of its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/history_keeping.h"
#include "app/module_identity.h"
#include "config/configuration.h"
#include "link/driver.h"

namespace zavi {

// What each module gets: one file for all of them, or a template with a sites table.
class StationPlan {
  public:
    virtual ~StationPlan() = default;
    // Site labels in table order; empty without a sites table.
    virtual std::vector<std::string> sites() const = 0;
    // The configuration for `site` ("" without a sites table); false with the reason.
    virtual bool configuration_for(const std::string& site, config::Configuration* out,
                                   std::string* error) const = 0;
};

// A configuration file given to every module alike.
class SingleFilePlan : public StationPlan {
  public:
    explicit SingleFilePlan(config::Configuration file) : file_(std::move(file)) {}
    std::vector<std::string> sites() const override { return {}; }
    bool configuration_for(const std::string&, config::Configuration* out,
                           std::string*) const override {
        *out = file_;
        return true;
    }

  private:
    config::Configuration file_;
};

enum class LookResult : uint8_t { nothing, opened, wrong_firmware, no_answer };

// The ports as the station sees them.
class StationPorts {
  public:
    virtual ~StationPorts() = default;
    // One look for a module, opened with the firmware check: opened puts its handle in
    // *handle; wrong_firmware puts the reason in *message (nothing stays open then).
    virtual LookResult look(DriverHandle* handle, std::string* message) = 0;
    // Whether a module is still attached (while waiting for it to be unplugged).
    virtual bool attached() = 0;
    virtual void close(DriverHandle handle) = 0;
    // Which module an opened handle reaches; asked at once, while it is attached.
    virtual ModuleIdentity identity(DriverHandle) { return make_module_identity("", ""); }
};

// The process's driver (D2XX or the COM ports, listed anew at every look as Connect again
// does), the first module found; `identifier` (the platform's, or none) tells which it is.
class DriverPorts : public StationPorts {
  public:
    explicit DriverPorts(uint8_t language, const ModuleIdentifier* identifier = nullptr)
        : language_(language), identifier_(identifier) {}
    LookResult look(DriverHandle* handle, std::string* message) override;
    bool attached() override;
    void close(DriverHandle handle) override;
    ModuleIdentity identity(DriverHandle handle) override;

  private:
    uint8_t language_;
    const ModuleIdentifier* identifier_;
};

// One module's work: the configuration, where its files go, and the module.
struct StationJob {
    DriverHandle handle = nullptr;
    config::Configuration configuration;
    std::string site;
    std::string folder;
    HistoryKeeping history;  // where its copy goes, under which identity, with the site
};

struct StationOutcome {
    bool pass = false;
    std::string reason;        // why it failed, or what was done
    std::string before_path;   // the backup of what the module held, when it was read
    std::string after_path;    // what it holds now, after a pass
    std::string report_path;   // the commissioning report, after a pass
    std::string history_file;  // its copy in the module history ("" when none was kept)
};

// Reads the module, keeps its backup in job.folder, writes what differs and reads it back; the
// configuration after a pass goes beside the backup with the commissioning report that names
// it. Every restore that read the module keeps its copy in the module history. Touches only
// the module and the files, so it may run on any thread.
StationOutcome run_station_job(const StationJob& job, uint8_t language);

enum class StationState : uint8_t {
    waiting,  // for a module
    ready,    // opened and checked; waiting for Start (sites table) or starting at once
    running,  // its job runs
    unplug,   // the result is shown until the module is unplugged
    stopped,
};

struct StationEntry {
    int number = 0;  // from 1, in this run of the station
    std::string site;
    bool pass = false;
    std::string reason;
    std::string folder;
    std::string identity;  // the module's, or fleet::kUnknownIdentity
};

class Station {
  public:
    static constexpr int64_t kPollMs = 1000;

    // `history_folder` "": no module history is kept.
    Station(StationPorts& ports, const StationPlan& plan, std::string results_folder,
            uint8_t language, std::string history_folder = {});
    Station(const Station&) = delete;
    Station& operator=(const Station&) = delete;
    ~Station();

    // Looks at the ports while waiting for a module or for its removal, once kPollMs have
    // passed since the last look. True when the state changed.
    bool tick(int64_t now_ms);
    StationState state() const { return state_; }

    // The site of the module in ready: preselected as the first one in table order that has not
    // passed yet (-1 without a sites table, or when every site has passed).
    const std::vector<std::string>& sites() const { return sites_; }
    int site() const { return site_; }
    bool choose_site(int index);  // only before the job starts
    bool site_passed(int index) const;
    // Without a sites table the job starts without a click.
    bool needs_start_click() const { return !sites_.empty(); }

    // ready -> running: fills *job. False when not ready, or when no site is chosen while a
    // table is used, or the site's configuration cannot be made (that is a FAIL: the module is
    // closed, nothing is written, and the station waits for it to be unplugged).
    bool start(StationJob* job);
    // running -> unplug: records the outcome and closes the module.
    void finish(const StationOutcome& outcome);
    // Ends the station; a running job is finished first (finish() then stops it).
    void stop();
    bool stop_pending() const { return stop_pending_; }

    const std::vector<StationEntry>& entries() const { return entries_; }
    int passed() const;
    int failed() const { return static_cast<int>(entries_.size()) - passed(); }

  private:
    void record(bool pass, const std::string& reason, const std::string& folder);
    std::string new_folder() const;
    void preselect();

    StationPorts& ports_;
    const StationPlan& plan_;
    std::string results_;
    uint8_t language_;
    std::string history_folder_;
    ModuleIdentity identity_;  // of the module in ready or running
    std::vector<std::string> sites_;
    std::vector<bool> site_passed_;
    StationState state_ = StationState::waiting;
    DriverHandle handle_ = nullptr;
    int site_ = -1;
    int64_t last_look_ms_ = 0;
    bool looked_ = false;
    bool stop_pending_ = false;
    std::string running_folder_;
    std::vector<StationEntry> entries_;
};

// A site label as part of a folder name: letters, digits, '-', '_' and '.' stay, anything else
// becomes '_' (no separators, no "..", nothing Windows refuses).
std::string folder_safe(const std::string& label);

}  // namespace zavi
