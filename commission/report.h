// The commissioning report: one self-contained HTML page (inline CSS and SVG, no scripts, no
// outside resources) that prints on A4, in Polish, English or German.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "commission/snapshot.h"
#include "commission/survey.h"
#include "commission/walk_test.h"
#include "config/configuration.h"

namespace zavi::commission {

struct ReportInput {
    uint8_t language = 1;  // 0 Polish, 1 English, else German
    std::string site, installer;
    std::string made_at;  // local time with UTC offset
    std::string program_version;
    std::string connection;  // "D2XX (USB), device 0", "COM5", "/dev/ttyUSB0"
    std::string firmware;
    config::Configuration configuration;  // its SIM codes only say whether a PIN is set
    std::optional<bool> pin_set;          // none: not read
    std::optional<Snapshot> live;
    std::optional<WalkTestResult> walk_test;
    std::optional<SurveyResult> survey;
    std::string backup_name;    // the configuration file saved beside the report
    std::string backup_sha256;  // of that file's bytes
};

std::string build_report(const ReportInput& in);

// The survey's plot as inline SVG (dBm over seconds, with the failure and reserve lines).
std::string survey_plot_svg(const SurveyResult& r);

}  // namespace zavi::commission
