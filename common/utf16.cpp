#include "common/utf16.h"

namespace zavi {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool in(unsigned char byte, unsigned char low, unsigned char high) {
    return byte >= low && byte <= high;
}

// Decodes one character at `pos` and advances `pos` past the bytes it used. A bad sequence
// consumes its lead byte and any valid continuation bytes that follow, but never the byte
// that broke it, so that byte starts the next character.
char32_t decode_one(std::string_view s, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(s[pos++]);
    if (lead < 0x80) return lead;

    int more = 0;
    char32_t value = 0;
    // The allowed range of the first continuation byte excludes overlong forms, surrogates
    // and values above U+10FFFF.
    unsigned char first_low = 0x80, first_high = 0xBF;
    if (in(lead, 0xC2, 0xDF)) {
        more = 1;
        value = lead & 0x1F;
    } else if (in(lead, 0xE0, 0xEF)) {
        more = 2;
        value = lead & 0x0F;
        if (lead == 0xE0) first_low = 0xA0;
        if (lead == 0xED) first_high = 0x9F;
    } else if (in(lead, 0xF0, 0xF4)) {
        more = 3;
        value = lead & 0x07;
        if (lead == 0xF0) first_low = 0x90;
        if (lead == 0xF4) first_high = 0x8F;
    } else {
        return kReplacement;  // stray continuation byte, C0/C1 or F5-FF
    }

    for (int i = 0; i < more; ++i) {
        if (pos >= s.size()) return kReplacement;  // truncated at the end
        const auto next = static_cast<unsigned char>(s[pos]);
        const bool ok = i == 0 ? in(next, first_low, first_high) : in(next, 0x80, 0xBF);
        if (!ok) return kReplacement;
        value = (value << 6) | (next & 0x3F);
        ++pos;
    }
    return value;
}

void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool is_high_surrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool is_low_surrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

std::u16string utf8_to_utf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t c = decode_one(utf8, pos);
        if (c < 0x10000) {
            out += static_cast<char16_t>(c);
        } else {
            const char32_t v = c - 0x10000;
            out += static_cast<char16_t>(0xD800 + (v >> 10));
            out += static_cast<char16_t>(0xDC00 + (v & 0x3FF));
        }
    }
    return out;
}

std::string utf16_to_utf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t c = utf16[i];
        if (is_high_surrogate(c) && i + 1 < utf16.size() && is_low_surrogate(utf16[i + 1])) {
            const char32_t v = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            append_utf8(out, v);
            ++i;
        } else if (is_high_surrogate(c) || is_low_surrogate(c)) {
            append_utf8(out, kReplacement);
        } else {
            append_utf8(out, c);
        }
    }
    return out;
}

}  // namespace zavi
