// The settings file "config.db": exactly one byte, the user-interface language. The site label
// and installer name of the last commissioning report live in a small file of their own beside
// it, so that config.db stays one byte long.
#pragma once

#include <cstdint>
#include <string>

namespace zavi {

constexpr char kSettingsFile[] = "config.db";  // in the working directory

// 0 on success with ui_language set to the file's byte, 1 on failure (missing, unreadable,
// not exactly one byte long).
uint8_t load_settings(const char* path = kSettingsFile);
// Writes ui_language as the whole file. 0 on success, 1 on failure.
uint8_t save_settings(const char* path = kSettingsFile);

struct ReportNames {
    std::string site, installer;
};

constexpr int kReportNameCharacters = 60;  // the edits' limit; longer stored values are cut

// "report.json" in the folder of `settings_path` ("config.db" -> "report.json").
std::string report_names_path(const std::string& settings_path);
// Empty names when the file is missing, unreadable or not what this program writes.
ReportNames load_report_names(const std::string& path);
// False when the file could not be written (the names are then only not remembered).
bool save_report_names(const std::string& path, const ReportNames& names);

}  // namespace zavi
