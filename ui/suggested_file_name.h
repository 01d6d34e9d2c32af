// The name a save dialog offers: the date and time to the minute, so that saved files sort and
// a new one does not replace yesterday's by accident.
#pragma once

#include <ctime>
#include <string>

#include "ui/file_chooser.h"

namespace zavi {

// "zavi-2026-12-09-1430.zavi.json"; "zavi-numbers-2026-12-09-1430.csv" for a list of numbers.
std::string suggested_file_name(FileKind kind, const std::tm& local_time);

}  // namespace zavi
