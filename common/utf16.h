// UTF-8 <-> UTF-16 for the Win32 boundary. The core keeps UTF-8; the window system wants UTF-16.
// Malformed input never fails: each bad sequence becomes U+FFFD, so a text from anywhere can be
// shown and nothing reads past the input.
#pragma once

#include <string>
#include <string_view>

namespace zavi {

// Invalid, truncated, overlong or surrogate-encoding sequences become one U+FFFD per maximal
// bad subpart (the usual replacement rule), and decoding goes on with the next byte.
std::u16string utf8_to_utf16(std::string_view utf8);

// Unpaired surrogates become U+FFFD.
std::string utf16_to_utf8(std::u16string_view utf16);

}  // namespace zavi
