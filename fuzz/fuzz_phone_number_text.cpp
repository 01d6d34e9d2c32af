// Fuzzes the telephone number text both ways: the first 7 input bytes are a number as the module
// sends it, the rest a text as typed into the ADD dialog. A shown number is "+" and at most 14
// digits; packing what is shown gives a number that shows the same; a packed text holds digits
// and then only 0xF nibbles, so the module never gets a nibble it would take for a digit that
// was not typed.
#include <algorithm>
#include <cstring>
#include <string>

#include "fuzz/fuzz_check.h"
#include "link/phone_number.h"

namespace {

bool well_packed(const zavi::PhoneNumber& n, std::size_t* digits) {
    bool ended = false;
    *digits = 0;
    for (const uint8_t byte : n.bytes) {
        for (const uint8_t nibble : {uint8_t(byte >> 4), uint8_t(byte & 0x0F)}) {
            if (nibble == 0x0F) {
                ended = true;
            } else if (ended || nibble > 9) {
                return false;
            } else {
                ++*digits;
            }
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace zavi;
    PhoneNumber received;
    std::memset(received.bytes, 0xFF, sizeof received.bytes);
    if (size > 0) std::memcpy(received.bytes, data, std::min(size, kPhoneNumberBytes));

    char shown[kPhoneTextSize];
    std::memset(shown, 0x7F, sizeof shown);
    format_phone_number(received, shown);
    const std::size_t length = strnlen(shown, sizeof shown);
    FUZZ_CHECK(length < sizeof shown && shown[0] == '+' && length <= 15, "+ and 14 digits at most");
    for (std::size_t i = 1; i < length; ++i)
        FUZZ_CHECK(shown[i] >= '0' && shown[i] <= '9', "only digits after the +");

    PhoneNumber packed;
    parse_phone_number(shown, packed);
    char again[kPhoneTextSize];
    format_phone_number(packed, again);
    FUZZ_CHECK(std::strcmp(shown, again) == 0, "a shown number packs to one that shows the same");

    if (size <= kPhoneNumberBytes) return 0;
    const std::string typed(reinterpret_cast<const char*>(data + kPhoneNumberBytes),
                            size - kPhoneNumberBytes);  // stops at an embedded NUL when parsed
    PhoneNumber entry;
    parse_phone_number(typed.c_str(), entry);
    std::size_t digits = 0;
    FUZZ_CHECK(well_packed(entry, &digits), "digits, then only 0xF nibbles");
    const std::size_t typed_length = std::strlen(typed.c_str());
    std::size_t leading = 0;
    while (leading < 14 && leading + 1 < typed_length && typed[leading + 1] >= '0' &&
           typed[leading + 1] <= '9')
        ++leading;
    FUZZ_CHECK(digits == leading, "exactly the digits typed after the first character");
    return 0;
}
