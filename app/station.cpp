#include "app/station.h"

#include <algorithm>
#include <cstdio>

#include "app/about_dialog.h"
#include "app/restore_result_text.h"
#include "commission/clock_text.h"
#include "commission/report.h"
#include "commission/sha256.h"
#include "common/path_text.h"
#include "common/safe_file.h"
#include "common/three_languages.h"
#include "config/config_file.h"
#include "config/files.h"
#include "config/operations.h"
#include "config/record_table.h"
#include "config/record_values.h"
#include "fleet/identity.h"
#include "link/connection.h"

namespace zavi {

namespace {

class CapturedNotice : public FirmwareNotice {
  public:
    void firmware_mismatch(std::string_view message_utf8) override { text.assign(message_utf8); }
    std::string text;
};

// What the module holds after a pass: what it held before, with every record that was written
// (and read back equal) taken from the file.
config::Configuration held_after(const config::Configuration& before,
                                 const config::Configuration& file,
                                 const std::vector<config::Record>& written) {
    config::Configuration after = before;
    for (config::Record record : written) config::record_row(record).copy(file, &after);
    after.saved_at = config::utc_timestamp();
    return after;
}

bool save_as(const std::string& path, config::Configuration cfg, std::string* error) {
    cfg.saved_at = config::utc_timestamp();
    return config::write_configuration_file(path, cfg, error);
}

// The configuration after, and the report that names the SHA-256 of exactly these bytes.
bool save_after_and_report(const StationJob& job, const config::Configuration& after,
                           uint8_t language, StationOutcome* out, std::string* error) {
    const std::string name = "after.zavi.json";
    const std::string text = config::configuration_to_json(after);
    const std::string path = job.folder + kPathSeparator + name;
    const FileAccess access = after.sim_codes ? FileAccess::secret : FileAccess::normal;
    if (!write_file_safely(path, text, access, error)) {
        *error = path + ": " + *error;
        return false;
    }
    out->after_path = path;
    commission::ReportInput report;
    report.language = language;
    report.site = job.site;
    report.made_at = commission::local_time_now();
    report.program_version = kProgramVersion;
    report.connection = job.history.identity.connection;
    report.firmware = config::accepted_firmware();
    report.configuration = after;
    // The report says only whether a PIN is set, never the codes.
    if (after.sim_codes) report.pin_set = after.sim_codes->pin.has_value();
    report.configuration.sim_codes.reset();
    report.backup_name = name;
    report.backup_sha256 = commission::sha256_hex(text);
    const std::string report_path = job.folder + kPathSeparator + "report.html";
    if (!write_file_safely(report_path, commission::build_report(report), FileAccess::normal,
                           error)) {
        *error = report_path + ": " + *error;
        return false;
    }
    out->report_path = report_path;
    return true;
}

}  // namespace

LookResult DriverPorts::look(DriverHandle* handle, std::string* message) {
    *handle = nullptr;
    if (!attached()) return LookResult::nothing;
    CapturedNotice notice;
    const uint8_t opened = open_device(0, handle, language_, notice);
    if (opened == kOpenOk && *handle) return LookResult::opened;
    *handle = nullptr;
    if (opened == kOpenWrongFirmware) {
        *message = notice.text;
        return LookResult::wrong_firmware;
    }
    return LookResult::no_answer;
}

bool DriverPorts::attached() {
    Driver* usb = driver();
    uint32_t count = 0;
    return usb && usb->count_devices(&count) == kDriverOk && count > 0;
}

void DriverPorts::close(DriverHandle handle) {
    if (Driver* usb = driver(); usb && handle) usb->close(handle);
}

ModuleIdentity DriverPorts::identity(DriverHandle handle) {
    return identifier_ ? identifier_->module_identity(handle) : StationPorts::identity(handle);
}

StationOutcome run_station_job(const StationJob& job, uint8_t language) {
    StationOutcome out;
    std::string error;
    if (!make_private_folder(job.folder, &error)) {
        out.reason =
            pick_text(language,
                      "Nie można utworzyć folderu wyników: ", "The results folder cannot be made: ",
                      "Der Ergebnisordner kann nicht angelegt werden: ") +
            job.folder + " (" + error + ")";
        return out;  // nothing was sent
    }
    const std::string before = job.folder + kPathSeparator + "before.zavi.json";
    config::RestoreOptions options;
    options.with_sim_codes = job.configuration.sim_codes.has_value();
    options.save_backup = [&before](const config::Configuration& module, std::string* path,
                                    std::string* why) {
        if (!save_as(before, module, why)) return false;
        *path = before;
        return true;
    };
    config::RestoreReport report =
        config::restore_configuration(job.handle, job.configuration, options, nullptr);
    out.reason = restore_result_text(report, language);
    out.before_path = report.backup_path;
    const bool read = report.outcome != config::RestoreOutcome::read_failed;
    if (report.outcome == config::RestoreOutcome::already_equal) {
        // Nothing differed, so the restore kept no backup; the module's state is kept anyway.
        if (!save_as(before, report.module_before, &error)) {
            out.reason = before + ": " + error;
            return out;
        }
        out.before_path = before;
    }
    // Kept whatever the outcome once the module was read: a cut-off write as what was sent.
    std::string kept;
    keep_restore_in_history(job.history, "station", job.configuration, options.with_sim_codes,
                            report, language, &kept, &out.history_file);
    if (!kept.empty() && !job.history.folder.empty()) out.reason += "\n" + kept;
    const bool pass = report.outcome == config::RestoreOutcome::verified ||
                      report.outcome == config::RestoreOutcome::already_equal;
    if (!pass || !read) return out;
    config::Configuration after =
        held_after(report.module_before, job.configuration, report.planned);
    if (!save_after_and_report(job, after, language, &out, &error)) {
        // The module is set up, but the record of it is missing: not a pass.
        out.reason += "\n" + error;
        return out;
    }
    out.pass = true;
    return out;
}

std::string folder_safe(const std::string& label) {
    std::string out;
    for (char c : label) {
        const bool keep = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
                          (c >= 'a' && c <= 'z') || c == '-' || c == '_' || c == '.';
        out.push_back(keep ? c : '_');
    }
    // No name of dots only, none ending in a dot (Windows drops it).
    while (!out.empty() && out.back() == '.') out.back() = '_';
    return out.empty() ? "_" : out;
}

Station::Station(StationPorts& ports, const StationPlan& plan, std::string results_folder,
                 uint8_t language, std::string history_folder)
    : ports_(ports),
      plan_(plan),
      results_(std::move(results_folder)),
      language_(language),
      history_folder_(std::move(history_folder)),
      sites_(plan.sites()),
      site_passed_(sites_.size(), false) {}

Station::~Station() {
    if (handle_ && state_ != StationState::running) ports_.close(handle_);
}

bool Station::tick(int64_t now_ms) {
    if (state_ == StationState::running || state_ == StationState::stopped) return false;
    if (looked_ && now_ms - last_look_ms_ < kPollMs) return false;
    looked_ = true;
    last_look_ms_ = now_ms;
    if (state_ == StationState::unplug || state_ == StationState::ready) {
        if (ports_.attached()) return false;
        // Gone before its job started: nothing was written, nothing to report.
        if (handle_) ports_.close(handle_);
        handle_ = nullptr;
        state_ = StationState::waiting;
        return true;
    }
    DriverHandle handle = nullptr;
    std::string message;
    switch (ports_.look(&handle, &message)) {
        case LookResult::nothing:
            return false;
        case LookResult::opened:
            handle_ = handle;
            identity_ = ports_.identity(handle);
            preselect();
            state_ = StationState::ready;
            return true;
        case LookResult::wrong_firmware:
            record(false, message, new_folder());
            break;
        case LookResult::no_answer:
            record(false,
                   pick_text(language_, "Moduł nie odpowiada. Nic nie zostało zapisane.",
                             "The module does not answer. Nothing was written.",
                             "Das Modul antwortet nicht. Es wurde nichts geschrieben."),
                   new_folder());
            break;
    }
    state_ = StationState::unplug;
    return true;
}

void Station::preselect() {
    const auto first = std::ranges::find(site_passed_, false);
    site_ = first == site_passed_.end() ? -1 : static_cast<int>(first - site_passed_.begin());
}

bool Station::choose_site(int index) {
    if (state_ != StationState::ready) return false;
    if (index < 0 || index >= static_cast<int>(sites_.size())) return false;
    site_ = index;
    return true;
}

bool Station::site_passed(int index) const {
    return index >= 0 && index < static_cast<int>(sites_.size()) && site_passed_[index];
}

bool Station::start(StationJob* job) {
    if (state_ != StationState::ready || stop_pending_) return false;
    if (needs_start_click() && site_ < 0) return false;
    const std::string site = site_ >= 0 ? sites_[site_] : std::string();
    config::Configuration cfg;
    std::string error;
    if (!plan_.configuration_for(site, &cfg, &error)) {
        ports_.close(handle_);
        handle_ = nullptr;
        record(false, error, new_folder());
        state_ = StationState::unplug;
        return false;
    }
    running_folder_ = new_folder();
    job->handle = handle_;
    job->configuration = std::move(cfg);
    job->site = site;
    job->folder = running_folder_;
    job->history = {history_folder_, identity_, site};
    state_ = StationState::running;
    return true;
}

void Station::finish(const StationOutcome& outcome) {
    if (state_ != StationState::running) return;
    ports_.close(handle_);
    handle_ = nullptr;
    if (outcome.pass && site_ >= 0) site_passed_[site_] = true;
    record(outcome.pass, outcome.reason, running_folder_);
    state_ = stop_pending_ ? StationState::stopped : StationState::unplug;
}

void Station::stop() {
    if (state_ == StationState::running) {
        stop_pending_ = true;
        return;
    }
    if (handle_) ports_.close(handle_);
    handle_ = nullptr;
    state_ = StationState::stopped;
}

int Station::passed() const {
    return static_cast<int>(std::ranges::count(entries_, true, &StationEntry::pass));
}

std::string Station::new_folder() const {
    // "2026-12-07T17:45:00Z" -> "20261207-174500": sorts by time, and the number keeps two
    // modules of one second apart.
    std::string stamp;
    for (char c : config::utc_timestamp()) {
        if (c >= '0' && c <= '9') stamp.push_back(c);
        if (c == 'T') stamp.push_back('-');
    }
    char number[16];
    std::snprintf(number, sizeof number, "%03d", static_cast<int>(entries_.size()) + 1);
    const std::string site = site_ >= 0 && state_ == StationState::ready ? sites_[site_] : "";
    return results_ + kPathSeparator + stamp + "-" + number + "-" +
           (site.empty() ? std::string("module") : folder_safe(site));
}

void Station::record(bool pass, const std::string& reason, const std::string& folder) {
    StationEntry entry;
    entry.number = static_cast<int>(entries_.size()) + 1;
    entry.site = site_ >= 0 && state_ != StationState::waiting ? sites_[site_] : "";
    entry.pass = pass;
    entry.reason = reason;
    entry.folder = folder;
    entry.identity = state_ == StationState::waiting ? fleet::kUnknownIdentity : identity_.serial;
    // Every module leaves a note of its result in its folder, a refused one included.
    std::string error;
    const std::string note = std::string(pass ? "PASS" : "FAIL") +
                             (entry.site.empty() ? "" : " " + entry.site) + "\n" + reason + "\n";
    if (!make_private_folder(folder, &error) ||
        !write_file_safely(folder + kPathSeparator + "result.txt", note, FileAccess::normal,
                           &error))
        entry.reason += "\n" + folder + ": " + error;
    entries_.push_back(std::move(entry));
}

}  // namespace zavi
