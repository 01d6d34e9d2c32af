// Local time with its UTC offset, in zones east and west of Greenwich and across a summer-time
// change: the offset printed must match the difference between the local and the UTC clock.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "commission/clock_text.h"

namespace zavi::commission {
namespace {

class ZoneGuard {
  public:
    explicit ZoneGuard(const char* zone) {
        const char* old = std::getenv("TZ");
        had_ = old != nullptr;
        if (had_) old_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneGuard() {
        if (had_)
            setenv("TZ", old_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

  private:
    bool had_ = false;
    std::string old_;
};

TEST(ClockText, OffsetInEachZone) {
    struct Row {
        const char* zone;
        std::time_t t;
        const char* text;
    };
    const Row rows[] = {
        {"UTC0", 1'796'774'400, "2026-12-09T00:00:00+00:00"},
        {"CET-1CEST,M3.5.0,M10.5.0/3", 1'796'774'400, "2026-12-09T01:00:00+01:00"},
        {"CET-1CEST,M3.5.0,M10.5.0/3", 1'782'000'000, "2026-06-21T02:00:00+02:00"},
        {"IST-5:30", 1'796'774'400, "2026-12-09T05:30:00+05:30"},
        {"NST3:30", 1'796'774'400, "2026-12-08T20:30:00-03:30"},
        {"HST10", 1'796'774'400, "2026-12-08T14:00:00-10:00"},
    };
    for (const Row& row : rows) {
        ZoneGuard zone(row.zone);
        EXPECT_EQ(local_time_text(row.t), row.text) << row.zone;
    }
}

}  // namespace
}  // namespace zavi::commission
