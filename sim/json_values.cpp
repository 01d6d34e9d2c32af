#include "sim/json_values.h"

#include <optional>

#include "link/module_text.h"
#include "sim/hex_text.h"

namespace zavi::sim::json_values {

namespace {

constexpr char kHexPrefix[] = "hex:";
constexpr std::size_t kHexPrefixSize = 4;

bool starts_with_hex(const std::string& s) {
    return s.compare(0, kHexPrefixSize, kHexPrefix) == 0;
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "hex:" followed by pairs of hex digits (spaces allowed between pairs).
bool parse_hex(const std::string& s, std::size_t max_bytes, std::vector<uint8_t>* out,
               std::string* error) {
    out->clear();
    std::size_t i = kHexPrefixSize;
    while (i < s.size()) {
        if (s[i] == ' ') {
            ++i;
            continue;
        }
        const int hi = hex_digit(s[i]);
        const int lo = i + 1 < s.size() ? hex_digit(s[i + 1]) : -1;
        if (hi < 0 || lo < 0) {
            *error = "expected pairs of hex digits after \"hex:\"";
            return false;
        }
        if (out->size() >= max_bytes) {
            *error = "more than " + std::to_string(max_bytes) + " bytes";
            return false;
        }
        out->push_back(static_cast<uint8_t>(hi << 4 | lo));
        i += 2;
    }
    return true;
}

std::string hex_string(const uint8_t* bytes, std::size_t n) {
    return kHexPrefix + hex_digits(bytes, n);
}

// The simulator packs and unpacks telephone numbers with its own code, on purpose: it stands for
// the module, so a fault in the program's coding (link/phone_number.h) must not be mirrored here.
// It is also stricter: it refuses what the program would cut. Tests compare the two.
// Digits packed two to a byte, 0xF after the last one.
bool pack_digits(const std::string& digits, uint8_t* out, std::size_t size) {
    if (digits.size() > 2 * size) return false;
    for (std::size_t i = 0; i < 2 * size; ++i) {
        uint8_t nibble = 0xF;
        if (i < digits.size()) {
            if (digits[i] < '0' || digits[i] > '9') return false;
            nibble = static_cast<uint8_t>(digits[i] - '0');
        }
        if (i % 2 == 0)
            out[i / 2] = static_cast<uint8_t>(nibble << 4);
        else
            out[i / 2] |= nibble;
    }
    return true;
}

// Kept apart from the program's coding on purpose, as pack_digits is.
// The digits of packed bytes, or false when packing them again would not give the same bytes.
bool unpack_digits(const uint8_t* bytes, std::size_t size, std::string* digits) {
    digits->clear();
    for (std::size_t i = 0; i < 2 * size; ++i) {
        const uint8_t nibble = i % 2 == 0 ? bytes[i / 2] >> 4 : bytes[i / 2] & 15;
        if (nibble > 9) break;
        digits->push_back(static_cast<char>('0' + nibble));
    }
    uint8_t again[8];
    return pack_digits(*digits, again, size) && std::equal(again, again + size, bytes);
}

}  // namespace

bool read_text(const Json& j, std::size_t max_bytes, std::string* out, std::string* error) {
    if (!j.is_string()) {
        *error = "expected a string";
        return false;
    }
    const std::string& s = j.get_ref<const std::string&>();
    if (starts_with_hex(s)) {
        std::vector<uint8_t> bytes;
        if (!parse_hex(s, max_bytes, &bytes, error)) return false;
        out->assign(bytes.begin(), bytes.end());
        return true;
    }
    std::optional<std::string> bytes = utf8_to_module_text(s);
    if (!bytes) {
        *error = "characters above U+00FF have no module byte (use \"hex:...\")";
        return false;
    }
    if (bytes->size() > max_bytes) {
        *error = "longer than " + std::to_string(max_bytes) + " bytes";
        return false;
    }
    *out = std::move(*bytes);
    return true;
}

bool read_number(const Json& j, Number* out, std::string* error) {
    if (!j.is_string()) {
        *error = "expected a string of digits";
        return false;
    }
    std::string s = j.get<std::string>();
    if (starts_with_hex(s)) {
        std::vector<uint8_t> bytes;
        if (!parse_hex(s, out->size(), &bytes, error)) return false;
        if (bytes.size() != out->size()) {
            *error = "expected 7 bytes after \"hex:\"";
            return false;
        }
        std::copy(bytes.begin(), bytes.end(), out->begin());
        return true;
    }
    if (!s.empty() && s[0] == '+') s.erase(0, 1);
    if (!pack_digits(s, out->data(), out->size())) {
        *error = "expected up to 14 digits";
        return false;
    }
    return true;
}

bool read_code(const Json& j, int digits, uint32_t* out, std::string* error) {
    const std::size_t size = static_cast<std::size_t>(digits / 2);
    const uint32_t none = digits == 4 ? 0xFFFF : 0xFFFFFFFF;
    std::string text;
    if (j.is_number_unsigned() || j.is_number_integer()) {
        const int64_t limit = digits == 4 ? 9999 : 99999999;
        const int64_t v =
            j.is_number_unsigned()
                ? static_cast<int64_t>(std::min<uint64_t>(j.get<uint64_t>(), uint64_t{1} << 40))
                : j.get<int64_t>();
        if (v < 0 || v > limit) {
            *error = "expected 0 to " + std::to_string(limit);
            return false;
        }
        text = std::to_string(v);
        text.insert(0, digits - text.size(), '0');
    } else if (j.is_null()) {
        *out = none;
        return true;
    } else if (j.is_string()) {
        text = j.get<std::string>();
        if (text == "none") {
            *out = none;
            return true;
        }
    } else {
        *error = "expected a string of digits, a number or \"none\"";
        return false;
    }

    std::vector<uint8_t> bytes;
    if (starts_with_hex(text)) {
        if (!parse_hex(text, size, &bytes, error)) return false;
    } else {
        bytes.resize(size);
        if (text.size() != static_cast<std::size_t>(digits) ||
            !pack_digits(text, bytes.data(), size))
            bytes.clear();
    }
    if (bytes.size() != size) {
        *error = "expected exactly " + std::to_string(digits) + " digits";
        return false;
    }
    uint32_t v = 0;
    for (uint8_t b : bytes) v = v << 8 | b;
    *out = v;
    return true;
}

bool read_bytes(const Json& j, std::size_t max_bytes, std::vector<uint8_t>* out,
                std::string* error) {
    if (j.is_string()) {
        const std::string& s = j.get_ref<const std::string&>();
        if (!starts_with_hex(s)) {
            *error = "expected \"hex:...\" or an array of bytes";
            return false;
        }
        return parse_hex(s, max_bytes, out, error);
    }
    if (!j.is_array()) {
        *error = "expected \"hex:...\" or an array of bytes";
        return false;
    }
    if (j.size() > max_bytes) {
        *error = "more than " + std::to_string(max_bytes) + " bytes";
        return false;
    }
    out->clear();
    for (const Json& b : j) {
        if (!b.is_number_unsigned() || b.get<uint64_t>() > 255) {
            *error = "bytes are numbers from 0 to 255";
            return false;
        }
        out->push_back(static_cast<uint8_t>(b.get<uint64_t>()));
    }
    return true;
}

Json text_json(const std::string& bytes) {
    if (starts_with_hex(bytes))
        return hex_string(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return module_text_to_utf8(bytes);
}

Json number_json(const Number& number) {
    std::string digits;
    if (unpack_digits(number.data(), number.size(), &digits)) return digits;
    return hex_string(number.data(), number.size());
}

Json code_json(uint32_t code, int digits) {
    const std::size_t size = static_cast<std::size_t>(digits / 2);
    uint8_t bytes[4];
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(code >> (8 * (size - 1 - i)));
    if (code == (digits == 4 ? 0xFFFFu : 0xFFFFFFFFu)) return "none";
    std::string text;
    if (unpack_digits(bytes, size, &text) && text.size() == static_cast<std::size_t>(digits))
        return text;
    return hex_string(bytes, size);
}

Json bytes_json(const std::vector<uint8_t>& bytes) {
    return hex_string(bytes.data(), bytes.size());
}

}  // namespace zavi::sim::json_values
