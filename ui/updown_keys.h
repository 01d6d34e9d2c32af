// Where a threshold's up-down goes for the keys of its edit: Up and Down move one step (the
// up-down does that itself), PgUp and PgDn a page, so that 30 -> 5 is three presses.
#pragma once

namespace zavi {

constexpr int kUpDownPage = 10;

// The position after `pages` presses of PgUp (positive) or PgDn (negative) from `position`,
// kept inside the range whichever way round `low` and `high` were given. A position outside
// the range (the edit held something else) starts from the nearer end.
int updown_paged_position(int position, int low, int high, int pages);

}  // namespace zavi
