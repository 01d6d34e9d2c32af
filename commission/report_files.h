// Saves a commissioning report of the open module together with its backup: the module's
// configuration and live status are read, then `<name>.zavi.json` (without the SIM codes) and
// `<name>.html` naming that file's SHA-256 are written, each atomically. The program and the
// command-line tool both save reports through here.
#pragma once

#include <string>

#include "commission/report.h"
#include "config/operations.h"
#include "link/driver.h"
#include "link/result.h"

namespace zavi::commission {

// "site/report.html" -> "site/report.zavi.json"
std::string backup_path_for(const std::string& html_path);

struct ReportFiles {
    // The configuration read: ok, or the failing read (nothing was written then).
    LinkResult read = LinkResult::ok;
    config::Record failed_record = config::Record::alarm_settings;
    bool live_read = false;  // false: the report says the live status was not read
    std::string html_path, backup_path;
    bool backup_saved = false, html_saved = false;
    std::string sha256;  // of the backup's bytes, as the report names it
    std::string why;     // of the failed write
    bool complete() const { return read == LinkResult::ok && backup_saved && html_saved; }
};

// `in` brings what the module cannot tell (language, site, installer, connection, version, the
// walk test and survey); the rest is read on `handle`. The backup is written first, so a
// report never names a checksum that no file beside it has.
ReportFiles save_report_files(DriverHandle handle, ReportInput in, const std::string& html_path,
                              const config::Progress& progress = {});

}  // namespace zavi::commission
