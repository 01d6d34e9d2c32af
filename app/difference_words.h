// The differences between two configurations in the program's own words, for the Restore and
// Compare dialogs: the labels and values as the panels and dialogs show them, with units, and
// numbers with "+". SIM codes are never shown, only that they differ.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/compare.h"

namespace zavi {

// One line per difference ("Auto-Reset, Trigger period: 9 days → 5 days"), a number list
// one line per number added or removed, or one line when only its order changed.
std::vector<std::string> difference_words(const std::vector<config::Difference>& diffs,
                                          uint8_t language);

}  // namespace zavi
