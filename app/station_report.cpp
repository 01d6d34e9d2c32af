#include "app/station_report.h"

#include "app/about_dialog.h"
#include "commission/clock_text.h"
#include "commission/report.h"
#include "commission/sha256.h"
#include "config/files.h"
#include "config/record_values.h"

namespace zavi {

bool save_station_report(const StationReportInput& in, std::string* path, std::string* error) {
    commission::ReportInput report;
    report.language = in.language;
    report.site = in.site;
    report.made_at = commission::local_time_now();
    report.program_version = kProgramVersion;
    report.connection = in.connection;
    report.firmware = config::accepted_firmware();
    report.configuration = in.configuration;
    // The report says only whether a PIN is set, never the codes.
    if (in.configuration.sim_codes) report.pin_set = in.configuration.sim_codes->pin.has_value();
    report.configuration.sim_codes.reset();
    report.backup_name = in.configuration_name;
    report.backup_sha256 = commission::sha256_hex(in.configuration_text);
#ifdef _WIN32
    *path = in.folder + "\\report.html";
#else
    *path = in.folder + "/report.html";
#endif
    return write_file_safely(*path, commission::build_report(report), FileAccess::normal, error);
}

}  // namespace zavi
