// zavi-gsm-cli as a program, for what only separate processes show: the exit code for each kind
// of target, output that cannot be written, and runs at the same time (one backup file, the
// automatic backups of two modules, one --state file).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "config/config_file.h"
#include "sim/demo_scenario.h"
#include "sim/simulator.h"
#include "tests/support/temp_dir.h"

namespace zavi::cli {
namespace {

namespace fs = std::filesystem;
using test::read_file;
using test::write_file;

// The command's exit code; `command` is a shell line in which $CLI is the tool.
int shell(const std::string& command) {
    const std::string line = "CLI='" ZAVI_CLI_PATH "'; " + command;
    const int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool parses(const std::string& path, config::Configuration* cfg) {
    config::FileError error;
    std::vector<std::string> warnings;
    return config::parse_configuration(read_file(path), cfg, &error, &warnings);
}

std::string state_with_name(const std::string& name) {
    sim::Scenario s = sim::demo_scenario();
    s.modules[0].state.io_names[0] = name;
    return sim::scenario_to_json(s);
}

TEST(CliFiles, EachKindOfTargetGivesItsExitCode) {
    struct Row {
        const char* command;
        const char* target;  // what is at the path before
        int exit;
        const char* says;
    } const rows[] = {
        {"backup", "regular", 0, "saved"},
        {"backup", "symlink", 0, "saved"},
        {"backup", "FIFO", 5, "is a FIFO (named pipe), not a regular file"},
        {"backup", "folder", 5, "is a folder, not a regular file"},
        {"numbers export", "FIFO", 5, "is a FIFO (named pipe), not a regular file"},
        {"numbers export", "symlink", 0, "numbers saved"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.command) + " over a " + row.target);
        test::TempDir dir;
        const std::string target = dir.file("out"), victim = dir.file("victim");
        write_file(victim, "kept");
        const std::string kind = row.target;
        if (kind == "regular") write_file(target, "old");
        if (kind == "symlink") {
            ASSERT_EQ(::symlink(victim.c_str(), target.c_str()), 0);
        }
        if (kind == "FIFO") {
            ASSERT_EQ(::mkfifo(target.c_str(), 0600), 0);
        }
        if (kind == "folder") fs::create_directory(target);
        const std::string err = dir.file("err");
        EXPECT_EQ(shell("timeout 20 \"$CLI\" --sim " + std::string(row.command) + " '" + target +
                        "' 2>'" + err + "'"),
                  row.exit);
        EXPECT_NE(read_file(err).find(row.says), std::string::npos) << read_file(err);
        EXPECT_EQ(read_file(victim), "kept");
        struct stat st {};
        ASSERT_EQ(::lstat(target.c_str(), &st), 0);
        if (row.exit == 0) {
            EXPECT_TRUE(S_ISREG(st.st_mode));
        }
        if (kind == "FIFO") {
            EXPECT_TRUE(S_ISFIFO(st.st_mode));
        }
        if (kind == "folder") {
            EXPECT_TRUE(S_ISDIR(st.st_mode));
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3)
            << "out, victim and err only";
    }
}

TEST(CliFiles, OutputThatCannotBeWrittenIsAFailure) {
    test::TempDir dir;
    const std::string a = dir.file("a.zavi.json"), b = dir.file("b.zavi.json");
    ASSERT_EQ(shell("\"$CLI\" --sim backup '" + a + "' 2>/dev/null"), 0);
    config::Configuration cfg;
    ASSERT_TRUE(parses(a, &cfg));
    cfg.io_names[3] = "other";
    write_file(b, config::configuration_to_json(cfg));
    const std::string err = dir.file("err");
    struct Row {
        std::string command;
        int exit;
    } const rows[] = {
        {"--sim status --json >/dev/full", 5},
        {"--sim status >/dev/full", 5},
        {"diff '" + a + "' '" + b + "' >/dev/full", 5},
        {"--help >/dev/full", 5},
        // The same commands where the output arrives.
        {"--sim status --json >/dev/null", 0},
        {"diff '" + a + "' '" + b + "' >/dev/null", 1},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(shell("\"$CLI\" " + row.command + " 2>'" + err + "'"), row.exit) << row.command;
        const bool told = read_file(err).find("standard output") != std::string::npos;
        EXPECT_EQ(told, row.exit == 5) << row.command << ": " << read_file(err);
    }
}

TEST(CliFiles, BackupsIntoOneFileAtOnceLeaveOneWholeDocument) {
    test::TempDir dir;
    const std::string target = dir.file("same.zavi.json");
    std::string line;
    for (int i = 0; i < 4; ++i)
        line += "(\"$CLI\" --sim backup '" + target + "' 2>'" + dir.file("err") +
                std::to_string(i) + "'; echo $? >'" + dir.file("rc") + std::to_string(i) + "') & ";
    ASSERT_EQ(shell(line + "wait"), 0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(read_file(dir.file("rc") + std::to_string(i)), "0\n");
        EXPECT_NE(read_file(dir.file("err") + std::to_string(i)).find("saved " + target),
                  std::string::npos);
    }
    config::Configuration cfg;
    EXPECT_TRUE(parses(target, &cfg)) << read_file(target);
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.path())) names.insert(e.path().filename());
    EXPECT_EQ(names.size(), 9u) << "the backup and each run's rc and err, no temporary file";
}

TEST(CliFiles, RestoresOfTwoModulesInOneSecondKeepTheirOwnBackups) {
    test::TempDir dir;
    write_file(dir.file("A.state"), state_with_name("module A"));
    write_file(dir.file("B.state"), state_with_name("module B"));
    write_file(dir.file("F.state"), state_with_name("from the file"));
    const std::string file = dir.file("f.zavi.json");
    ASSERT_EQ(shell("\"$CLI\" --sim --state '" + dir.file("F.state") + "' backup '" + file +
                    "' 2>/dev/null"),
              0);
    std::string line = "export XDG_DATA_HOME='" + dir.file("data") + "'; ";
    for (const char* m : {"A", "B"})
        line += "\"$CLI\" --sim --state '" + dir.file(m) + ".state' restore '" + file + "' 2>'" +
                dir.file(m) + ".err' & ";
    ASSERT_EQ(shell(line + "wait"), 0);
    const fs::path folder = dir.path() / "data" / "zavi-gsm" / "backups";
    struct stat st {};
    ASSERT_EQ(::stat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    std::set<std::string> held;
    for (const auto& e : fs::directory_iterator(folder)) {
        config::Configuration cfg;
        ASSERT_TRUE(parses(e.path(), &cfg)) << e.path();
        held.insert(cfg.io_names[0]);
    }
    EXPECT_EQ(held, (std::set<std::string>{"module A", "module B"}));
    // Each run names the backup that holds its own module.
    for (const char* m : {"A", "B"}) {
        const std::string err = read_file(dir.file(m) + ".err");
        EXPECT_NE(err.find("restored and verified"), std::string::npos) << err;
        const std::string key = "automatic backup: ";
        const std::size_t at = err.find(key);
        ASSERT_NE(at, std::string::npos) << err;
        const std::string path = err.substr(at + key.size(), err.find('\n', at) - at - key.size());
        config::Configuration cfg;
        ASSERT_TRUE(parses(path, &cfg)) << path;
        EXPECT_EQ(cfg.io_names[0], std::string("module ") + m);
    }
}

TEST(CliFiles, SimulatedRunsOnOneStateFileTakeTurns) {
    test::TempDir dir;
    const std::string state = dir.file("module.state");
    const char* numbers[] = {"48600100301", "48600100302", "48600100303", "48600100304"};
    std::string line;
    for (int i = 0; i < 4; ++i) {
        const std::string csv = dir.file("n") + std::to_string(i) + ".csv";
        write_file(csv, std::string(numbers[i]) + "\n");
        line +=
            "\"$CLI\" --sim --state '" + state + "' numbers import '" + csv + "' 2>/dev/null & ";
    }
    ASSERT_EQ(shell(line + "wait"), 0);
    const std::string saved = read_file(state);
    sim::Scenario scenario;
    std::string error;
    ASSERT_TRUE(sim::scenario_from_json(saved, &scenario, &error)) << error;
    for (const char* n : numbers) EXPECT_NE(saved.find(n), std::string::npos) << n << " was lost";
}

}  // namespace
}  // namespace zavi::cli
