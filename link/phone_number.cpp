#include "link/phone_number.h"

#include <cstring>

namespace zavi {

namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// Writes the digits to `out` (room for kPhoneNumberMaxDigits) and returns their count.
std::size_t unpack(const PhoneNumber& number, char* out) {
    std::size_t n = 0;
    for (const uint8_t byte : number.bytes) {
        const uint8_t high = byte >> 4;
        if (high > 9) break;
        out[n++] = static_cast<char>('0' + high);
        const uint8_t low = byte & 0x0F;
        if (low > 9) break;
        out[n++] = static_cast<char>('0' + low);
    }
    return n;
}

}  // namespace

std::string phone_digits(const PhoneNumber& number) {
    char digits[kPhoneNumberMaxDigits];
    return std::string(digits, unpack(number, digits));
}

void pack_phone_digits(std::string_view digits, PhoneNumber& number) {
    std::memset(number.bytes, 0xFF, sizeof number.bytes);
    for (std::size_t k = 0; k < kPhoneNumberMaxDigits && k < digits.size() && is_digit(digits[k]);
         ++k) {
        const uint8_t value = static_cast<uint8_t>(digits[k] - '0');
        uint8_t& byte = number.bytes[k / 2];
        byte = k % 2 == 0 ? static_cast<uint8_t>(value << 4 | 0x0F)
                          : static_cast<uint8_t>((byte & 0xF0) | value);
    }
}

void format_phone_number(const PhoneNumber& number, char (&text)[kPhoneTextSize]) {
    static_assert(kPhoneTextSize >= kPhoneNumberMaxDigits + 2);
    text[0] = '+';
    text[1 + unpack(number, text + 1)] = '\0';
}

void parse_phone_number(const char* text, PhoneNumber& number) {
    pack_phone_digits(text == nullptr || text[0] == '\0' ? std::string_view() : text + 1, number);
}

}  // namespace zavi
