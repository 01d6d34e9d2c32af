#include "commission/clock_text.h"

#include <cstdio>
#include <cstdlib>

namespace zavi::commission {

namespace {

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
long long days_from_civil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

long long as_utc_seconds(const std::tm& t) {
    return days_from_civil(t.tm_year + 1900LL, t.tm_mon + 1, t.tm_mday) * 86400 +
           t.tm_hour * 3600LL + t.tm_min * 60LL + t.tm_sec;
}

}  // namespace

// The offset comes from comparing local and UTC time, since strftime's %z gives a zone name
// instead of +hhmm on some C libraries (Windows).
std::string local_time_text(std::time_t t) {
    std::tm local{}, utc{};
#ifdef _WIN32
    localtime_s(&local, &t);
    gmtime_s(&utc, &t);
#else
    localtime_r(&t, &local);
    gmtime_r(&t, &utc);
#endif
    const long long offset_min = (as_utc_seconds(local) - as_utc_seconds(utc)) / 60;
    // Real offsets lie within a day; the bound keeps the text short whatever the C library says.
    const int magnitude = static_cast<int>(std::llabs(offset_min) % (24 * 60));
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d",
                  local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min, local.tm_sec, offset_min < 0 ? '-' : '+', magnitude / 60,
                  magnitude % 60);
    return text;
}

std::string local_time_now() {
    return local_time_text(std::time(nullptr));
}

}  // namespace zavi::commission
