// The commissioning report of a module the setup station set up, saved in its result folder
// beside the configuration file it names by SHA-256.
#pragma once

#include <cstdint>
#include <string>

#include "config/configuration.h"

namespace zavi {

struct StationReportInput {
    std::string folder;              // the module's result folder
    std::string configuration_name;  // the file beside the report ("after.zavi.json")
    std::string configuration_text;  // that file's bytes, as saved
    config::Configuration configuration;
    std::string site;
    std::string connection;
    uint8_t language = 1;
};

// Writes <folder>/report.html; false with the reason when it cannot be saved.
bool save_station_report(const StationReportInput& in, std::string* path, std::string* error);

}  // namespace zavi
