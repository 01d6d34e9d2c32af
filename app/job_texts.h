// Texts of the configuration operations in the three languages: record names, the progress
// dialog's step ("Reading telephone numbers (block 3 of 8)…") and record lists.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/configuration.h"
#include "config/operations.h"
#include "link/result.h"

namespace zavi {

const char* record_title(config::Record record, uint8_t language);
std::string step_text(const config::ProgressEvent& event, uint8_t language);
// "alarm settings, telephone numbers"; "-" for none.
std::string record_titles(const std::vector<config::Record>& records, uint8_t language);

// A backup whose read failed at `failed` with `result`: that no file was saved, and why.
std::string backup_read_failed_text(config::Record failed, LinkResult result, uint8_t language);

}  // namespace zavi
