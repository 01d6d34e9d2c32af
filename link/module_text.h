// Texts from the module are bytes in the module's 8-bit character set; the user interface works
// in UTF-8. Bytes below 0x80 are ASCII; the others are taken as Latin-1 code points so that no
// byte the module sends can produce invalid UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zavi {

std::string module_text_to_utf8(std::string_view bytes);

// The way back, one byte per code point. None for invalid UTF-8 or a code point above U+00FF,
// which the module cannot hold.
std::optional<std::string> utf8_to_module_text(std::string_view text);

}  // namespace zavi
