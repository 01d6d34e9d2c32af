// A restore's report in the command-line tool's words (English, the records by their file
// names): one line for each kind of outcome, what the module holds now, and the way back.
#pragma once

#include <string>
#include <vector>

#include "config/operations.h"

namespace zavi::config {

// "alarm_settings, io_names", or "nothing".
std::string record_list(const std::vector<Record>& records);

// "writing accepted_numbers failed: the module did not acknowledge block 3 of 8".
std::string failed_write_line(const RestoreReport& report);

// Written, partly written, unknown and not written (each line only when it has a record),
// then what the read-back after a failure found, then the automatic backup as the way back.
std::vector<std::string> write_report_lines(const RestoreReport& report);

// How the restore ended, in lines (none for a plan); `interrupted` opens the line of a stop.
std::vector<std::string> outcome_lines(const RestoreReport& report, const std::string& interrupted);

}  // namespace zavi::config
