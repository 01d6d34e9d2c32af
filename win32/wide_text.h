// UTF-8 (the program's texts) <-> UTF-16 (the W APIs), at the Win32 boundary only.
#pragma once

#include <string>
#include <string_view>

#include "common/utf16.h"

namespace zavi {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 units");

inline std::wstring to_wide(std::string_view utf8) {
    const std::u16string s = utf8_to_utf16(utf8);
    return std::wstring(s.begin(), s.end());
}

inline std::string from_wide(std::wstring_view wide) {
    return utf16_to_utf8(std::u16string(wide.begin(), wide.end()));
}

}  // namespace zavi
