// Bytes as upper-case hexadecimal digits, two per byte, as journals and state files show them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zavi::sim {

inline std::string hex_digits(const uint8_t* bytes, std::size_t n) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    s.reserve(2 * n);
    for (std::size_t i = 0; i < n; ++i) {
        s.push_back(digits[bytes[i] >> 4]);
        s.push_back(digits[bytes[i] & 15]);
    }
    return s;
}

}  // namespace zavi::sim
