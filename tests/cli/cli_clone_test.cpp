// zavi-gsm-cli clone against four simulated modules at once: two set up, one that falls silent
// and one unplugged in the middle of its writes; each module's outcome is what it received.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli.h"
#include "fleet/history.h"
#include "link/driver.h"
#include "sim/demo_scenario.h"
#include "sim/request_decoder.h"
#include "sim/simulator.h"
#include "tests/support/temp_dir.h"

namespace zavi::cli {
namespace {

// The demo module on real time: the ports' threads share no virtual clock.
sim::Scenario demo_module() {
    sim::Scenario s = sim::demo_scenario();
    s.virtual_time = false;
    return s;
}

std::size_t writes(const sim::SimDriver& module) {
    return std::count_if(
        module.journal().begin(), module.journal().end(),
        [](const sim::JournalEntry& e) { return sim::is_write_command(e.command); });
}

class CloneTest : public ::testing::Test {
  protected:
    void TearDown() override { set_driver(nullptr); }

    int run_cli(std::vector<std::string> args, std::vector<sim::SimDriver*> modules,
                std::function<int()> caught_signal = {}) {
        out_.str(""), err_.str("");
        Environment env{out_, err_};
        env.caught_signal = std::move(caught_signal);
        env.test_modules = std::move(modules);
        env.backup_folder = (dir_.path() / "backups").string();
        args.insert(args.begin(), "--sim");
        return run(args, env);
    }

    // The demo module's configuration with another auto-reset period and 80 accepted numbers
    // (three blocks of the numbers write).
    std::string target_file() {
        sim::SimDriver source(demo_module());
        Environment env{out_, err_};
        env.test_module = &source;
        const std::string path = dir_.file("target.zavi.json");
        EXPECT_EQ(run({"--sim", "backup", path}, env), kExitDone) << err_.str();
        nlohmann::json j = nlohmann::json::parse(test::read_file(path));
        j["auto_reset"]["period_days"] = 3;
        j["accepted_numbers"] = nlohmann::json::array();
        for (int i = 0; i < 80; ++i)
            j["accepted_numbers"].push_back("4860000" + std::to_string(1000 + i));
        test::write_file(path, j.dump(2));
        return path;
    }

    test::TempDir dir_;
    std::ostringstream out_, err_;
};

TEST_F(CloneTest, TwoModulesSetUpWhileOneFallsSilentAndOneIsUnpluggedMidWrite) {
    const std::string file = target_file();
    // Where the first write comes: a clone onto a module that fails nothing.
    std::size_t first_write = 0;
    {
        sim::SimDriver probe(demo_module());
        ASSERT_EQ(run_cli({"clone", file}, {&probe}), kExitDone) << err_.str();
        const auto& j = probe.journal();
        first_write = std::find_if(j.begin(), j.end(),
                                   [](const sim::JournalEntry& e) {
                                       return sim::is_write_command(e.command);
                                   }) -
                      j.begin();
        ASSERT_LT(first_write, j.size());
    }
    sim::SimDriver good0(demo_module()), silent(demo_module()), unplugged(demo_module()),
        good3(demo_module());
    silent.scenario().modules[0].faults = {
        {.kind = sim::FaultKind::no_answer, .skip = static_cast<int>(first_write)}};
    // The third block of the numbers goes out, then the cable is pulled.
    unplugged.scenario().modules[0].faults = {
        {.kind = sim::FaultKind::unplug, .command = 17, .skip = 2, .times = 1}};
    const sim::ModuleState before = good0.state();

    const int code = run_cli({"clone", file, "--json", "--out", dir_.file("out")},
                             {&good0, &silent, &unplugged, &good3});
    EXPECT_NE(code, kExitDone);
    EXPECT_EQ(code, kExitCommunication) << err_.str();

    std::vector<nlohmann::json> lines;
    std::istringstream out(out_.str());
    for (std::string line; std::getline(out, line);) lines.push_back(nlohmann::json::parse(line));
    ASSERT_EQ(lines.size(), 4u) << out_.str();
    const char* const expected[] = {"verified", "write-failed", "write-failed", "verified"};
    const char* const ports[] = {"sim:0", "sim:1", "sim:2", "sim:3"};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lines[i]["port"], ports[i]);
        EXPECT_EQ(lines[i]["result"], expected[i]);
        EXPECT_EQ(lines[i]["succeeded"], i == 0 || i == 3);
        // Every module was read and backed up before its first write.
        ASSERT_TRUE(lines[i]["backup"].is_string());
        const std::string backup = lines[i]["backup"];
        EXPECT_NE(err_.str().find(std::string(ports[i]) + ": automatic backup: " + backup),
                  std::string::npos);
        EXPECT_TRUE(std::filesystem::exists(backup));
        EXPECT_TRUE(lines[i]["before"].is_string());
        EXPECT_EQ(lines[i]["after"].is_string(), i == 0 || i == 3);
    }
    // What the modules hold now.
    for (sim::SimDriver* m : {&good0, &good3}) {
        EXPECT_EQ(m->state().auto_reset, 3);
        EXPECT_EQ(m->state().accepted_numbers.size(), 80u);
        EXPECT_EQ(m->state().alarm_settings, before.alarm_settings);
    }
    // The silent one took its first write and answered nothing after: its write is unknown,
    // never "not written".
    EXPECT_GE(writes(silent), 1u);
    EXPECT_NE(err_.str().find("sim:1: unknown"), std::string::npos) << err_.str();
    EXPECT_TRUE(unplugged.unplugged());
    EXPECT_NE(err_.str().find("sim:2: writing accepted_numbers failed"), std::string::npos)
        << err_.str();
    EXPECT_EQ(unplugged.state().auto_reset, 3);  // written before the numbers
    EXPECT_NE(err_.str().find("clone: 2 of 4 modules set up"), std::string::npos);
}

TEST_F(CloneTest, EachPortIsItsOwnModuleAndTheCopiesHoldBeforeAndAfter) {
    const std::string file = target_file();
    sim::SimDriver a(demo_module()), b(demo_module());
    b.state().auto_reset = 3;  // already holds part of the file
    ASSERT_EQ(run_cli({"clone", file, "--out", dir_.file("out")}, {&a, &b}), kExitDone)
        << err_.str();
    // One summary line per module: port, identity, site, result, time.
    std::istringstream out(out_.str());
    std::string line;
    ASSERT_TRUE(std::getline(out, line));
    EXPECT_EQ(line.rfind("sim:0  identity-unknown  -  verified  ", 0), 0u) << line;
    ASSERT_TRUE(std::getline(out, line));
    EXPECT_EQ(line.rfind("sim:1  identity-unknown  -  verified  ", 0), 0u) << line;
    // b was not sent the auto-reset it already held.
    const auto sent = [](const sim::SimDriver& m, uint8_t command) {
        return std::count_if(m.journal().begin(), m.journal().end(),
                             [&](const sim::JournalEntry& e) { return e.command == command; });
    };
    EXPECT_EQ(sent(a, 21), 1);
    EXPECT_EQ(sent(b, 21), 0);
    const auto period = [&](const char* name) {
        return nlohmann::json::parse(
            test::read_file(dir_.file("out") + "/" + name))["auto_reset"]["period_days"];
    };
    EXPECT_EQ(period("1-sim_0-before.zavi.json"), 0);
    EXPECT_EQ(period("1-sim_0-after.zavi.json"), 3);
    EXPECT_EQ(period("2-sim_1-before.zavi.json"), 3);
}

TEST_F(CloneTest, ASignalStopsEveryPortAfterItsFrameInFlightAndEachTellsWhatWentOut) {
    const std::string file = target_file();
    // How many times a port asks about a signal before its third block of numbers: the
    // auto-reset and two blocks have gone out.
    int asked_before = 0;
    {
        sim::SimDriver probe(demo_module());
        int asked = 0;
        ASSERT_EQ(run_cli({"clone", file}, {&probe},
                          [&] {
                              if (writes(probe) < 3) asked_before = ++asked;
                              return 0;
                          }),
                  kExitDone);
        ASSERT_GT(asked_before, 0);
    }
    sim::SimDriver a(demo_module()), b(demo_module());
    // Each port's own count: the signal comes, for each, in the middle of its numbers write.
    const auto signal_mid_write = [asked_before] {
        thread_local int asked = 0;
        return ++asked > asked_before ? 2 : 0;
    };
    EXPECT_EQ(run_cli({"clone", file}, {&a, &b}, signal_mid_write), kExitSignalBase + 2);
    for (const char* port : {"sim:0", "sim:1"}) {
        SCOPED_TRACE(port);
        EXPECT_NE(out_.str().find(std::string(port) + "  identity-unknown  -  interrupted"),
                  std::string::npos)
            << out_.str();
        EXPECT_NE(err_.str().find(std::string(port) + ": partly written: accepted_numbers"),
                  std::string::npos)
            << err_.str();
    }
    for (sim::SimDriver* m : {&a, &b}) {
        // Nothing after the stop: no read-back, the numbers cut where the signal came.
        EXPECT_EQ(m->journal().back().command, 17);
        EXPECT_LT(m->state().accepted_numbers.size(), 80u);
    }
    EXPECT_NE(err_.str().find("interrupted by signal 2"), std::string::npos);
}

TEST_F(CloneTest, RefusesWhatItCannotDoBeforeTouchingAModule) {
    const std::string file = target_file();
    sim::SimDriver a(demo_module()), b(demo_module());
    test::write_file(dir_.file("bad.csv"), "site,auto_reset.period_days\nnorth,abc\n");
    test::write_file(dir_.file("one.csv"), "site,auto_reset.period_days\nnorth,2\n");
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* says;
    };
    const Case cases[] = {
        {{"clone", file, "--sites", dir_.file("missing.csv")}, kExitInvalidFile, "missing.csv"},
        {{"clone", file, "--sites", dir_.file("bad.csv")}, kExitInvalidFile, "row 2"},
        {{"clone", file, "--sites", dir_.file("one.csv")}, kExitInvalidFile, "2 modules, but"},
        {{"clone", file, "--ports", "sim:0"}, kExitUsage, "every simulated module"},
        {{"clone", dir_.file("missing.zavi.json")}, kExitInvalidFile, "missing.zavi.json"},
        {{"--device", "0", "clone", file}, kExitUsage, "--ports"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        EXPECT_EQ(run_cli(c.args, {&a, &b}), c.code);
        EXPECT_NE(err_.str().find(c.says), std::string::npos) << err_.str();
    }
    EXPECT_TRUE(a.journal().empty());
    EXPECT_TRUE(b.journal().empty());
}

TEST_F(CloneTest, SitesGoToTheModulesInTableOrder) {
    const std::string file = target_file();
    test::write_file(dir_.file("sites.csv"),
                     "site;auto_reset.period_days\nnorth;2\nsouth;4\neast;5\n");
    sim::SimDriver a(demo_module()), b(demo_module());
    ASSERT_EQ(run_cli({"clone", file, "--sites", dir_.file("sites.csv")}, {&a, &b}), kExitDone)
        << err_.str();
    EXPECT_EQ(a.state().auto_reset, 2);
    EXPECT_EQ(b.state().auto_reset, 4);
    EXPECT_NE(out_.str().find("sim:1  identity-unknown  south  verified"), std::string::npos)
        << out_.str();
}

// The site each module was set up for is kept in its history entry, and binds the module to
// that site the next time, wherever it is plugged in.
TEST_F(CloneTest, HistoryKeepsEachModulesSiteAndASecondCloneKeepsIt) {
    const std::string file = target_file();
    test::write_file(dir_.file("sites.csv"), "site;auto_reset.period_days\nnorth;2\nsouth;4\n");
    const std::string history = (dir_.path() / "data").string();
    sim::SimDriver a(demo_module()), b(demo_module());
    // Which module sits on which port: the second run has them the other way round.
    for (const bool swapped : {false, true}) {
        out_.str(""), err_.str("");
        Environment env{out_, err_};
        env.test_modules =
            swapped ? std::vector<sim::SimDriver*>{&b, &a} : std::vector<sim::SimDriver*>{&a, &b};
        env.backup_folder = (dir_.path() / "backups").string();
        env.history_folder = history;
        env.port_identity = [swapped](const std::string& port) -> std::string {
            return (port == "sim:0") != swapped ? "FTAAAA01" : "FTBBBB02";
        };
        ASSERT_EQ(run({"--sim", "clone", file, "--sites", dir_.file("sites.csv")}, env), kExitDone)
            << err_.str();
    }
    EXPECT_EQ(a.state().auto_reset, 2);
    EXPECT_EQ(b.state().auto_reset, 4);
    EXPECT_NE(out_.str().find("sim:0  FTBBBB02  south  "), std::string::npos) << out_.str();

    std::vector<fleet::HistoryEntry> entries;
    int skipped = 0;
    std::string why;
    ASSERT_TRUE(fleet::read_index(history, &entries, &skipped, &why)) << why;
    ASSERT_EQ(entries.size(), 4u);
    for (const fleet::HistoryEntry& e : entries) {
        EXPECT_EQ(e.operation, "clone");
        EXPECT_EQ(e.site, e.identity == "FTAAAA01" ? "north" : "south") << e.identity;
    }
    EXPECT_EQ(entries[0].result, "verified");
    EXPECT_EQ(entries[2].result, "unchanged");
}

}  // namespace
}  // namespace zavi::cli
