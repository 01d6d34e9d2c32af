// The shared fixture: one module on virtual time, opened like the program opens it.
#include "tests/support/sim_fixture.h"

#include "tests/sim/wire_helpers.h"

namespace zavi {
namespace {

using FixtureTest = SimTest;

TEST_F(FixtureTest, OpensModuleZeroWithTheProgramsTimeoutsAndSharesTheHandle) {
    EXPECT_EQ(driver(), &sim());
    EXPECT_EQ(device_handle, handle());
    EXPECT_EQ(sim().open_handles(), 1);
    ASSERT_EQ(sim().timeout_calls().size(), 1u);
    EXPECT_EQ(sim().timeout_calls()[0].read_ms, kReadTimeoutMs);
    EXPECT_EQ(sim().timeout_calls()[0].write_ms, kWriteTimeoutMs);
}

TEST_F(FixtureTest, JournalHelpersSeeWhatTheModuleReceived) {
    add_fault(sim::FaultKind::no_answer, 21);
    const sim::Bytes first = sim::request_wire(8, {0}), second = sim::request_wire(21, {2}),
                     third = sim::request_wire(8, {2});
    uint32_t n = 0;
    for (const auto* w : {&first, &second, &third})
        driver()->write(handle(), w->data(), uint32_t(w->size()), &n);
    EXPECT_EQ(commands_received(), (std::vector<uint8_t>{8, 21, 8}));
    EXPECT_EQ(frames(8).size(), 2u);
    ASSERT_NE(last_frame(8), nullptr);
    EXPECT_EQ(last_frame(8)->data, std::vector<uint8_t>{2});
    EXPECT_EQ(last_frame(6), nullptr);
    EXPECT_EQ(state().auto_reset, 2);
}

}  // namespace
}  // namespace zavi
