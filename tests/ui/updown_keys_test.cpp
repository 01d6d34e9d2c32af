#include "ui/updown_keys.h"

#include <climits>

#include <gtest/gtest.h>

namespace zavi {
namespace {

TEST(UpDownKeys, PagesStayInsideTheRange) {
    struct Case {
        int position, low, high, pages, expected;
    };
    const Case cases[] = {
        {30, -55, 120, -1, 20},
        {30, -55, 120, -3, 0},
        {20, -55, 120, 1, 30},
        {-50, -55, 120, -1, -55},
        {115, -55, 120, 1, 120},
        {120, -55, 120, 1, 120},
        {-55, -55, 120, -1, -55},
        {5, 0, 100, -1, 0},
        {95, 0, 100, 1, 100},
        {500, 0, 100, -1, 90},
        {-500, 0, 100, 1, 10},
        {50, 100, 0, 1, 40},
        {50, 100, 0, -1, 60},
        {0, INT_MIN, INT_MAX, INT_MAX, INT_MAX},
        {0, INT_MIN, INT_MAX, INT_MIN, INT_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(updown_paged_position(c.position, c.low, c.high, c.pages), c.expected)
            << c.position << " in " << c.low << ".." << c.high << " by " << c.pages;
}

}  // namespace
}  // namespace zavi
