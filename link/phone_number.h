// Display text of a packed telephone number and back.
#pragma once

#include <cstddef>

#include "link/records.h"

namespace zavi {

constexpr std::size_t kPhoneTextSize = 20;  // "+", 14 digits, room to spare, NUL

// "+" followed by the digits up to the first nibble above 9 (at most 14).
void format_phone_number(const PhoneNumber& number, char (&text)[kPhoneTextSize]);
// The inverse for an entry "+digits": pairs of digits into bytes, 0xF after the last digit,
// 0xFF for unused bytes. The first character (the "+") is skipped; the number ends at the first
// character that is not a digit or after 14 digits.
void parse_phone_number(const char* text, PhoneNumber& number);

}  // namespace zavi
