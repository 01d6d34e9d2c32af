// The differences between two configurations: "old" is the module (or the first file), "new"
// the file (or the second file).
#pragma once

#include <span>
#include <string>
#include <vector>

#include "config/configuration.h"

namespace zavi::config {

// One difference. Values are JSON texts ("true", "30", "\"Door open\""); an empty text means
// "not there" (a number added or removed). Lists are compared with multiplicity: each added or
// removed occurrence of a number is one item, with the number of times the number is in each
// list. A list whose numbers only changed their order is one item with the whole lists.
struct Difference {
    std::string path;
    std::string old_value;
    std::string new_value;
    int old_count = 0;  // a list item: how often the number is in the old list
    int new_count = 0;  // ... and in the new one
};

std::vector<Difference> compare(const Configuration& old_cfg, const Configuration& new_cfg);

// The text form, one line each: "path: old -> new"; a list as "accepted_numbers: 2 added,
// 1 removed" followed by "+48600100200" / "-48600100200" lines, or "accepted_numbers: order
// changed". A number the list holds more than once carries "(1 of 2)": one of the two the
// list holds was removed (or, added, one of the two the new list holds is new).
std::vector<std::string> difference_lines(const std::vector<Difference>& diffs);

// True for the two number lists, which are compared as lists.
bool is_number_list(const std::string& path);

// A list's added or removed number: `changed` of its occurrences, with `total` how often it is
// in the list it was added to (new) or removed from (old).
struct NumberChange {
    std::string number;  // digits
    bool added = false;
    int changed = 0;
    int total = 0;
};

// The items of one list, one entry per number and direction, in the items' order.
std::vector<NumberChange> number_changes(std::span<const Difference> items);

// " (1 of 2)" for a number the list holds more than once, otherwise "".
std::string multiplicity(const NumberChange& n);

// The JSON form: an array of {"path", "old", "new"}, with null for "not there". A number that
// is more than once in either list also has "old_count" and "new_count".
std::string differences_json(const std::vector<Difference>& diffs);

}  // namespace zavi::config
