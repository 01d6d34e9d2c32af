// Texts in answers: a length byte, then that many characters, no terminator. In memory they sit
// NUL-terminated in fixed slots.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace zavi {

// Reads the text at `*pos` in `data` into `slot` (cut to slot_size - 1 characters, NUL after
// them) and moves `*pos` past it. False, with the slot untouched, when the length byte or the
// characters it announces lie beyond the end of `data`.
bool take_text(std::span<const uint8_t> data, std::size_t* pos, char* slot, std::size_t slot_size);

// Length of a slot's text without reading past the slot, even if it holds no NUL.
std::size_t slot_length(const char* slot, std::size_t slot_size);

}  // namespace zavi
