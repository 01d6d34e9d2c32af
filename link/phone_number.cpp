#include "link/phone_number.h"

#include <cstring>

namespace zavi {

namespace {

constexpr std::size_t kMaxDigits = kPhoneNumberBytes * 2;

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

void format_phone_number(const PhoneNumber& number, char (&text)[kPhoneTextSize]) {
    std::size_t n = 0;
    text[n++] = '+';
    for (const uint8_t byte : number.bytes) {
        const uint8_t high = byte >> 4;
        if (high > 9) break;
        text[n++] = static_cast<char>('0' + high);
        const uint8_t low = byte & 0x0F;
        if (low > 9) break;
        text[n++] = static_cast<char>('0' + low);
    }
    text[n] = '\0';
}

void parse_phone_number(const char* text, PhoneNumber& number) {
    std::memset(number.bytes, 0xFF, sizeof number.bytes);
    if (text == nullptr || text[0] == '\0') return;
    // The number ends at the first character that is not a digit, so a stray character can
    // never turn into a nibble the module would take for a digit.
    const char* digits = text + 1;
    for (std::size_t k = 0; k < kMaxDigits && is_digit(digits[k]); ++k) {
        const uint8_t value = static_cast<uint8_t>(digits[k] - '0');
        uint8_t& byte = number.bytes[k / 2];
        byte = k % 2 == 0 ? static_cast<uint8_t>(value << 4 | 0x0F)
                          : static_cast<uint8_t>((byte & 0xF0) | value);
    }
}

}  // namespace zavi
