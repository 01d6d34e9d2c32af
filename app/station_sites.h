// The station's plan from a template (or full file) and a sites table: one configuration per
// site, every cell checked before the station begins.
#pragma once

#include <memory>
#include <string>

#include "app/station.h"

namespace zavi {

// Reads and checks the configuration (or template) at `path`; false with the reason. Unknown
// fields are ignored.
bool load_station_file(const std::string& path, config::Configuration* cfg, std::string* error);

// Null with the reason (each bad cell by row and column) when the file or the table is bad.
std::unique_ptr<StationPlan> make_station_sites_plan(const std::string& template_path,
                                                     const std::string& sites_path,
                                                     std::string* error);

}  // namespace zavi
