// The restore's result box: what the module acknowledged record by record, what it holds now,
// and the automatic backup as the way back, in the user's language.
#pragma once

#include <cstdint>
#include <string>

#include "config/operations.h"

namespace zavi {

std::string restore_result_text(const config::RestoreReport& report, uint8_t language);

}  // namespace zavi
