// SHA-256 of a byte string, as 64 lower-case hex digits (ties a report to its backup file).
#pragma once

#include <string>
#include <string_view>

namespace zavi::commission {

std::string sha256_hex(std::string_view bytes);

}  // namespace zavi::commission
