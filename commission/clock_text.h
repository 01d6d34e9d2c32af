// The local date and time with its UTC offset, ISO-8601 ("2026-12-09T04:31:07+01:00").
#pragma once

#include <ctime>
#include <string>

namespace zavi::commission {

std::string local_time_text(std::time_t t);
std::string local_time_now();

}  // namespace zavi::commission
