// Test -> Commissioning report: the site and installer (remembered for next time), the file
// name, then the module read and both files saved behind the progress dialog (`<name>.html`
// with its backup `<name>.zavi.json` beside it), and what the user is told about it afterwards.
#pragma once

#include <optional>
#include <string>

#include "app/file_commands.h"
#include "commission/survey.h"
#include "commission/walk_test.h"

namespace zavi {

struct ReportCommandContext {
    FileCommandContext& files;
    std::string names_path;  // where the site and installer are remembered
    const std::optional<commission::WalkTestResult>& walk_test;  // of this run, if any
    const std::optional<commission::SurveyResult>& survey;
};

void save_report_from_menu(ReportCommandContext& ctx);

}  // namespace zavi
