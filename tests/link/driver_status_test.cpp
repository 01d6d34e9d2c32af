// The first checks of every driver's read and write.
#include "link/driver_status.h"

#include <gtest/gtest.h>

namespace zavi {
namespace {

TEST(DriverStatus, TransfersAreCheckedAlikeAndTheCountIsZeroed) {
    char byte = 0;
    const struct {
        bool open;
        const void* buffer;
        uint32_t count;
        bool with_done;
        DriverStatus expected;
    } cases[] = {
        {true, &byte, 1, true, kDriverOk},
        {true, nullptr, 0, true, kDriverOk},  // nothing to move needs no buffer
        {false, &byte, 1, true, kDriverInvalidHandle},
        {false, &byte, 1, false, kDriverInvalidHandle},  // the handle is checked first
        {true, nullptr, 1, true, kDriverInvalidParameter},
        {true, &byte, 1, false, kDriverInvalidParameter},
    };
    for (const auto& c : cases) {
        uint32_t done = 99;
        EXPECT_EQ(check_transfer(c.open, c.buffer, c.count, c.with_done ? &done : nullptr),
                  c.expected);
        if (c.with_done) {
            EXPECT_EQ(done, 0u);
        }
    }
}

}  // namespace
}  // namespace zavi
