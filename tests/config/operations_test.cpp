// Backup and restore against the simulated module: the values as the program normalises them,
// only differing records written, the accepted list under the long time-out, and a failed
// write stopping at once.
#include <gtest/gtest.h>

#include <functional>

#include "config/operations.h"
#include "config/record_values.h"
#include "sim/demo_scenario.h"
#include "tests/support/sim_fixture.h"

namespace zavi::config {
namespace {

constexpr uint8_t kWriteCommands[] = {7, 12, 23, 27, 21, 19, 14, 17, 25, 10};

class ConfigOperations : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        state() = sim::demo_scenario().modules[0].state;
    }
    Configuration read_all(bool with_sim = false) {
        Configuration c;
        EXPECT_EQ(read_configuration(handle(), with_sim, {}, &c, nullptr), kOk);
        return c;
    }
    std::vector<uint8_t> writes() const {
        std::vector<uint8_t> out;
        for (const uint8_t c : commands_received())
            for (const uint8_t w : kWriteCommands)
                if (c == w) out.push_back(c);
        return out;
    }
};

TEST_F(ConfigOperations, ReadNormalisesAsTheProgramDoes) {
    sim::ModuleState& m = state();
    m.alarm_settings = {0xA5, 1, 0, 7, 0, 200, 3, 0, 40, 0, 1, 10, 0, 150};
    m.call_answer_sms = 5, m.call_answer_reactions = 0x9F;
    m.accept_all = 2;
    m.auto_status = 0xB7;  // sms, bits 5-4 set, period 7
    m.auto_reset = 9;
    m.io_names[3] = std::string(44, 'n');
    m.actions[8] = 0xFF;
    m.pin = 0x0042, m.puk = 0xFFFFFFFF;

    const Configuration c = read_all(true);
    EXPECT_EQ(c.alarm_settings.input_modes, 0x05);
    EXPECT_EQ(c.alarm_settings.high_bits, 0x0A);
    EXPECT_EQ(c.alarm_settings.t1_high, 0);    // "minus zero"
    EXPECT_EQ(c.alarm_settings.t1_low, 120);   // shown at the nearest end, as the panel does
    EXPECT_EQ(c.alarm_settings.battery, 100);  // read as 100
    EXPECT_TRUE(c.call_answer.sms);
    EXPECT_EQ(c.call_answer.out1, 15);
    EXPECT_EQ(c.call_answer.out2, 9);
    EXPECT_TRUE(c.accept_all);
    EXPECT_EQ(c.auto_status, (AutoStatusValue{true, false, 7}));
    EXPECT_EQ(c.auto_reset_days, 9);
    EXPECT_EQ(c.io_names[3], std::string(40, 'n'));
    EXPECT_EQ(c.procedures[8], (ProcedureValue{true, true, 3, 3, 3}));
    ASSERT_TRUE(c.sim_codes);
    EXPECT_EQ(c.sim_codes->pin, "0042");
    EXPECT_EQ(c.sim_codes->puk, std::nullopt);
    EXPECT_EQ(c.emergency_numbers, (std::vector<std::string>{"48600100200", "48502345678"}));
    EXPECT_EQ(sim().journal().size(), 11u);  // 11 records, the accepted list in one block
}

struct OneChange {
    const char* name;
    std::function<void(Configuration&)> change;
    uint8_t write, verify;
};

class RestoreOneChange : public ConfigOperations,
                         public ::testing::WithParamInterface<OneChange> {};

TEST_P(RestoreOneChange, SendsExactlyThatWriteAndItsVerificationRead) {
    Configuration file = read_all();
    GetParam().change(file);
    sim().clear_journal();
    int backups = 0;
    RestoreOptions options;
    options.save_backup = [&](const Configuration&, std::string* path, std::string*) {
        ++backups;
        *path = "/backups/x.zavi.json";
        return true;
    };
    const RestoreReport r = restore_configuration(handle(), file, options, {});
    EXPECT_EQ(r.outcome, RestoreOutcome::verified);
    EXPECT_EQ(backups, 1);
    const std::vector<uint8_t> all = commands_received();
    const std::vector<uint8_t> written = writes();
    ASSERT_FALSE(written.empty());
    EXPECT_TRUE(std::all_of(written.begin(), written.end(),
                            [&](uint8_t c) { return c == GetParam().write; }));
    // The verification read follows the writes and is the last frame.
    EXPECT_EQ(all.back(), GetParam().verify);
    EXPECT_EQ(read_all(), file);
}

const OneChange kOneChanges[] = {
    {"threshold", [](Configuration& c) { c.alarm_settings.t2_low = -20; }, 7, 6},
    {"procedure", [](Configuration& c) { c.procedures[4].clip = true; }, 12, 11},
    {"call_answer", [](Configuration& c) { c.call_answer.out2 = 2; }, 23, 22},
    {"auto_status", [](Configuration& c) { c.auto_status.period_days = 5; }, 27, 26},
    {"auto_reset", [](Configuration& c) { c.auto_reset_days = 2; }, 21, 20},
    {"accept_all", [](Configuration& c) { c.accept_all = true; }, 19, 18},
    {"emergency", [](Configuration& c) { c.emergency_numbers.pop_back(); }, 14, 13},
    {"accepted", [](Configuration& c) { c.accepted_numbers.push_back("4930123456789"); }, 17, 16},
    {"second_names", [](Configuration& c) { c.io_names[10] = "Licht \xC3\xA4n"; }, 25, 24},
};

INSTANTIATE_TEST_SUITE_P(Table, RestoreOneChange, ::testing::ValuesIn(kOneChanges),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConfigOperations, EqualFileWritesNothingAndSavesNoBackup) {
    const Configuration file = read_all();
    sim().clear_journal();
    RestoreOptions options;
    options.save_backup = [](const Configuration&, std::string*, std::string*) {
        ADD_FAILURE() << "no backup when nothing differs";
        return true;
    };
    EXPECT_EQ(restore_configuration(handle(), file, options, {}).outcome,
              RestoreOutcome::already_equal);
    EXPECT_TRUE(writes().empty());
}

TEST_F(ConfigOperations, AcceptedListGoesOutInEightBlocksUnderTheLongTimeOut) {
    Configuration file = read_all();
    file.accepted_numbers.clear();
    for (int i = 0; i < 260; ++i)
        file.accepted_numbers.push_back("4860000" + std::to_string(1000 + i));
    sim().clear_journal();
    const std::size_t calls_before = sim().timeout_calls().size();
    const RestoreReport r = restore_configuration(handle(), file, {}, {});
    EXPECT_EQ(r.outcome, RestoreOutcome::verified);
    EXPECT_EQ(frames(17).size(), 8u);
    const auto& calls = sim().timeout_calls();
    ASSERT_EQ(calls.size(), calls_before + 2);
    EXPECT_EQ(calls[calls_before].read_ms, 3000u);
    EXPECT_EQ(calls.back().read_ms, 1000u);
    EXPECT_EQ(state().accepted_numbers.size(), 260u);
}

TEST_F(ConfigOperations, FailedWriteStopsAtOnceAndSaysWhatWasAndWasNotWritten) {
    Configuration file = read_all();
    file.alarm_settings.battery = 35;  // written first
    file.auto_status.clip = true;      // fails
    file.io_names[0] = "never sent";   // not reached
    add_fault(sim::FaultKind::no_answer, 27);
    std::vector<ProgressEvent> steps;
    RestoreOptions options;
    options.save_backup = [](const Configuration&, std::string* path, std::string*) {
        *path = "/b";
        return true;
    };
    const RestoreReport r = restore_configuration(
        handle(), file, options, [&](const ProgressEvent& e) { steps.push_back(e); });
    EXPECT_EQ(r.outcome, RestoreOutcome::write_failed);
    EXPECT_EQ(r.failed, Record::auto_status);
    EXPECT_EQ(r.written, std::vector<Record>{Record::alarm_settings});
    EXPECT_EQ(r.not_written, (std::vector<Record>{Record::auto_status, Record::io_names_first}));
    EXPECT_EQ(r.backup_path, "/b");
    EXPECT_TRUE(frames(25).empty());
    EXPECT_EQ(state().alarm_settings[13], 35);
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back().step, Step::writing);
}

TEST_F(ConfigOperations, NoBackupSavedMeansNothingWritten) {
    Configuration file = read_all();
    file.auto_reset_days = 4;
    RestoreOptions options;
    options.save_backup = [](const Configuration&, std::string*, std::string* why) {
        *why = "disk full";
        return false;
    };
    EXPECT_EQ(restore_configuration(handle(), file, options, {}).outcome,
              RestoreOutcome::backup_failed);
    EXPECT_TRUE(writes().empty());
}

TEST_F(ConfigOperations, AcceptedBlocksReportBlockIOfN) {
    state().accepted_numbers.assign(100, {0x48, 0x60, 0x01, 0x00, 0x20, 0x0F, 0xFF});
    std::vector<int> blocks;
    Configuration c;
    ASSERT_EQ(read_configuration(
                  handle(), false,
                  [&](const ProgressEvent& e) {
                      if (e.record == Record::accepted_numbers) {
                          EXPECT_EQ(e.blocks, 8);
                          blocks.push_back(e.block);
                      }
                  },
                  &c, nullptr),
              kOk);
    EXPECT_EQ(blocks, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(c.accepted_numbers.size(), 100u);
}

}  // namespace
}  // namespace zavi::config
