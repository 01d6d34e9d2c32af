// Every user action against a simulated module on a realistic line, on virtual time: each must
// take exactly as long as the line allows. A read that waits longer than the answer needs (a
// fixed-size read waiting out its time-out, a needless extra read) shows up as extra time.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "bench/actions.h"
#include "bench/line_bound.h"
#include "bench/wire_meter.h"
#include "link/connection.h"
#include "link/records.h"
#include "sim/request_decoder.h"

namespace zavi::bench {
namespace {

class ActionTiming : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_all_records();
        set_link_timeouts(nullptr, kReadTimeoutMs, kWriteTimeoutMs);
        sim::Scenario s = bench_scenario();
        s.timing.realistic = true;
        s.virtual_time = true;
        module_ = std::make_unique<sim::SimDriver>(s);
        meter_ = std::make_unique<WireMeter>(*module_);
        set_driver(meter_.get());
    }
    void TearDown() override {
        close_module();
        set_driver(nullptr);
    }

    std::unique_ptr<sim::SimDriver> module_;
    std::unique_ptr<WireMeter> meter_;
};

TEST_F(ActionTiming, EveryActionTakesExactlyItsLineBound) {
    const sim::Timing line = module_->scenario().timing;
    for (const Action& a : user_actions()) {
        SCOPED_TRACE(a.name);
        if (!a.opens) {
            ASSERT_TRUE(open_module());
        }
        a.prepare(&module_->state(), a.size);
        meter_->clear();
        const uint64_t start = module_->now_us();
        ASSERT_EQ(a.run(a.size), LinkResult::ok);
        const uint64_t took = module_->now_us() - start;

        uint64_t bound = 0;
        for (const Exchange& e : meter_->exchanges()) {
            bound += exchange_bound_us(e.request, e.answer, line);
            // Every answer is read in full and nothing beyond it: a frame ends with its end
            // byte, an acknowledgement is 5 bytes.
            if (sim::is_write_command(e.command)) {
                EXPECT_EQ(e.answer, 5u) << int(e.command);
            }
        }
        ASSERT_FALSE(meter_->exchanges().empty());
        EXPECT_EQ(took, bound);
    }
}

TEST_F(ActionTiming, ExchangesFollowTheListSizes) {
    struct Case {
        std::string name;
        std::size_t exchanges;
    };
    // Reads: accept-all, emergency numbers, then blocks until one holds fewer than 36 numbers
    // (40 numbers: 36 + 4; 260: eight blocks, the last with 8). Saves always send all 8 blocks.
    const Case cases[] = {
        {"Start-up (discovery, version, first read)", 5},
        {"Telephone numbers: read, 0", 3},
        {"Telephone numbers: read, 40", 4},
        {"Telephone numbers: read, 260", 10},
        {"Telephone numbers: Save, 0", 10},
        {"Telephone numbers: Save, 260", 10},
        {"I/O names: read", 2},
    };
    const auto actions = user_actions();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Action* found = nullptr;
        for (const Action& a : actions) {
            if (a.name == c.name) found = &a;
        }
        ASSERT_NE(found, nullptr);
        if (!found->opens) {
            ASSERT_TRUE(open_module());
        }
        found->prepare(&module_->state(), found->size);
        meter_->clear();
        ASSERT_EQ(found->run(found->size), LinkResult::ok);
        EXPECT_EQ(meter_->exchanges().size(), c.exchanges);
    }
}

TEST_F(ActionTiming, ConfigurationRestoreWritesOnlyWhatDiffers) {
    struct Case {
        std::string name;
        std::vector<uint8_t> after_read;  // the commands after the full read of 17 exchanges
    };
    // The full read: seven one-frame records, eight blocks of the 260 numbers, two name halves.
    const Case cases[] = {
        {"Configuration: backup, 260 numbers", {}},
        {"Configuration: restore, equal file", {}},
        {"Configuration: restore, one record", {21, 20}},  // Auto-Reset written, then read back
        // The differences shown and the write come from one read.
        {"Configuration: the program's Restore", {21, 20}},
    };
    const auto actions = user_actions();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Action* found = nullptr;
        for (const Action& a : actions)
            if (a.name == c.name) found = &a;
        ASSERT_NE(found, nullptr);
        ASSERT_TRUE(open_module());
        found->prepare(&module_->state(), found->size);
        meter_->clear();
        ASSERT_EQ(found->run(found->size), LinkResult::ok);
        const std::vector<Exchange>& e = meter_->exchanges();
        ASSERT_EQ(e.size(), 17 + c.after_read.size());
        for (std::size_t i = 0; i < 17; ++i) EXPECT_FALSE(sim::is_write_command(e[i].command)) << i;
        for (std::size_t i = 0; i < c.after_read.size(); ++i)
            EXPECT_EQ(e[17 + i].command, c.after_read[i]);
    }
}

}  // namespace
}  // namespace zavi::bench
