#include "ui/updown_keys.h"

#include <algorithm>

namespace zavi {

int updown_paged_position(int position, int low, int high, int pages) {
    const int bottom = std::min(low, high);
    const int top = std::max(low, high);
    // An up-down whose range runs downwards moves against the arrow.
    const int direction = low <= high ? 1 : -1;
    const long long moved = static_cast<long long>(std::clamp(position, bottom, top)) +
                            static_cast<long long>(pages) * kUpDownPage * direction;
    return static_cast<int>(std::clamp<long long>(moved, bottom, top));
}

}  // namespace zavi
