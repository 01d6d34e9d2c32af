// Saving the commissioning report of the connected module with its backup beside it
// (`<name>.html` and `<name>.zavi.json`), and what the user is told about it afterwards.
// The main window's Test menu and the setup station both save reports through here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "commission/report_files.h"
#include "commission/survey.h"
#include "commission/walk_test.h"
#include "config/operations.h"
#include "link/driver.h"

namespace zavi {

struct CommissioningReportRequest {
    std::string html_path;  // ".html" is added when it has no .html or .htm ending
    std::string site, installer;
    uint8_t language = 1;    // 0 Polish, 1 English, else German
    std::string connection;  // how this run reaches the module ("D2XX", "COM5")
    std::optional<commission::WalkTestResult> walk_test;  // none: listed as not done
    std::optional<commission::SurveyResult> survey;
};

// Reads the module on `handle` and saves both files. Touches no window, so it runs on a worker
// thread; `progress` gets each record read.
commission::ReportFiles save_commissioning_report(DriverHandle handle,
                                                  const CommissioningReportRequest& request,
                                                  const config::Progress& progress = {});

// `path` with ".html" added unless it ends in .html or .htm (case-insensitive).
std::string with_report_extension(const std::string& path);

// What was saved (both paths and the checksum), or exactly which of the two files exists after
// a failed write. Empty when the configuration could not be read: nothing was written, and the
// usual communication error says it.
std::string report_outcome_text(const commission::ReportFiles& saved, uint8_t language);

}  // namespace zavi
