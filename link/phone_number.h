// Telephone numbers: the packed record as digits or as the display text "+digits", and back.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "link/records.h"

namespace zavi {

constexpr std::size_t kPhoneTextSize = 20;  // "+", 14 digits, room to spare, NUL

// The digits up to the first nibble above 9 (at most 14).
std::string phone_digits(const PhoneNumber& number);
// Digits into the record: pairs into bytes, 0xF after the last digit, 0xFF for unused bytes.
// The number ends at the first character that is not a digit or after 14 digits, so a stray
// character can never turn into a nibble the module would take for a digit.
void pack_phone_digits(std::string_view digits, PhoneNumber& number);

// "+" and the digits, without touching the heap.
void format_phone_number(const PhoneNumber& number, char (&text)[kPhoneTextSize]);
// The inverse for an entry "+digits": the first character (the "+") is skipped.
void parse_phone_number(const char* text, PhoneNumber& number);

}  // namespace zavi
