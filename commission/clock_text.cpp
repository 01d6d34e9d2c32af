#include "commission/clock_text.h"

#include <cstdio>

namespace zavi::commission {

std::string local_time_text(std::time_t t) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    char text[40];
    char zone[8];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    std::strftime(zone, sizeof zone, "%z", &local);  // "+0100"
    std::string z = zone;
    if (z.size() == 5) z = z.substr(0, 3) + ":" + z.substr(3);
    return std::string(text) + z;
}

std::string local_time_now() {
    return local_time_text(std::time(nullptr));
}

}  // namespace zavi::commission
