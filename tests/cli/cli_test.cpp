// zavi-gsm-cli end to end against the simulated module: a backup restores the module, diff
// and invalid files give their exit codes, a failed write is reported with the automatic
// backup, CSV import and export, and dry runs write nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/cli.h"
#include "link/records.h"
#include "sim/answer_builder.h"
#include "sim/demo_scenario.h"
#include "sim/simulator.h"
#include "tests/support/temp_dir.h"

namespace zavi::cli {
namespace {

using test::read_file;
using test::write_file;

constexpr uint8_t kWriteCommands[] = {7, 10, 12, 14, 15, 17, 19, 21, 23, 25, 27};

class Cli : public ::testing::Test {
  protected:
    Cli() : module_(sim::demo_scenario()) {}
    void TearDown() override { set_driver(nullptr); }

    int run_cli(std::vector<std::string> args) {
        out_.str(""), err_.str("");
        Environment env{out_, err_};
        env.test_module = &module_;
        env.backup_folder = (dir_.path() / "backups").string();
        args.insert(args.begin(), "--sim");
        return run(args, env);
    }
    std::string file(const char* name) const { return dir_.file(name); }
    sim::ModuleState& state() { return module_.state(); }
    std::size_t writes() const {
        std::size_t n = 0;
        for (const auto& e : module_.journal())
            for (const uint8_t w : kWriteCommands) n += e.command == w;
        return n;
    }
    std::vector<std::filesystem::path> backups() const {
        std::vector<std::filesystem::path> out;
        if (std::filesystem::exists(dir_.path() / "backups"))
            for (const auto& e : std::filesystem::directory_iterator(dir_.path() / "backups"))
                out.push_back(e.path());
        return out;
    }

    std::size_t frames(uint8_t command) const {
        std::size_t n = 0;
        for (const auto& e : module_.journal()) n += e.command == command;
        return n;
    }

    sim::SimDriver module_;
    test::TempDir dir_;
    std::ostringstream out_, err_;
};

TEST_F(Cli, BackupChangeRestoreGivesTheOriginalModuleBack) {
    const sim::ModuleState original = state();
    ASSERT_EQ(run_cli({"backup", file("a.zavi.json"), "--with-sim-codes"}), kExitDone)
        << err_.str();
    EXPECT_EQ(writes(), 0u);

    state().alarm_settings[2] = 55;
    state().actions[0] = 0x0F;
    state().accepted_numbers.pop_back();
    state().io_names[7] = "changed";
    state().pin = 0x9999;
    EXPECT_EQ(run_cli({"diff", file("a.zavi.json")}), kExitDifferent);
    EXPECT_NE(out_.str().find("alarm_settings.thermometer1_high: 55 -> 30"), std::string::npos);
    EXPECT_NE(out_.str().find("accepted_numbers: 1 added, 0 removed\n+491234446570\n"),
              std::string::npos)
        << out_.str();

    ASSERT_EQ(run_cli({"restore", file("a.zavi.json"), "--with-sim-codes"}), kExitDone)
        << err_.str();
    EXPECT_NE(err_.str().find("restored and verified"), std::string::npos);
    EXPECT_NE(err_.str().find("SIM card"), std::string::npos);
    EXPECT_EQ(state(), original);
    ASSERT_EQ(backups().size(), 1u);
    EXPECT_NE(err_.str().find(backups()[0].string()), std::string::npos);
    EXPECT_NE(read_file(backups()[0].string()).find("\"changed\""), std::string::npos);

    module_.clear_journal();
    EXPECT_EQ(run_cli({"diff", file("a.zavi.json")}), kExitDone);
    EXPECT_EQ(out_.str(), "");
    EXPECT_EQ(run_cli({"restore", file("a.zavi.json")}), kExitDone);
    EXPECT_EQ(writes(), 0u);
    EXPECT_EQ(backups().size(), 1u);  // nothing differed: no new backup
}

TEST_F(Cli, DiffOfTwoFilesNeedsNoModuleAndJsonListsEachDifference) {
    ASSERT_EQ(run_cli({"backup", file("a.zavi.json")}), kExitDone);
    std::string text = read_file(file("a.zavi.json"));
    text.replace(text.find("\"accept_all\": false"), 19, "\"accept_all\": true");
    write_file(file("b.zavi.json"), text);
    module_.clear_journal();
    EXPECT_EQ(run_cli({"diff", file("a.zavi.json"), file("b.zavi.json"), "--json"}),
              kExitDifferent);
    EXPECT_EQ(
        out_.str(),
        "[\n  {\n    \"path\": \"accept_all\",\n    \"old\": false,\n    \"new\": true\n  }\n]\n");
    EXPECT_EQ(run_cli({"diff", file("a.zavi.json"), file("a.zavi.json")}), kExitDone);
    EXPECT_TRUE(module_.journal().empty());
}

TEST_F(Cli, DiffCountsARepeatedNumberInsteadOfCallingItOrder) {
    ASSERT_EQ(run_cli({"backup", file("a.zavi.json")}), kExitDone);
    state().accepted_numbers.push_back(state().accepted_numbers[0]);  // [A, B, C, A]
    EXPECT_EQ(run_cli({"diff", file("a.zavi.json")}), kExitDifferent);
    EXPECT_EQ(out_.str(), "accepted_numbers: 0 added, 1 removed\n-48600100200 (1 of 2)\n");
    EXPECT_EQ(run_cli({"diff", file("a.zavi.json"), "--json"}), kExitDifferent);
    EXPECT_NE(out_.str().find("\"old\": \"48600100200\",\n    \"new\": null,\n"
                              "    \"old_count\": 2,\n    \"new_count\": 1\n"),
              std::string::npos)
        << out_.str();
}

TEST_F(Cli, EveryInvalidFileGivesExitFiveWithoutAFrameSent) {
    ASSERT_EQ(run_cli({"backup", file("good.zavi.json")}), kExitDone);
    const std::string good = read_file(file("good.zavi.json"));
    auto changed = [&](const std::string& from, const std::string& to) {
        std::string t = good;
        t.replace(t.find(from), from.size(), to);
        return t;
    };
    struct Case {
        const char* name;
        std::string text;  // empty: the file does not exist
        const char* says;
    };
    const Case cases[] = {
        {"missing", "", "cannot be opened"},
        {"syntax", changed("\"version\": 1,", "\"version\": 1"), ":4:12:"},
        {"missing_record", changed("\"auto_reset\"", "\"auto_reset_x\""), "auto_reset: missing"},
        {"out_of_range", changed("\"battery_threshold\": 20", "\"battery_threshold\": 120"),
         "alarm_settings.battery_threshold"},
        {"bad_number", changed("\"491234446570\"", "\"+491234446570\""), "accepted_numbers[2]"},
        {"newer", changed("\"version\": 1", "\"version\": 3"), "newer program"},
        {"too_big", good + std::string(1 << 20, ' '), "larger than"},
        {"not_json", "\x89PNG\r\n", ":1:1:"},
    };
    for (const Case& c : cases) {
        const std::string path = file((std::string(c.name) + ".zavi.json").c_str());
        if (!c.text.empty()) write_file(path, c.text);
        for (const char* command : {"restore", "diff"}) {
            module_.clear_journal();
            EXPECT_EQ(run_cli({command, path}), kExitInvalidFile) << c.name;
            EXPECT_NE(err_.str().find(c.says), std::string::npos) << c.name << ": " << err_.str();
            EXPECT_TRUE(module_.journal().empty()) << c.name << ": a frame was sent";
        }
    }
    EXPECT_TRUE(backups().empty());
}

TEST_F(Cli, WriteFailingMidRestoreGivesExitFourAReportAndTheBackupPath) {
    ASSERT_EQ(run_cli({"backup", file("a.zavi.json")}), kExitDone);
    state().alarm_settings[13] = 50;
    state().call_answer_reactions = 0x22;
    state().io_names[0] = "x";
    module_.scenario().modules[0].faults.push_back(
        {sim::FaultKind::no_answer, 23, -1, 0, -1, 0, {}});
    EXPECT_EQ(run_cli({"restore", file("a.zavi.json")}), kExitCommunication);
    const std::string err = err_.str();
    EXPECT_NE(err.find("writing call_answer failed"), std::string::npos) << err;
    EXPECT_NE(err.find("written: alarm_settings\n"), std::string::npos) << err;
    // call_answer went out without an acknowledgement: it may be stored, so it is "unknown".
    EXPECT_NE(err.find("unknown: call_answer ("), std::string::npos) << err;
    EXPECT_NE(err.find("not written: io_names (1-6)\n"), std::string::npos) << err;
    ASSERT_EQ(backups().size(), 1u);
    EXPECT_NE(err.find(backups()[0].string()), std::string::npos);
    EXPECT_EQ(state().alarm_settings[13], 20);  // restored before the failure
    EXPECT_EQ(state().io_names[0], "x");        // never sent
}

TEST_F(Cli, ReadBackThatDiffersGivesExitSix) {
    ASSERT_EQ(run_cli({"backup", file("a.zavi.json")}), kExitDone);
    // The write is acknowledged, but the read-back answers with the value the module held.
    const uint8_t old_value[] = {4};
    const sim::OutgoingAnswer stale = sim::build_answer(20, false, old_value, {}, {});
    auto& faults = module_.scenario().modules[0].faults;
    state().auto_reset = 4;
    faults.push_back({sim::FaultKind::raw_answer, 20, -1, 1, 1, 0, stale.wire});
    EXPECT_EQ(run_cli({"restore", file("a.zavi.json")}), kExitVerifyFailed);
    EXPECT_NE(err_.str().find("reads back differently in: auto_reset"), std::string::npos)
        << err_.str();
}

TEST_F(Cli, ReadBackWithoutAnswerGivesExitFour) {
    ASSERT_EQ(run_cli({"backup", file("a.zavi.json")}), kExitDone);
    state().auto_reset = 4;
    // Counted from here: the restore's first read of the record, then the read-back.
    module_.scenario().modules[0].faults.push_back(
        {sim::FaultKind::no_answer, 20, -1, 1, 1, 0, {}});
    EXPECT_EQ(run_cli({"restore", file("a.zavi.json")}), kExitCommunication);
    EXPECT_NE(err_.str().find("reading back auto_reset failed"), std::string::npos) << err_.str();
}

TEST_F(Cli, DryRunsWriteNothing) {
    ASSERT_EQ(run_cli({"backup", file("a.zavi.json")}), kExitDone);
    state().auto_reset = 5;
    write_file(file("n.csv"), "number\n+48111222333\n");
    module_.clear_journal();
    EXPECT_EQ(run_cli({"restore", file("a.zavi.json"), "--dry-run"}), kExitDone);
    EXPECT_EQ(out_.str(), "auto_reset.period_days: 5 -> 0\nwould write: auto_reset\n");
    EXPECT_EQ(run_cli({"numbers", "import", file("n.csv"), "--dry-run"}), kExitDone);
    EXPECT_EQ(writes(), 0u);
    EXPECT_TRUE(backups().empty());
    EXPECT_EQ(state().auto_reset, 5);
}

TEST_F(Cli, NumbersExportAndImportWithGoodDuplicateAndBadRows) {
    ASSERT_EQ(run_cli({"numbers", "export", file("out.csv")}), kExitDone);
    EXPECT_EQ(read_file(file("out.csv")),
              "number\r\n+48600100200\r\n+48502345678\r\n+491234446570\r\n");

    write_file(file("in.csv"),
               "Number;Name\n+48 600 100 200;dup of list\n0049-30-1234567;ok\n"
               "12345;short\n+49301234567;dup in file\n");
    EXPECT_EQ(run_cli({"numbers", "import", file("in.csv")}), kExitDone) << err_.str();
    const std::string err = err_.str();
    EXPECT_NE(err.find("line 2: duplicate +48600100200 (already in the list)"), std::string::npos)
        << err;
    EXPECT_NE(err.find("line 4: rejected: fewer than 11 digits"), std::string::npos) << err;
    EXPECT_NE(err.find("line 5: duplicate +49301234567 (already earlier in the file)"),
              std::string::npos);
    EXPECT_NE(err.find("4 rows: 1 valid, 2 duplicate, 1 rejected"), std::string::npos) << err;
    ASSERT_EQ(state().accepted_numbers.size(), 4u);
    EXPECT_EQ(state().accepted_numbers[3], (sim::Number{0x49, 0x30, 0x12, 0x34, 0x56, 0x7F, 0xFF}));

    EXPECT_EQ(run_cli({"numbers", "import", file("in.csv"), "--replace"}), kExitDone) << err_.str();
    EXPECT_EQ(state().accepted_numbers.size(), 2u);

    write_file(file("bad.csv"), "x\nabc\n1\n");
    module_.clear_journal();
    EXPECT_EQ(run_cli({"numbers", "import", file("bad.csv")}), kExitInvalidFile);
    EXPECT_EQ(writes(), 0u);
}

TEST_F(Cli, UsageHelpAndModuleErrors) {
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* says;  // in stdout for exit 0, in stderr otherwise
    };
    const Case cases[] = {
        {{"--help"}, kExitDone, "Usage: zavi-gsm-cli"},
        {{"restore", "--help"}, kExitDone, "--dry-run"},
        {{}, kExitUsage, "no command"},
        {{"frobnicate"}, kExitUsage, "unknown command"},
        {{"backup"}, kExitUsage, "wrong number of files"},
        {{"diff", "a", "b", "c"}, kExitUsage, "wrong number of files"},
        {{"status", "--dry-run"}, kExitUsage, "no option --dry-run"},
        {{"numbers"}, kExitUsage, "export or import"},
        {{"--device", "x", "status"}, kExitUsage, "device index"},
    };
    for (const Case& c : cases) {
        out_.str(""), err_.str("");
        Environment env{out_, err_};
        EXPECT_EQ(run(c.args, env), c.code) << c.says;
        EXPECT_NE((c.code == kExitDone ? out_ : err_).str().find(c.says), std::string::npos)
            << c.says << ": " << err_.str();
    }
    Environment env{out_, err_};
    env.usb_driver = [](std::string* why) -> Driver* {
        *why = "the USB driver FTD2XX.dll is not installed";
        return nullptr;
    };
    EXPECT_EQ(run({"status"}, env), kExitNoModule);
    EXPECT_EQ(run({"--port", "/dev/ttyUSB0", "status"}, env), kExitNoModule);
    EXPECT_NE(err_.str().find("serial ports are not supported"), std::string::npos);
    env.usb_driver = [this](std::string*) -> Driver* { return &module_; };
    EXPECT_EQ(run({"--device", "3", "status"}, env), kExitNoModule);
    state().firmware = "ZAVI-GSM v1.6";
    EXPECT_EQ(run({"status"}, env), kExitNoModule);
    module_.scenario().modules[0].state = sim::demo_scenario().modules[0].state;
    module_.scenario().modules[0].faults.push_back(
        {sim::FaultKind::no_answer, 6, -1, 0, -1, 0, {}});
    EXPECT_EQ(run({"backup", file("x.zavi.json")}, env), kExitCommunication);
    EXPECT_FALSE(std::filesystem::exists(file("x.zavi.json")));
}

TEST_F(Cli, StateFileKeepsTheSimulatedModuleBetweenRuns) {
    Environment env{out_, err_};
    env.backup_folder = (dir_.path() / "backups").string();
    const std::string state_file = file("module.json");
    ASSERT_EQ(run({"--sim", "--state", state_file, "backup", file("a.zavi.json")}, env), kExitDone);
    std::string text = read_file(file("a.zavi.json"));
    text.replace(text.find("\"period_days\": 0"), 16, "\"period_days\": 2");
    write_file(file("b.zavi.json"), text);
    ASSERT_EQ(run({"--sim", "--state", state_file, "restore", file("b.zavi.json")}, env),
              kExitDone);
    EXPECT_EQ(run({"--sim", "--state", state_file, "diff", file("b.zavi.json")}, env), kExitDone);
    EXPECT_EQ(run({"--sim", "diff", file("b.zavi.json")}, env), kExitDifferent);  // a fresh demo

    // Two modules in the state file: --device picks one, as the driver index.
    sim::Scenario two = sim::demo_scenario();
    two.modules.push_back(two.modules[0]);
    two.modules[1].state.auto_reset = 2;
    write_file(state_file, sim::scenario_to_json(two));
    EXPECT_EQ(
        run({"--sim", "--state", state_file, "--device", "1", "diff", file("b.zavi.json")}, env),
        kExitDone);
    EXPECT_EQ(
        run({"--sim", "--state", state_file, "--device", "0", "diff", file("b.zavi.json")}, env),
        kExitDifferent);

    write_file(state_file, "{\"modules\": 3}");
    EXPECT_EQ(run({"--sim", "--state", state_file, "status"}, env), kExitInvalidFile);
    EXPECT_EQ(read_file(state_file), "{\"modules\": 3}");  // a bad state file is not overwritten
}

TEST_F(Cli, StatusJsonHasThePanelsValues) {
    state().temp1_negative = 1, state().temp1_whole = 0, state().temp1_tenths = 5;
    state().battery_flags = 0x82;
    state().gsm_signal = 40;
    state().gsm_state = 3;
    ASSERT_EQ(run_cli({"status", "--json"}), kExitDone) << err_.str();
    const std::string o = out_.str();
    for (const char* part :
         {"\"firmware\": \"v1.7\"", "\"temperature1\": -0.5", "\"temperature2\": -3.2",
          "\"battery_percent\": null", "\"battery_state\": \"error\"", "\"gsm_state\": \"no_sim\"",
          "\"gsm_signal_dbm\": -49", "\"operator\": \"Plus\"", "\"out2\": \"Light on\""})
        EXPECT_NE(o.find(part), std::string::npos) << part << "\n" << o;
}

}  // namespace
}  // namespace zavi::cli

namespace zavi::cli {
namespace {

// Each planned from one read of the module: the alarm settings (command 6) are read once, and
// the numbers list (command 16) once before the write and once to check it.
TEST_F(Cli, RestoreAndImportReadTheModuleOnce) {
    ASSERT_EQ(run_cli({"backup", file("a.zavi.json")}), kExitDone);
    state().accepted_numbers.pop_back();
    module_.clear_journal();
    ASSERT_EQ(run_cli({"restore", file("a.zavi.json")}), kExitDone) << err_.str();
    EXPECT_EQ(frames(6), 1u);
    EXPECT_EQ(frames(16), 2u);

    write_file(file("in.csv"), "+49301234567\n");
    module_.clear_journal();
    ASSERT_EQ(run_cli({"numbers", "import", file("in.csv")}), kExitDone) << err_.str();
    EXPECT_EQ(frames(6), 1u);
    EXPECT_EQ(frames(16), 2u);
    EXPECT_EQ(state().accepted_numbers.size(), 4u);
}

// A module holding what the program would refuse from a hand-made file: its backup restores it
// exactly, and the warnings keep the JSON paths scripts read.
TEST_F(Cli, BackupOfAModuleHoldingOddValuesRestoresItExactly) {
    state().accepted_numbers.push_back(state().accepted_numbers[1]);
    state().emergency_numbers.push_back({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    state().alarm_settings[7] = 1, state().alarm_settings[8] = 20;  // thermometer 2: -20 below -10
    state().io_names[9] = "Siren\x7F off";
    const sim::ModuleState original = state();
    ASSERT_EQ(run_cli({"backup", file("odd.zavi.json")}), kExitDone) << err_.str();
    EXPECT_NE(read_file(file("odd.zavi.json")).find("\"origin\": \"module backup\""),
              std::string::npos);

    state().accepted_numbers.pop_back();
    state().emergency_numbers.pop_back();
    state().alarm_settings[7] = 0, state().alarm_settings[8] = 40;
    state().io_names[9] = "Siren off";
    ASSERT_EQ(run_cli({"restore", file("odd.zavi.json")}), kExitDone) << err_.str();
    for (const char* path : {"accepted_numbers[3]", "emergency_numbers[2]",
                             "alarm_settings.thermometer2_high", "io_names.out1_off"})
        EXPECT_NE(
            err_.str().find("zavi-gsm-cli: warning: " + file("odd.zavi.json") + ": " + path + ": "),
            std::string::npos)
            << path << "\n"
            << err_.str();
    EXPECT_NE(err_.str().find("restored and verified"), std::string::npos);
    EXPECT_EQ(state(), original);
}

}  // namespace
}  // namespace zavi::cli
