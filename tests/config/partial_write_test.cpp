// A restore whose write fails at each frame of each record: what the report says went out,
// record by record, against what the simulated module took (its journal), and what it holds.
#include <gtest/gtest.h>

#include "config/operations.h"
#include "config/restore_report.h"
#include "sim/demo_scenario.h"
#include "tests/support/sim_fixture.h"

namespace zavi::config {
namespace {

struct Writer {
    Record record;
    uint8_t command;
    int half;  // the first data byte that tells the I/O name halves apart, -1 otherwise
};

// Every record but the SIM codes, in writing order.
constexpr Writer kWriters[] = {
    {Record::alarm_settings, 7, -1},     {Record::alarm_procedures, 12, -1},
    {Record::call_answer, 23, -1},       {Record::auto_status, 27, -1},
    {Record::auto_reset, 21, -1},        {Record::accept_all, 19, -1},
    {Record::emergency_numbers, 14, -1}, {Record::accepted_numbers, 17, -1},
    {Record::io_names_first, 25, 0},     {Record::io_names_second, 25, 1},
};

class PartialWrite : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        state() = sim::demo_scenario().modules[0].state;
        ASSERT_EQ(read_configuration(handle(), false, {}, &before_, nullptr), kOk);
        file_ = before_;
        // Every record differs; the list fills three blocks (36 + 36 + 28).
        file_.alarm_settings.battery = 35;
        file_.procedures[4].clip = !file_.procedures[4].clip;
        file_.call_answer.out2 = 2;
        file_.auto_status.period_days = 5;
        file_.auto_reset_days = 2;
        file_.accept_all = !file_.accept_all;
        file_.emergency_numbers.pop_back();
        file_.accepted_numbers.clear();
        for (int i = 0; i < 100; ++i)
            file_.accepted_numbers.push_back("4860000" + std::to_string(1000 + i));
        file_.io_names[0] = "first half";
        file_.io_names[10] = "second half";
        sim().clear_journal();
    }
    int journaled(const Writer& w) const {
        int n = 0;
        for (const auto& e : frames(w.command))
            if (e.valid && (w.half < 0 || (!e.data.empty() && e.data[0] == w.half))) ++n;
        return n;
    }
    RestoreReport restore(const RestoreOptions& extra = {}) {
        RestoreOptions options = extra;
        options.save_backup = [](const Configuration&, std::string* path, std::string*) {
            *path = "/backups/before.zavi.json";
            return true;
        };
        return restore_configuration(handle(), file_, options, {});
    }
    Configuration before_, file_;
};

TEST_F(PartialWrite, ReportMatchesTheJournalForAFailureAtEveryFrame) {
    for (const sim::FaultKind kind : {sim::FaultKind::no_answer, sim::FaultKind::unplug}) {
        for (std::size_t failing = 0; failing < std::size(kWriters); ++failing) {
            const Writer& f = kWriters[failing];
            const int blocks = f.record == Record::accepted_numbers ? 8 : 1;
            for (int block = 0; block < blocks; ++block) {
                SetUp();
                const int sub = f.command == 17 ? block : f.half;
                add_fault(kind, f.command, sub);
                const std::string row =
                    std::string(kind == sim::FaultKind::unplug ? "unplug " : "") +
                    record_name(f.record) + " block " + std::to_string(block + 1);
                const RestoreReport r = restore();
                ASSERT_EQ(r.outcome, RestoreOutcome::write_failed) << row;
                EXPECT_EQ(r.failed, f.record) << row;
                ASSERT_EQ(r.writes.size(), std::size(kWriters)) << row;
                for (std::size_t i = 0; i < std::size(kWriters); ++i) {
                    const RecordWrite& w = r.writes[i];
                    const int took = journaled(kWriters[i]);
                    EXPECT_EQ(w.record, kWriters[i].record) << row;
                    if (i < failing) {
                        EXPECT_EQ(w.state, WriteState::written) << row;
                        EXPECT_EQ(took, w.blocks) << row;
                    } else if (i > failing) {
                        EXPECT_EQ(w.state, WriteState::not_written) << row << ", " << i;
                        EXPECT_EQ(took, 0) << row << ": sent after the failure";
                    } else {
                        // The failed frame went out: never "not written".
                        EXPECT_EQ(w.state,
                                  block == 0 ? WriteState::unknown : WriteState::partly_written)
                            << row;
                        EXPECT_EQ(w.acknowledged, block) << row;
                        EXPECT_TRUE(w.unanswered) << row;
                        // 100 numbers fill three blocks: from the fourth on they are all in.
                        EXPECT_EQ(r.numbers_all_in, i == 7 && block >= 3) << row;
                        // The module took the unanswered frame.
                        EXPECT_EQ(took, block + 1) << row;
                    }
                }
                // The one read after the failure, when the module still answers.
                if (kind == sim::FaultKind::unplug) {
                    EXPECT_EQ(r.held_now, HeldNow::unreadable) << row;
                } else {
                    const bool list = f.record == Record::accepted_numbers;
                    // The list is the file's once its third block (the last with numbers) is in.
                    EXPECT_EQ(r.held_now,
                              list && block < 2 ? HeldNow::other_value : HeldNow::file_value)
                        << row;
                    if (list) {
                        EXPECT_EQ(r.numbers_now, state().accepted_numbers.size()) << row;
                    }
                }
                const auto lines = write_report_lines(r);
                ASSERT_FALSE(lines.empty());
                EXPECT_EQ(lines.back(),
                          "the way back, what the module held before: zavi-gsm-cli restore "
                          "/backups/before.zavi.json")
                    << row;
                TearDown();
            }
        }
    }
}

// The lines for 150 numbers failing at block 3: blocks 1-2 acknowledged, block 3 unknown.
TEST_F(PartialWrite, ListFailingAtItsThirdBlockIsToldAsPartlyWritten) {
    for (int i = 100; i < 150; ++i)
        file_.accepted_numbers.push_back("4860000" + std::to_string(1000 + i));
    add_fault(sim::FaultKind::no_answer, 17, -1, 2);
    const RestoreReport r = restore();
    EXPECT_EQ(failed_write_line(r),
              "writing accepted_numbers failed: the module did not acknowledge block 3 of 8");
    const std::vector<std::string> lines = write_report_lines(r);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0],
              "written: alarm_settings, alarm_procedures, call_answer, auto_status, auto_reset, "
              "accept_all, emergency_numbers");
    EXPECT_EQ(lines[1],
              "partly written: accepted_numbers (blocks 1-2 of 8 acknowledged, block 3 sent "
              "without an acknowledgement and may or may not be stored; the module's list is now "
              "incomplete)");
    EXPECT_EQ(lines[2], "not written: io_names (1-6), io_names (7-12)");
    // 36 + 36 new numbers and the 36 of block 3, which the module took unanswered.
    EXPECT_EQ(state().accepted_numbers.size(), 108u);
    EXPECT_EQ(lines[3],
              "read back after the failure: accepted_numbers holds neither the file's values nor "
              "its previous ones (108 numbers)");
}

// A stop between frames sends nothing more and reads nothing back.
TEST_F(PartialWrite, StopBetweenBlocksSendsNothingAfterTheFrameInFlight) {
    for (const int stop_after : {0, 1, 3, 7}) {
        SetUp();
        RestoreOptions options;
        options.stop = [this, stop_after] { return journaled(kWriters[7]) > stop_after; };
        const RestoreReport r = restore(options);
        const std::string row = "stop after block " + std::to_string(stop_after + 1);
        EXPECT_EQ(r.outcome, RestoreOutcome::interrupted) << row;
        ASSERT_EQ(r.writes.size(), std::size(kWriters)) << row;
        // After the eighth block the list is whole; the stop comes before the names.
        EXPECT_EQ(r.writes[7].state,
                  stop_after == 7 ? WriteState::written : WriteState::partly_written)
            << row;
        EXPECT_EQ(r.writes[7].acknowledged, stop_after + 1) << row;
        EXPECT_FALSE(r.writes[7].unanswered) << row;
        EXPECT_EQ(r.writes[8].state, WriteState::not_written) << row;
        EXPECT_EQ(r.held_now, HeldNow::not_read) << row;
        // The last frame the module received is that block: no read-back, no further write.
        ASSERT_FALSE(sim().journal().empty());
        EXPECT_EQ(sim().journal().back().command, 17) << row;
        EXPECT_EQ(journaled(kWriters[7]), stop_after + 1) << row;
        TearDown();
    }
}

}  // namespace
}  // namespace zavi::config

namespace zavi::config {
namespace {

// A stop before the writes leaves the module untouched and saves no backup; one while reading
// back leaves the rest unchecked and sends nothing more.
TEST_F(PartialWrite, StopWhileReadingTouchesNothingAndWhileCheckingReadsNoMore) {
    const struct {
        const char* name;
        std::size_t after_frames;  // the stop is seen once the module has had this many
        bool written;
    } cases[] = {
        {"at once", 0, false},
        {"during the first read", 3, false},
        // The read (10 frames, the demo's list in one block), the writes (9 + 8 blocks), one read
        // back.
        {"during the read-back", 10 + 17 + 1, true},
    };
    for (const auto& c : cases) {
        SetUp();
        bool backup_saved = false;
        RestoreOptions options;
        options.stop = [&] { return sim().journal().size() >= c.after_frames; };
        options.save_backup = [&](const Configuration&, std::string* path, std::string*) {
            backup_saved = true;
            *path = "/b";
            return true;
        };
        const RestoreReport r = restore_configuration(handle(), file_, options, {});
        EXPECT_EQ(r.outcome, RestoreOutcome::interrupted) << c.name;
        EXPECT_EQ(sim().journal().size(), c.after_frames) << c.name;
        EXPECT_EQ(backup_saved, c.written) << c.name;
        if (c.written) {
            EXPECT_EQ(r.written.size(), std::size(kWriters)) << c.name;
            EXPECT_EQ(r.unchecked.size(), std::size(kWriters) - 1) << c.name;
        } else {
            EXPECT_TRUE(r.writes.empty()) << c.name;
            EXPECT_EQ(state(), sim::demo_scenario().modules[0].state) << c.name;
        }
        TearDown();
    }
}

}  // namespace
}  // namespace zavi::config
