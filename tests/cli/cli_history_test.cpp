// zavi-gsm-cli history against the simulated module and a module on a pseudo-terminal: every
// backup and restore keeps a copy under the module's identity, and history tells what changed,
// newest first; what was sent but not acknowledged is never listed as what the module holds.
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "cli/module_ports.h"
#include "sim/demo_scenario.h"
#include "sim/simulator.h"
#include "tests/posix/pty_partner.h"
#include "tests/support/temp_dir.h"

namespace zavi::cli {
namespace {

namespace fs = std::filesystem;

class CliHistory : public ::testing::Test {
  protected:
    CliHistory() : module_(scenario()) {}
    static sim::Scenario scenario() {
        sim::Scenario s = sim::demo_scenario();
        s.modules[0].serial = "A50285BI";
        return s;
    }
    void TearDown() override { set_driver(nullptr); }

    int run_cli(std::vector<std::string> args, bool sim = true, const std::string& dev = "") {
        out_.str(""), err_.str("");
        Environment env{out_, err_};
        if (sim) env.test_module = &module_;
        env.backup_folder = (dir_.path() / "backups").string();
        env.history_folder = (dir_.path() / "data").string();
        if (!dev.empty()) use_module_ports(env, dev, (dir_.path() / "sys").string());
        if (sim) args.insert(args.begin(), "--sim");
        return run(args, env);
    }
    std::string file(const char* name) const { return dir_.file(name); }
    nlohmann::json history_json(const std::string& key = "") {
        std::vector<std::string> args{"history", "--json"};
        if (!key.empty()) args.insert(args.begin() + 1, key);
        EXPECT_EQ(run_cli(args, false), kExitDone) << err_.str();
        return nlohmann::json::parse(out_.str());
    }

    sim::SimDriver module_;
    test::TempDir dir_;
    std::ostringstream out_, err_;
};

TEST_F(CliHistory, BackupRestoreAndHistoryTellWhatChanged) {
    ASSERT_EQ(run_cli({"backup", file("a.zavi.json")}), kExitDone) << err_.str();
    EXPECT_NE(
        err_.str().find("module history: " + (dir_.path() / "data/modules/A50285BI/").string()),
        std::string::npos)
        << err_.str();
    module_.state().alarm_settings[2] = 55;  // thermometer 1 high, changed on the module
    ASSERT_EQ(run_cli({"restore", file("a.zavi.json")}), kExitDone) << err_.str();
    // A dry run writes nothing and keeps nothing; an equal module keeps "unchanged".
    ASSERT_EQ(run_cli({"restore", file("a.zavi.json"), "--dry-run"}), kExitDone);
    ASSERT_EQ(run_cli({"restore", file("a.zavi.json")}), kExitDone);

    ASSERT_EQ(run_cli({"history", "A50285BI"}, false), kExitDone) << err_.str();
    const std::string text = out_.str();
    const std::size_t unchanged = text.find("A50285BI  restore  unchanged");
    const std::size_t restored = text.find("A50285BI  restore  verified");
    const std::size_t backup = text.find("A50285BI  backup  saved");
    ASSERT_NE(unchanged, std::string::npos) << text;
    ASSERT_NE(restored, std::string::npos) << text;
    ASSERT_NE(backup, std::string::npos) << text;
    EXPECT_LT(unchanged, restored);
    EXPECT_LT(restored, backup);
    EXPECT_NE(text.find("no change", unchanged), std::string::npos);
    // The copy before the restore is the backup, which held 30 already: what the restore left
    // equals what the backup read. The backup of the changed module is the automatic one.
    EXPECT_NE(text.find("first copy of this module", backup), std::string::npos) << text;

    const nlohmann::json all = history_json("A50285BI");
    ASSERT_EQ(all.size(), 3u);
    for (const auto& e : all) {
        EXPECT_TRUE(fs::is_regular_file(e["path"].get<std::string>())) << e;
        EXPECT_EQ(e["identity"], "A50285BI");
    }
}

TEST_F(CliHistory, ChangesBetweenCopiesAndAWriteThatWasNotAcknowledged) {
    ASSERT_EQ(run_cli({"backup", file("a.zavi.json")}), kExitDone);
    module_.state().alarm_settings[2] = 55;
    ASSERT_EQ(run_cli({"backup", file("b.zavi.json")}), kExitDone);
    // Restoring a.zavi.json: alarm settings go out, and their acknowledgement never comes.
    module_.scenario().modules[0].faults.push_back(
        {sim::FaultKind::no_answer, 7, -1, 0, -1, 0, {}});
    EXPECT_EQ(run_cli({"restore", file("a.zavi.json")}), kExitCommunication);

    const nlohmann::json all = history_json();
    ASSERT_EQ(all.size(), 3u) << all.dump(1);
    EXPECT_EQ(all[0]["result"], "write-failed");
    EXPECT_EQ(all[1]["operation"], "backup");
    ASSERT_EQ(all[1]["changes"].size(), 1u);
    EXPECT_EQ(all[1]["changes"][0]["path"], "alarm_settings.thermometer1_high");
    EXPECT_EQ(all[1]["changes"][0]["new"], 55);
    EXPECT_TRUE(all[2]["first"].get<bool>());

    ASSERT_EQ(run_cli({"history"}, false), kExitDone);
    EXPECT_NE(out_.str().find("write-failed  modules/A50285BI/"), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("the module may hold only part of it"), std::string::npos);
}

TEST_F(CliHistory, UnknownKeysAndIdentitiesAreSaid) {
    EXPECT_EQ(run_cli({"history"}, false), kExitDone);
    EXPECT_NE(err_.str().find("no copies kept yet"), std::string::npos) << err_.str();
    ASSERT_EQ(run_cli({"backup", file("a.zavi.json")}), kExitDone);
    EXPECT_EQ(run_cli({"history", "NOPE"}, false), kExitNoModule);
    EXPECT_NE(err_.str().find("no module or site NOPE"), std::string::npos);
    EXPECT_EQ(run_cli({"history", "a", "b"}, false), kExitUsage);

    // A serial number that cannot name a folder is no identity.
    module_.scenario().modules[0].serial = "../../x";
    ASSERT_EQ(run_cli({"backup", file("b.zavi.json")}), kExitDone);
    EXPECT_NE(err_.str().find("identity is unknown"), std::string::npos) << err_.str();
    EXPECT_EQ(history_json("unknown").size(), 1u);
    EXPECT_FALSE(fs::exists(dir_.path() / "x"));
}

// On Linux the serial number comes from the port's stable name, also when the tool is pointed
// at the bare device; a port without one is "unknown".
TEST_F(CliHistory, TheIdentityOfAModuleOnAPortComesFromItsStableName) {
    sim::Scenario s = sim::demo_scenario();
    s.virtual_time = false;
    sim::SimDriver served(s);
    test::PtyPartner pty;
    ASSERT_TRUE(pty.ok());
    pty.serve(served);
    const fs::path dev = dir_.path() / "dev";
    fs::create_directories(dev / "serial" / "by-id");
    fs::create_symlink(pty.path(),
                       dev / "serial" / "by-id" / "usb-FTDI_FT232R_USB_UART_FT4XQ2B-if00-port0");

    ASSERT_EQ(run_cli({"backup", file("a.zavi.json")}, false, dev.string()), kExitDone)
        << err_.str();
    ASSERT_EQ(run_cli({"--port", pty.path(), "backup", file("b.zavi.json")}, false, dev.string()),
              kExitDone)
        << err_.str();
    EXPECT_EQ(history_json("FT4XQ2B").size(), 2u);

    fs::remove(dev / "serial" / "by-id" / "usb-FTDI_FT232R_USB_UART_FT4XQ2B-if00-port0");
    ASSERT_EQ(run_cli({"--port", pty.path(), "backup", file("c.zavi.json")}, false, dev.string()),
              kExitDone);
    EXPECT_NE(err_.str().find("identity is unknown"), std::string::npos) << err_.str();
    EXPECT_EQ(history_json("unknown").size(), 1u);
}

}  // namespace
}  // namespace zavi::cli
