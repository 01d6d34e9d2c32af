#include "link/wire_text.h"

#include <algorithm>
#include <cstring>

namespace zavi {

bool take_text(std::span<const uint8_t> data, std::size_t* pos, char* slot, std::size_t slot_size) {
    if (*pos >= data.size()) return false;
    const std::size_t length = data[*pos];
    const std::size_t first = *pos + 1;
    if (length > data.size() - first) return false;
    if (slot_size == 0) return false;
    const std::size_t kept = std::min(length, slot_size - 1);
    if (kept > 0) std::memcpy(slot, data.data() + first, kept);
    slot[kept] = '\0';
    *pos = first + length;
    return true;
}

std::size_t slot_length(const char* slot, std::size_t slot_size) {
    const void* nul = std::memchr(slot, '\0', slot_size);
    return nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - slot) : slot_size;
}

}  // namespace zavi
