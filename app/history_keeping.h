// The program's Backup, Restore and setup station keep a copy of each module's configuration
// in the module history, under the module's identity, as the command line does. The user is
// told in one line what was kept, or why nothing was.
#pragma once

#include <cstdint>
#include <string>

#include "app/module_identity.h"
#include "config/configuration.h"
#include "config/operations.h"

namespace zavi {

struct HistoryKeeping {
    std::string folder;  // the history's folder; "" when none is known (nothing is kept)
    ModuleIdentity identity;
    std::string site;  // "" when the operation had none
};

// Keeps `cfg` with its entry. *line says under which identity (or that it is unknown), or why
// it was not kept (then false). A kept copy's path goes to *file (relative to the folder).
bool keep_in_history(const HistoryKeeping& where, const char* operation, const char* result,
                     const config::Configuration& cfg, uint8_t language, std::string* line,
                     std::string* file = nullptr);

// The same for a restore of `target`: the copy is what the module held when nothing differed,
// else what was sent (a cut-off write kept as such). True with no line when the outcome keeps
// nothing.
bool keep_restore_in_history(const HistoryKeeping& where, const char* operation,
                             const config::Configuration& target, bool with_sim_codes,
                             const config::RestoreReport& report, uint8_t language,
                             std::string* line, std::string* file = nullptr);

}  // namespace zavi
