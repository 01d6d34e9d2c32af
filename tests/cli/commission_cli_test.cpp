// zavi-gsm-cli watch, test, survey and report against a simulated module whose status changes
// on a quick timeline (real time): what is printed, the exit codes, the files, a module that
// goes away in the middle, and Ctrl-C during watch.
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <sstream>
#include <thread>

#include "cli/cli.h"
#include "commission/sha256.h"
#include "sim/demo_scenario.h"
#include "sim/simulator.h"
#include "tests/support/temp_dir.h"

namespace zavi::cli {
namespace {

constexpr uint64_t kMs = 1000;

sim::StatusChange io(int index, const char* text) {
    sim::StatusChange c;
    c.io_state_text[index] = text;
    return c;
}

// The demo module; every input changes state within 0.4 s, and the signal dips for 40 ms.
sim::Scenario quick_module(bool all_inputs = true) {
    sim::Scenario s = sim::demo_scenario();
    s.virtual_time = false;
    sim::StatusChange weak, strong;
    weak.gsm_signal = 8;     // -97 dBm
    strong.gsm_signal = 18;  // -77 dBm
    s.modules[0].timeline = {400 * kMs,
                             {{50 * kMs, io(0, "Door open")},
                              {100 * kMs, io(1, "Window open")},
                              {150 * kMs, io(2, "Mains off")},
                              {200 * kMs, weak},
                              {240 * kMs, strong},
                              {250 * kMs, io(0, "Door closed")},
                              {300 * kMs, io(1, "Window closed")},
                              {350 * kMs, io(2, "Mains on")}}};
    if (all_inputs) s.modules[0].timeline.events.push_back({320 * kMs, io(3, "Pump on")});
    return s;
}

void ignore_signal(int) {}

class CommissionCli : public ::testing::Test {
  protected:
    void TearDown() override { set_driver(nullptr); }
    int run_cli(sim::SimDriver& module, std::vector<std::string> args) {
        out_.str(""), err_.str("");
        Environment env{out_, err_};
        env.test_module = &module;
        args.insert(args.begin(), "--sim");
        return run(args, env);
    }
    std::string file(const char* name) const { return dir_.file(name); }
    test::TempDir dir_;
    std::ostringstream out_, err_;
};

TEST_F(CommissionCli, TestEndsWhenEveryInputWasSeenInBothStates) {
    sim::SimDriver module(quick_module());
    ASSERT_EQ(run_cli(module, {"test", "--seconds", "20"}), kExitDone) << err_.str();
    const std::string out = out_.str();
    for (const char* seen :
         {"seen IN-1 open \"Door open\"", "seen IN-1 closed \"Door closed\"",
          "seen P-IN-1 no voltage \"Mains off\"", "seen P-IN-2 voltage \"Pump on\""})
        EXPECT_NE(out.find(seen), std::string::npos) << seen << "\n" << out;
    EXPECT_NE(out.find("Still missing: OUT-1 (confirmation)"), std::string::npos) << out;
}

TEST_F(CommissionCli, TestListsWhatWasNotSeenAndExitsOne) {
    sim::SimDriver module(quick_module(false));
    ASSERT_EQ(run_cli(module, {"test", "--seconds", "1", "--json"}), kExitDifferent);
    EXPECT_NE(err_.str().find("not seen: P-IN-2 voltage;"), std::string::npos) << err_.str();
    // stdout is the result alone, ready for report --test.
    test::write_file(file("t.json"), out_.str());
    EXPECT_EQ(out_.str().find("seen IN-1"), std::string::npos);
    EXPECT_NE(out_.str().find("\"pin2_voltage\""), std::string::npos);
}

TEST_F(CommissionCli, SurveyGivesItsVerdictAndKeepsWhatItMeasuredWhenUnplugged) {
    sim::SimDriver module(quick_module());
    ASSERT_EQ(run_cli(module, {"survey", "--seconds", "1", "--csv", file("s.csv")}), kExitDone);
    EXPECT_NE(out_.str().find("lowest:   -97 dBm"), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("verdict:  marginal"), std::string::npos) << out_.str();
    EXPECT_EQ(test::read_file(file("s.csv")).rfind("time,dbm\n", 0), 0u);

    sim::SimDriver unplugged(quick_module());
    unplugged.scenario().modules[0].faults = {{sim::FaultKind::unplug, 8, -1, 25, 1, 0, {}}};
    ASSERT_EQ(run_cli(unplugged, {"survey", "--seconds", "30", "--json"}), kExitCommunication);
    EXPECT_NE(out_.str().find("\"interrupted\": true"), std::string::npos);
    EXPECT_NE(out_.str().find("\"samples\": 25,"), std::string::npos) << out_.str().substr(0, 300);
    EXPECT_EQ(err_.str().find("failed"), err_.str().rfind("failed")) << "one message only";
}

TEST_F(CommissionCli, WatchEndsCleanlyOnCtrlCWithASummaryAndItsLog) {
    sim::SimDriver module(quick_module());
    // Signals raised before watch takes them are swallowed here instead of ending the test.
    const auto old = std::signal(SIGINT, ignore_signal);
    std::atomic<bool> done{false};
    std::thread interrupter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        while (!done) {
            std::raise(SIGINT);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    const int code = run_cli(module, {"watch", "--interval", "20", "--log", file("w.csv")});
    done = true;
    interrupter.join();
    std::signal(SIGINT, old);
    EXPECT_EQ(code, kExitDone) << err_.str();
    EXPECT_NE(out_.str().find(" in1: Door closed -> Door open\n"), std::string::npos) << out_.str();
    EXPECT_NE(err_.str().find("watch ended: "), std::string::npos) << err_.str();
    const std::string log = test::read_file(file("w.csv"));
    EXPECT_EQ(log.rfind("time,field,old,new\n", 0), 0u);
    EXPECT_NE(log.find(",in1,Door closed,Door open\n"), std::string::npos) << log;
    // Status parts 0, 1, 2 in turn, every request one the module took.
    int expected_part = 0, reads = 0;
    for (const auto& e : module.journal()) {
        EXPECT_TRUE(e.valid);
        if (e.command != 8) continue;
        EXPECT_EQ(e.data.at(0), expected_part);
        expected_part = (expected_part + 1) % 3;
        ++reads;
    }
    EXPECT_GT(reads, 9);
}

TEST_F(CommissionCli, ReportSavesTheBackupItsChecksumNames) {
    sim::SimDriver module(quick_module());
    module.state().io_names[0] = "<script>alert(1)</script>";
    ASSERT_EQ(
        run_cli(module, {"report", file("site.html"), "--installer", "A & B", "--language", "de"}),
        kExitDone)
        << err_.str();
    const std::string html = test::read_file(file("site.html"));
    const std::string backup = test::read_file(file("site.zavi.json"));
    ASSERT_FALSE(backup.empty());
    EXPECT_NE(html.find(commission::sha256_hex(backup)), std::string::npos);
    EXPECT_NE(html.find("A &amp; B"), std::string::npos);
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_NE(html.find("lang=\"de\""), std::string::npos);
    EXPECT_EQ(backup.find("\"pin\""), std::string::npos);  // the SIM codes stay on the module

    // A result file that is not one stops the report before anything is written.
    test::write_file(file("bad.json"), "{\"format\": \"zavi-gsm-walk-test\"}");
    EXPECT_EQ(run_cli(module, {"report", file("other.html"), "--test", file("bad.json")}),
              kExitInvalidFile);
    EXPECT_FALSE(std::filesystem::exists(file("other.html")));
    EXPECT_FALSE(std::filesystem::exists(file("other.zavi.json")));
}

// Unplugged after a few status reads: one message, exit 4, and what was seen is kept.
TEST_F(CommissionCli, UnpluggedDuringWatchOrTestEndsWithWhatWasMeasured) {
    struct Row {
        std::vector<std::string> args;
        int reads;         // status reads before the module is gone
        const char* kept;  // in stdout
    };
    const Row rows[] = {
        {{"watch", "--interval", "0", "--log", file("u.csv")},
         300,
         " in1: Door closed -> Door open"},
        {{"test", "--json"}, 6, "\"interrupted\": true"},
    };
    for (const Row& row : rows) {
        sim::SimDriver module(quick_module());
        module.scenario().modules[0].faults = {
            {sim::FaultKind::unplug, 8, -1, row.reads, 1, 0, {}}};
        module.scenario().timing = {true, 115200, 1, 0};
        EXPECT_EQ(run_cli(module, row.args), kExitCommunication) << row.args[0];
        EXPECT_NE(out_.str().find(row.kept), std::string::npos) << row.args[0] << out_.str();
        const std::string err = err_.str();
        EXPECT_EQ(err.find("no or bad answer"), err.rfind("no or bad answer")) << err;
    }
    EXPECT_NE(test::read_file(file("u.csv")).find(",in1,Door closed,Door open"), std::string::npos);
}

TEST_F(CommissionCli, BadOptionsAreUsageErrors) {
    sim::SimDriver module(quick_module());
    struct Row {
        std::vector<std::string> args;
        int code;
    };
    const Row rows[] = {
        {{"watch", "--interval", "fast"}, kExitUsage},
        {{"test", "--seconds", "0"}, kExitUsage},
        {{"survey", "--seconds", "601"}, kExitUsage},
        {{"survey", "--seconds"}, kExitUsage},
        {{"report"}, kExitUsage},
        {{"report", "x.html", "--language", "fr"}, kExitUsage},
        {{"watch", "--csv", "x"}, kExitUsage},
    };
    for (const Row& row : rows) EXPECT_EQ(run_cli(module, row.args), row.code) << row.args[0];
}

}  // namespace
}  // namespace zavi::cli
