#include "commission/report_files.h"

#include <atomic>
#include <utility>

#include "commission/clock_text.h"
#include "commission/live_loop.h"
#include "commission/sha256.h"
#include "config/config_file.h"
#include "config/files.h"
#include "config/record_values.h"

namespace zavi::commission {

namespace {

std::string file_name(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string backup_path_for(const std::string& html_path) {
    std::string base = html_path;
    const auto slash = base.find_last_of("/\\");
    const auto dot = base.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) base.resize(dot);
    return base + ".zavi.json";
}

ReportFiles save_report_files(DriverHandle handle, ReportInput in, const std::string& html_path,
                              const config::Progress& progress) {
    ReportFiles out;
    out.html_path = html_path;
    out.backup_path = backup_path_for(html_path);

    config::Configuration cfg;
    // The SIM codes are read only to say whether a PIN is set; they go nowhere.
    out.read = config::read_configuration(handle, true, progress, &cfg, &out.failed_record);
    if (out.read != LinkResult::ok) return out;
    if (cfg.sim_codes) in.pin_set = cfg.sim_codes->pin.has_value();
    cfg.sim_codes.reset();

    Snapshot live;
    const std::atomic<bool> never{false};
    bool read_failed = false;
    out.live_read = read_cycle(handle, never, &read_failed, &live);
    if (out.live_read) in.live = live;
    if (in.firmware.empty()) in.firmware = config::accepted_firmware();
    in.made_at = local_time_now();
    cfg.saved_at = config::utc_timestamp();
    in.configuration = cfg;

    const std::string backup = config::configuration_to_json(cfg);
    in.backup_name = file_name(out.backup_path);
    in.backup_sha256 = out.sha256 = sha256_hex(backup);
    out.backup_saved = write_file_safely(out.backup_path, backup, FileAccess::normal, &out.why);
    if (!out.backup_saved) return out;
    out.html_saved = write_file_safely(html_path, build_report(in), FileAccess::normal, &out.why);
    return out;
}

}  // namespace zavi::commission
