// zavi-gsm-cli template and apply against the simulated module: what the module received
// (journal) for a partial restore and a dry run, and refusals that send no frame at all.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>

#include "cli/cli.h"
#include "fleet/history.h"
#include "sim/demo_scenario.h"
#include "sim/simulator.h"
#include "tests/support/temp_dir.h"

namespace zavi::cli {
namespace {

using test::read_file;
using test::write_file;

constexpr uint8_t kWriteCommands[] = {7, 10, 12, 14, 15, 17, 19, 21, 23, 25, 27};
// The records the template below leaves out: alarm settings, SIM codes, procedures,
// emergency numbers, accept-all, call answer, auto status (read and write commands).
const std::set<uint8_t> kNotHeld = {6, 7, 9, 10, 11, 12, 13, 14, 18, 19, 22, 23, 26, 27};

class CliSites : public ::testing::Test {
  protected:
    CliSites() : module_(sim::demo_scenario()) {}
    void TearDown() override { set_driver(nullptr); }

    int run_cli(std::vector<std::string> args, bool sim = true) {
        out_.str(""), err_.str("");
        Environment env{out_, err_};
        env.test_module = &module_;
        env.backup_folder = (dir_.path() / "backups").string();
        if (sim) args.insert(args.begin(), "--sim");
        return run(args, env);
    }
    std::string file(const char* name) const { return dir_.file(name); }
    sim::ModuleState& state() { return module_.state(); }
    std::set<uint8_t> commands() const {
        std::set<uint8_t> out;
        for (const auto& e : module_.journal()) out.insert(e.command);
        return out;
    }
    std::size_t writes() const {
        std::size_t n = 0;
        for (const auto& e : module_.journal())
            for (const uint8_t w : kWriteCommands) n += e.command == w;
        return n;
    }
    std::size_t backups() const {
        const auto folder = dir_.path() / "backups";
        if (!std::filesystem::exists(folder)) return 0;
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                      std::filesystem::directory_iterator()));
    }
    // A template of the names, the accepted numbers and the auto reset.
    void make_template() {
        ASSERT_EQ(run_cli({"backup", file("full.zavi.json")}), kExitDone) << err_.str();
        ASSERT_EQ(run_cli({"template", file("full.zavi.json"), file("t.zavi.json"), "--only",
                           "io_names,accepted_numbers,auto_reset"},
                          false),
                  kExitDone)
            << err_.str();
        write_file(file("sites.csv"),
                   "site;io_names.in1_open;accepted_numbers;auto_reset.period_days\n"
                   "Warsaw;Brama;48600100200 48600999000;3\n"
                   "Berlin;;;0\n");
    }

    sim::SimDriver module_;
    test::TempDir dir_;
    std::ostringstream out_, err_;
};

TEST_F(CliSites, ApplyWritesTheSitesHeldRecordsAloneAndDryRunNothing) {
    make_template();
    const std::string t = read_file(file("t.zavi.json"));
    EXPECT_NE(t.find("\"partial\": true"), std::string::npos);
    EXPECT_EQ(t.find("alarm_settings"), std::string::npos);
    const sim::ModuleState before = state();

    module_.clear_journal();
    ASSERT_EQ(run_cli({"apply", file("t.zavi.json"), "--sites", file("sites.csv"), "--site",
                       "Warsaw", "--dry-run"}),
              kExitDone)
        << err_.str();
    EXPECT_EQ(out_.str(),
              "auto_reset.period_days: 0 -> 3\n"
              "accepted_numbers: 1 added, 2 removed\n+48600999000\n-48502345678\n-491234446570\n"
              "io_names.in1_open: \"Door open\" -> \"Brama\"\n"
              "would write: auto_reset, accepted_numbers, io_names (1-6)\n");
    EXPECT_EQ(writes(), 0u);
    EXPECT_EQ(state(), before);
    EXPECT_EQ(backups(), 0u);

    module_.clear_journal();
    ASSERT_EQ(
        run_cli({"apply", file("t.zavi.json"), "--sites", file("sites.csv"), "--site", "Warsaw"}),
        kExitDone)
        << err_.str();
    EXPECT_NE(err_.str().find("restored and verified (auto_reset, accepted_numbers, io_names "
                              "(1-6))"),
              std::string::npos)
        << err_.str();
    for (const uint8_t c : commands()) EXPECT_FALSE(kNotHeld.count(c)) << "command " << int(c);
    EXPECT_EQ(state().auto_reset, 3);
    EXPECT_EQ(state().io_names[0], "Brama");
    EXPECT_EQ(state().io_names[1], before.io_names[1]);
    EXPECT_EQ(state().alarm_settings, before.alarm_settings);
    ASSERT_EQ(backups(), 1u);

    // The same site again: nothing differs, nothing is written.
    module_.clear_journal();
    EXPECT_EQ(
        run_cli({"apply", file("t.zavi.json"), "--sites", file("sites.csv"), "--site", "Warsaw"}),
        kExitDone);
    EXPECT_NE(err_.str().find("already holds"), std::string::npos);
    EXPECT_EQ(writes(), 0u);
    // diff of the partial file compares its records alone.
    EXPECT_EQ(run_cli({"diff", file("t.zavi.json")}), kExitDifferent);
    EXPECT_EQ(out_.str().find("alarm_settings"), std::string::npos);
    EXPECT_NE(out_.str().find("io_names.in1_open: \"Brama\" -> \"Door open\""), std::string::npos)
        << out_.str();
}

TEST_F(CliSites, ApplyKeepsTheSiteInTheModulesHistory) {
    make_template();
    Environment env{out_, err_};
    env.test_module = &module_;
    env.backup_folder = (dir_.path() / "backups").string();
    env.history_folder = (dir_.path() / "data").string();
    ASSERT_EQ(run({"--sim", "apply", file("t.zavi.json"), "--sites", file("sites.csv"), "--site",
                   "Warsaw"},
                  env),
              kExitDone)
        << err_.str();
    std::vector<fleet::HistoryEntry> entries;
    int skipped = 0;
    std::string why;
    ASSERT_TRUE(fleet::read_index(env.history_folder, &entries, &skipped, &why)) << why;
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].operation, "apply");
    EXPECT_EQ(entries[0].result, "verified");
    EXPECT_EQ(entries[0].site, "Warsaw");
}

TEST_F(CliSites, BadTablesAndTemplatesSendNoFrame) {
    make_template();
    struct Case {
        const char* name;
        std::string table;
        std::vector<std::string> extra;
        int exit;
        const char* says;
    } const cases[] = {
        {"bad cell",
         "site;accepted_numbers\nWarsaw;48600100200\nBerlin;+48600\n",
         {},
         5,
         "sites.csv: row 3, column accepted_numbers: accepted_numbers[0]: must be 1 to 14 digits"},
        {"unknown column",
         "site;io_names.in9_open\nWarsaw;x\n",
         {},
         5,
         "row 1, column io_names.in9_open: unknown column"},
        {"column the template leaves out",
         "site;accept_all\nWarsaw;true\n",
         {},
         5,
         "the template holds no accept_all"},
        {"duplicate site",
         "site;auto_reset.period_days\nWarsaw;1\nWarsaw;2\n",
         {},
         5,
         "row 3, column site: site Warsaw is also in row 2"},
        {"missing label",
         "site;auto_reset.period_days\nBerlin;1\n",
         {},
         5,
         "column site: no site Warsaw in the table"},
        {"no header", "Warsaw;1\n", {}, 5, "header"},
        {"SIM codes the template lacks",
         "site;sim_codes.pin\nWarsaw;1234\n",
         {},
         5,
         "the template holds no sim_codes"},
        {"no such table", "", {}, 5, "cannot be opened"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string sites = file("sites.csv");
        std::filesystem::remove(sites);
        if (!c.table.empty()) write_file(sites, c.table);
        std::vector<std::string> args = {"apply", file("t.zavi.json"), "--sites", sites, "--site",
                                         "Warsaw"};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        module_.clear_journal();
        EXPECT_EQ(run_cli(args), c.exit);
        EXPECT_NE(err_.str().find(c.says), std::string::npos) << err_.str();
        EXPECT_TRUE(module_.journal().empty()) << "a frame was sent";
    }
    EXPECT_EQ(backups(), 0u);

    // A table that sets the SIM codes needs --with-sim-codes before anything is sent.
    ASSERT_EQ(run_cli({"backup", file("sim.zavi.json"), "--with-sim-codes"}), kExitDone);
    write_file(file("sites.csv"), "site;sim_codes.pin\nWarsaw;4321\n");
    module_.clear_journal();
    EXPECT_EQ(
        run_cli({"apply", file("sim.zavi.json"), "--sites", file("sites.csv"), "--site", "Warsaw"}),
        kExitUsage);
    EXPECT_NE(err_.str().find("add --with-sim-codes"), std::string::npos) << err_.str();
    EXPECT_TRUE(module_.journal().empty());

    struct Usage {
        std::vector<std::string> args;
        int exit;
        const char* says;
    } const usages[] = {
        {{"template", file("full.zavi.json"), file("u.zavi.json")}, kExitUsage, "needs --only"},
        {{"template", file("full.zavi.json"), file("u.zavi.json"), "--only", "io_names,names"},
         kExitUsage,
         "unknown record \"names\""},
        {{"template", file("t.zavi.json"), file("u.zavi.json"), "--only", "accept_all"},
         kExitInvalidFile,
         "the file holds no accept_all"},
        {{"apply", file("t.zavi.json"), "--site", "Warsaw"}, kExitUsage, "needs --sites"},
    };
    for (const Usage& u : usages) {
        EXPECT_EQ(run_cli(u.args, false), u.exit) << u.says;
        EXPECT_NE(err_.str().find(u.says), std::string::npos) << err_.str();
    }
    EXPECT_FALSE(std::filesystem::exists(file("u.zavi.json")));
}

#ifdef ZAVI_CLI_PATH
// The tool as a program on a --state module: the dry run leaves the state file as it was, the
// apply changes the site's values in it and no other.
TEST(CliSitesProgram, ApplyOnAStateFile) {
    test::TempDir dir;
    const auto run = [&](const std::string& args) {
        const std::string line = "XDG_DATA_HOME='" + dir.file("data") +
                                 "' '" ZAVI_CLI_PATH "' --sim --state '" + dir.file("m.state") +
                                 "' " + args + " >>'" + dir.file("out") + "' 2>>'" +
                                 dir.file("err") + "'";
        const int status = std::system(line.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    const std::string full = dir.file("full.zavi.json"), t = dir.file("t.zavi.json");
    write_file(dir.file("sites.csv"),
               "site,io_names.out1_on,auto_reset.period_days\n"
               "Site 1,Syrena,\n"
               "Site 2,Alarm,2\n");
    ASSERT_EQ(run("backup '" + full + "'"), 0) << read_file(dir.file("err"));
    ASSERT_EQ(std::system(("'" ZAVI_CLI_PATH "' template '" + full + "' '" + t +
                           "' --only io_names,auto_reset 2>/dev/null")
                              .c_str()),
              0);
    const std::string before = read_file(dir.file("m.state"));
    const std::string apply = "apply '" + t + "' --sites '" + dir.file("sites.csv") + "' --site ";
    ASSERT_EQ(run(apply + "'Site 2' --dry-run"), 0) << read_file(dir.file("err"));
    EXPECT_EQ(read_file(dir.file("m.state")), before);
    EXPECT_NE(read_file(dir.file("out")).find("io_names.out1_on: \"Siren on\" -> \"Alarm\""),
              std::string::npos)
        << read_file(dir.file("out"));
    ASSERT_EQ(run(apply + "'Site 2'"), 0) << read_file(dir.file("err"));
    sim::Scenario after, was;
    std::string why;
    ASSERT_TRUE(sim::scenario_from_json(read_file(dir.file("m.state")), &after, &why)) << why;
    ASSERT_TRUE(sim::scenario_from_json(before, &was, &why)) << why;
    sim::ModuleState want = was.modules[0].state;
    want.io_names[8] = "Alarm";
    want.auto_reset = 2;
    EXPECT_EQ(after.modules[0].state, want);
}
#endif

}  // namespace
}  // namespace zavi::cli
