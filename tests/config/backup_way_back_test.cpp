// The automatic backup is a way back even when the module held what the program would refuse
// to write: restoring it gives the module back exactly, and a hand-made copy of it is refused.
#include <gtest/gtest.h>

#include "config/config_file.h"
#include "config/files.h"
#include "config/operations.h"
#include "sim/demo_scenario.h"
#include "tests/support/sim_fixture.h"
#include "tests/support/temp_dir.h"

namespace zavi::config {
namespace {

class BackupWayBack : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        sim::ModuleState& m = state();
        m = sim::demo_scenario().modules[0].state;
        m.accepted_numbers.push_back(m.accepted_numbers[0]);  // the ADD dialog allows it
        m.emergency_numbers.push_back({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
        m.alarm_settings[5] = m.alarm_settings[2];  // thermometer 1: low = high
        m.alarm_settings[6] = 0;
        m.io_names[2] = "Win\x01dow";
        m.pin = 0x12A4;
    }
};

TEST_F(BackupWayBack, RestoringTheAutomaticBackupGivesTheOddModuleBackExactly) {
    const sim::ModuleState original = state();
    Configuration clean;
    ASSERT_EQ(read_configuration(handle(), true, {}, &clean, nullptr), kOk);
    clean.accepted_numbers.pop_back();
    clean.emergency_numbers.pop_back();
    clean.alarm_settings.t1_low = clean.alarm_settings.t1_high - 10;
    clean.io_names[2] = "Window";
    clean.sim_codes->pin = "1111";
    clean.saved_at = "2026-12-09T04:00:00Z";
    ASSERT_TRUE(check_configuration(clean).empty());

    test::TempDir dir;
    const std::string folder = (dir.path() / "backups").string();
    RestoreOptions options;
    options.with_sim_codes = true;
    options.save_backup = [&folder](const Configuration& m, std::string* path, std::string* why) {
        return save_automatic_backup(folder, m, path, why);
    };
    const RestoreReport changed = restore_configuration(handle(), clean, options, {});
    ASSERT_EQ(changed.outcome, RestoreOutcome::verified);
    ASSERT_NE(state(), original);

    Configuration backup;
    FileError error;
    std::vector<FileError> warnings;
    FileOrigin origin = FileOrigin::hand_made;
    const std::string text = test::read_file(changed.backup_path);
    ASSERT_TRUE(parse_configuration(text, &backup, &error, &warnings, &origin))
        << error.path << ": " << error.message;
    EXPECT_EQ(origin, FileOrigin::module_backup);
    std::vector<std::string> paths;
    for (const FileError& w : warnings) paths.push_back(w.path);
    EXPECT_EQ(paths, (std::vector<std::string>{"alarm_settings.thermometer1_high",
                                               "emergency_numbers[2]", "accepted_numbers[3]",
                                               "io_names.in2_open", "sim_codes.pin"}));

    const RestoreReport back = restore_configuration(handle(), backup, options, {});
    EXPECT_EQ(back.outcome, RestoreOutcome::verified);
    EXPECT_EQ(state(), original);

    // The same file without its origin is a hand-made one, and the strict rules hold.
    std::string hand_made = text;
    hand_made.erase(hand_made.find("  \"origin\": \"module backup\",\n"), 30);
    EXPECT_FALSE(parse_configuration(hand_made, &backup, &error, &warnings));
    EXPECT_EQ(error.path, "alarm_settings.thermometer1_high");
}

}  // namespace
}  // namespace zavi::config
