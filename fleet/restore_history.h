// What a restore leaves in the module history: the word for its result and the copy kept.
#pragma once

#include <string>

#include "config/configuration.h"
#include "config/operations.h"

namespace zavi::fleet {

// "unchanged", "verified", "write-failed", "verify-failed", "verify-unreadable", "interrupted";
// null for an outcome that wrote nothing and keeps nothing (a plan, a failed first read, a
// backup that could not be saved).
const char* restore_result(config::RestoreOutcome outcome);

// True for the results whose copy is what was sent, not what the module is known to hold.
bool result_is_uncertain(const std::string& result);

// The copy a restore keeps: what the module held when nothing differed, else what was sent,
// with the SIM codes the module kept unless they were written too.
config::Configuration restore_copy(config::Configuration target, bool with_sim_codes,
                                   const config::RestoreReport& report);

}  // namespace zavi::fleet
