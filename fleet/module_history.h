// A module's history as people read it: its kept copies, newest first, each with what changed
// since the copy before it of the same module.
#pragma once

#include <string>
#include <vector>

#include "config/compare.h"
#include "fleet/history.h"

namespace zavi::fleet {

struct HistoryItem {
    HistoryEntry entry;
    bool first = false;  // the module's first copy: nothing to compare it with
    std::vector<config::Difference> changes;
    std::string problem;  // the copy (or the one before it) cannot be read: why; changes empty
};

struct ModuleHistory {
    std::vector<HistoryItem> items;  // newest first
    int skipped_lines = 0;           // index lines that are not whole entries
};

// The entries whose identity is `key`, or, when no identity is, whose site label is; every
// entry for an empty key. False with a reason when the index cannot be read.
bool module_history(const std::string& folder, const std::string& key, ModuleHistory* out,
                    std::string* error);

}  // namespace zavi::fleet
