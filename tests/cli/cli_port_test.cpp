// zavi-gsm-cli on a serial port, wired as the Linux tool is: the simulated module serves the
// master side of a pseudo-terminal, the tool opens the slave with --port or finds it among the
// FTDI ports. Ports that cannot be used exit 3, a silent partner 4.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
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
using test::PtyPartner;

sim::Scenario served_demo() {
    sim::Scenario s = sim::demo_scenario();
    s.virtual_time = false;
    return s;
}

class CliPort : public ::testing::Test {
  protected:
    void TearDown() override { set_driver(nullptr); }

    // The tool as main() builds it, with `dev` standing in for /dev.
    int run_cli(std::vector<std::string> args, const std::string& dev = "/dev") {
        out_.str(""), err_.str("");
        Environment env{out_, err_};
        env.backup_folder = (dir_.path() / "backups").string();
        use_module_ports(env, dev, (dir_.path() / "sys").string());
        return run(args, env);
    }
    std::string file(const char* name) const { return dir_.file(name); }

    test::TempDir dir_;
    std::ostringstream out_, err_;
};

TEST_F(CliPort, StatusBackupDiffAndRestoreThroughThePort) {
    sim::SimDriver module(served_demo());
    PtyPartner pty;
    ASSERT_TRUE(pty.ok());
    module.state().operator_name = "Orange PL";
    pty.serve(module);
    const std::string port = pty.path();

    ASSERT_EQ(run_cli({"--port", port, "status", "--json"}), kExitDone) << err_.str();
    EXPECT_NE(out_.str().find("\"operator\": \"Orange PL\""), std::string::npos) << out_.str();

    const sim::ModuleState original = module.state();
    ASSERT_EQ(run_cli({"--port", port, "backup", file("a.zavi.json")}), kExitDone) << err_.str();
    ASSERT_EQ(run_cli({"--port", port, "diff", file("a.zavi.json")}), kExitDone) << out_.str();

    // The module changes behind the tool's back; diff sees it, restore undoes it.
    module.state().accept_all = module.state().accept_all ? 0 : 1;
    module.state().accepted_numbers.pop_back();
    ASSERT_EQ(run_cli({"--port", port, "diff", file("a.zavi.json")}), kExitDifferent);
    EXPECT_NE(out_.str().find("accept_all: "), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("accepted_numbers: 1 added, 0 removed"), std::string::npos)
        << out_.str();

    ASSERT_EQ(run_cli({"--port", port, "restore", file("a.zavi.json")}), kExitDone) << err_.str();
    EXPECT_NE(err_.str().find("restored and verified"), std::string::npos) << err_.str();
    EXPECT_NE(err_.str().find("automatic backup: "), std::string::npos) << err_.str();
    pty.stop();
    EXPECT_EQ(module.state(), original);
}

TEST_F(CliPort, APortThatCannotBeUsedExitsThreeAndNamesIt) {
    PtyPartner held;  // claimed by another program for the whole test
    ASSERT_TRUE(held.ok());
    const int holder = ::open(held.path().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
    test::write_file(file("plain.txt"), "not a port");

    struct Case {
        std::string port;
        const char* says;  // part of the reason
    } const cases[] = {
        {file("no-such-port"), "No such file"},
        {"/dev/null", "not a serial port"},
        {file("plain.txt"), "not a serial port"},
        {held.path(), "another program"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run_cli({"--port", c.port, "status"}), kExitNoModule) << c.port;
        EXPECT_NE(err_.str().find(c.port), std::string::npos) << err_.str();
        EXPECT_NE(err_.str().find(c.says), std::string::npos) << err_.str();
        EXPECT_TRUE(out_.str().empty()) << out_.str();
    }
    ::close(holder);
}

TEST_F(CliPort, SilentPartnerExitsFourAndOtherFirmwareThree) {
    {
        PtyPartner silent;  // nobody serves the master side
        ASSERT_TRUE(silent.ok());
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(run_cli({"--port", silent.path(), "status"}), kExitCommunication);
        EXPECT_LT(test::elapsed_ms(start), 10000u);
        EXPECT_NE(err_.str().find("No ZAVI-GSM module answered on " + silent.path()),
                  std::string::npos)
            << err_.str();
    }
    sim::Scenario old = served_demo();
    old.modules[0].state.firmware = "ZAVI-GSM v1.6";
    sim::SimDriver module(old);
    PtyPartner pty;
    ASSERT_TRUE(pty.ok());
    pty.serve(module);
    EXPECT_EQ(run_cli({"--port", pty.path(), "backup", file("b.zavi.json")}), kExitNoModule);
    EXPECT_NE(err_.str().find("runs other firmware"), std::string::npos) << err_.str();
    EXPECT_FALSE(fs::exists(file("b.zavi.json")));
}

TEST_F(CliPort, WithoutPortTheFtdiPortsFoundAreTried) {
    const fs::path dev = dir_.path() / "dev";
    fs::create_directories(dev / "serial" / "by-id");
    // No FTDI port at all: exit 3, saying where the tool looked.
    EXPECT_EQ(run_cli({"status"}, dev.string()), kExitNoModule);
    EXPECT_NE(err_.str().find("no FTDI serial port found"), std::string::npos) << err_.str();

    sim::SimDriver module(served_demo());
    PtyPartner pty;
    ASSERT_TRUE(pty.ok());
    pty.serve(module);
    // A stable name that leads nowhere is skipped; the one on the module is used, by search
    // and by --device 0 alike. Nothing is found outside the stand-in /dev.
    fs::create_symlink(dir_.path() / "gone", dev / "serial" / "by-id" / "usb-FTDI_A-if00-port0");
    fs::create_symlink(pty.path(), dev / "serial" / "by-id" / "usb-FTDI_B-if00-port0");
    EXPECT_EQ(run_cli({"status"}, dev.string()), kExitDone) << err_.str();
    EXPECT_EQ(run_cli({"--device", "0", "status"}, dev.string()), kExitDone) << err_.str();
    EXPECT_EQ(run_cli({"--device", "1", "status"}, dev.string()), kExitNoModule);

    // The only port found is held by another program: no module to talk to (3), not silence.
    const int holder = ::open(pty.path().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(run_cli({"status"}, dev.string()), kExitNoModule);
    EXPECT_NE(err_.str().find("another program"), std::string::npos) << err_.str();
    ::close(holder);
}

// One set of hooks, sought twice: the second search sees the port that appeared in between, and
// the first port is gone again for a third.
TEST_F(CliPort, EachSearchListsThePortsAgain) {
    const fs::path dev = dir_.path() / "dev";
    fs::create_directories(dev / "serial" / "by-id");
    Environment env{out_, err_};
    env.backup_folder = (dir_.path() / "backups").string();
    use_module_ports(env, dev.string(), (dir_.path() / "sys").string());
    EXPECT_EQ(run({"status"}, env), kExitNoModule);

    sim::SimDriver module(served_demo());
    PtyPartner pty;
    ASSERT_TRUE(pty.ok());
    pty.serve(module);
    const fs::path link = dev / "serial" / "by-id" / "usb-FTDI_C-if00-port0";
    fs::create_symlink(pty.path(), link);
    err_.str("");
    EXPECT_EQ(run({"status"}, env), kExitDone) << err_.str();
    fs::remove(link);
    err_.str("");
    EXPECT_EQ(run({"status"}, env), kExitNoModule);
    EXPECT_NE(err_.str().find("no FTDI serial port found"), std::string::npos) << err_.str();
}

}  // namespace
}  // namespace zavi::cli
