// The differences between two configurations: "old" is the module (or the first file), "new"
// the file (or the second file).
#pragma once

#include <string>
#include <vector>

#include "config/configuration.h"

namespace zavi::config {

// One difference. Values are JSON texts ("true", "30", "\"Door open\""); an empty text means
// "not there" (a number added or removed). A list whose numbers only changed their order is one
// item with the whole lists.
struct Difference {
    std::string path;
    std::string old_value;
    std::string new_value;
};

std::vector<Difference> compare(const Configuration& old_cfg, const Configuration& new_cfg);

// The text form, one line each: "path: old -> new"; a list as "accepted_numbers: 2 added,
// 1 removed" followed by "+48600100200" / "-48600100200" lines, or "accepted_numbers: order
// changed".
std::vector<std::string> difference_lines(const std::vector<Difference>& diffs);

// The JSON form: an array of {"path", "old", "new"}, with null for "not there".
std::string differences_json(const std::vector<Difference>& diffs);

}  // namespace zavi::config
