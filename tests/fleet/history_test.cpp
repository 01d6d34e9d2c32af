// The kept copies and their index: copies are never rewritten, the index reads after a line
// was cut short (also by a kill -9 in the middle of an entry), and the next entry is kept whole.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "common/append_file.h"
#include "config/config_file.h"
#include "fleet/history.h"
#include "fleet/identity.h"
#include "fleet/module_history.h"
#include "tests/config/config_sample.h"
#include "tests/support/temp_dir.h"

namespace zavi::fleet {
namespace {

namespace fs = std::filesystem;

HistoryEntry entry(const char* identity, const char* operation, const char* site = "") {
    HistoryEntry e;
    e.identity = identity;
    e.operation = operation;
    e.result = "saved";
    e.site = site;
    return e;
}

class History : public ::testing::Test {
  protected:
    std::string folder() const { return dir_.path().string(); }
    std::vector<HistoryEntry> index(int* skipped) const {
        std::vector<HistoryEntry> entries;
        std::string why;
        EXPECT_TRUE(read_index(folder(), &entries, skipped, &why)) << why;
        return entries;
    }
    HistoryEntry keep(HistoryEntry e,
                      const config::Configuration& cfg = config::test::sample_configuration()) {
        HistoryEntry kept;
        std::string why;
        EXPECT_TRUE(keep_copy(folder(), e, cfg, &kept, &why)) << why;
        return kept;
    }
    test::TempDir dir_;
};

TEST_F(History, CopiesAreNewFilesAndTheIndexListsThemInOrder) {
    config::Configuration cfg = config::test::sample_configuration();
    cfg.alarm_settings.t1_high = 41;
    const HistoryEntry a = keep(entry("A50285BI", "backup"), cfg);
    cfg.alarm_settings.t1_high = 42;
    const HistoryEntry b = keep(entry("A50285BI", "restore", "Shop \"North\"\n"), cfg);
    const HistoryEntry c = keep(entry("", "backup"));

    EXPECT_NE(a.file, b.file);  // same second, still two files
    EXPECT_EQ(c.identity, kUnknownIdentity);
    EXPECT_EQ(c.file.rfind("modules/unknown/", 0), 0u) << c.file;
    // The first copy still holds what it held.
    config::Configuration first;
    config::FileError error;
    std::vector<std::string> warnings;
    ASSERT_TRUE(config::parse_configuration(test::read_file(folder() + "/" + a.file), &first,
                                            &error, &warnings));
    EXPECT_EQ(first.alarm_settings.t1_high, 41);

    int skipped = -1;
    EXPECT_EQ(index(&skipped), (std::vector<HistoryEntry>{a, b, c}));
    EXPECT_EQ(skipped, 0);
}

// The index is split into lines by hand: a last line without its line end, and blank lines
// anywhere, read as they did when a string stream split it.
TEST_F(History, TheIndexReadsWhateverItsLineEnds) {
    const HistoryEntry a = entry("A50285BI", "backup"), b = entry("FTAAAA01", "restore");
    // The lines without their line ends.
    const std::string la = index_line(a).substr(0, index_line(a).size() - 1);
    const std::string lb = index_line(b).substr(0, index_line(b).size() - 1);
    const struct {
        std::string text;
        std::vector<HistoryEntry> entries;
    } cases[] = {
        {"", {}},
        {"\n\n", {}},
        {la + "\n" + lb + "\n", {a, b}},
        {la + "\n" + lb, {a, b}},
        {"\n" + la + "\n\n\n" + lb + "\n\n", {a, b}},
        {la, {a}},
    };
    fs::create_directories(fs::path(index_path(folder())).parent_path());
    for (const auto& c : cases) {
        test::write_file(index_path(folder()), c.text);
        int skipped = -1;
        EXPECT_EQ(index(&skipped), c.entries) << c.text;
        EXPECT_EQ(skipped, 0) << c.text;
    }
}

// An index line keeps the layout older lines have, so one index reads the same throughout.
TEST(HistoryIndex, ALineHoldsItsKeysInByteOrder) {
    HistoryEntry e = entry("A50285BI", "restore", "Shop \"N\"");
    e.time = "2026-12-09T04:21:20Z";
    e.file = "modules/A50285BI/1.zavi.json";
    EXPECT_EQ(index_line(e), R"({"file":"modules/A50285BI/1.zavi.json","identity":"A50285BI",)"
                             R"("operation":"restore","result":"saved","site":"Shop \"N\"",)"
                             R"("time":"2026-12-09T04:21:20Z"})"
                             "\n");
}

TEST_F(History, ATornOrForeignLineIsSkippedAndTheNextEntryStandsAlone) {
    const HistoryEntry a = keep(entry("A1", "backup"));
    const std::string torn = index_line(entry("A1", "restore")).substr(0, 30);
    const struct {
        const char* name;
        std::string tail;
    } cases[] = {
        {"cut short", torn},
        {"not an object", "[1,2]\n"},
        {"a field missing", "{\"time\":\"t\",\"identity\":\"A1\"}\n"},
        {"an identity that leaves the folder",
         "{\"time\":\"t\",\"identity\":\"..\",\"site\":\"\",\"operation\":\"o\",\"result\":\"r\","
         "\"file\":\"f\"}\n"},
        {"not UTF-8 and no JSON", "\xff\xfe\n"},
    };
    for (const auto& c : cases) {
        fs::remove_all(dir_.path() / "modules");
        const HistoryEntry first = keep(entry("A1", "backup"));
        std::string text = test::read_file(index_path(folder()));
        test::write_file(index_path(folder()), text + c.tail);
        const HistoryEntry next = keep(entry("A1", "restore"));
        int skipped = 0;
        EXPECT_EQ(index(&skipped), (std::vector<HistoryEntry>{first, next})) << c.name;
        EXPECT_EQ(skipped, 1) << c.name;
    }
    (void)a;
}

TEST_F(History, AKillInTheMiddleOfAnEntryLeavesAnIndexThatReads) {
    const HistoryEntry before = keep(entry("A1", "backup"));
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Half the line is on the disk when the parent's kill arrives.
        set_append_pause_for_tests([&] {
            const char c = 'x';
            (void)!write(ready[1], &c, 1);
            for (;;) pause();
        });
        HistoryEntry kept;
        std::string why;
        keep_copy(folder(), entry("A1", "restore"), config::test::sample_configuration(), &kept,
                  &why);
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    close(ready[0]), close(ready[1]);

    const std::string text = test::read_file(index_path(folder()));
    ASSERT_NE(text.back(), '\n');  // the entry was cut
    int skipped = 0;
    EXPECT_EQ(index(&skipped), std::vector<HistoryEntry>{before});
    EXPECT_EQ(skipped, 1);

    const HistoryEntry next = keep(entry("A1", "restore"));
    EXPECT_EQ(index(&skipped), (std::vector<HistoryEntry>{before, next}));
    EXPECT_EQ(skipped, 1);
}

TEST_F(History, EachCopyIsComparedWithTheOneBeforeOfTheSameModule) {
    config::Configuration cfg = config::test::sample_configuration();
    cfg.alarm_settings.t1_high = 30;
    keep(entry("A1", "backup", "North"), cfg);
    keep(entry("B2", "backup", "South"), cfg);
    cfg.alarm_settings.t1_high = 35;
    keep(entry("A1", "restore", "North"), cfg);
    keep(entry("A1", "restore", "North"), cfg);

    ModuleHistory h;
    std::string why;
    ASSERT_TRUE(module_history(folder(), "A1", &h, &why)) << why;
    ASSERT_EQ(h.items.size(), 3u);
    EXPECT_TRUE(h.items[0].changes.empty());  // newest: the same again
    EXPECT_FALSE(h.items[0].first);
    ASSERT_EQ(h.items[1].changes.size(), 1u);  // B2's copy in between does not count
    EXPECT_EQ(h.items[1].changes[0].path, "alarm_settings.thermometer1_high");
    EXPECT_EQ(h.items[1].changes[0].old_value, "30");
    EXPECT_TRUE(h.items[2].first);

    ASSERT_TRUE(module_history(folder(), "South", &h, &why)) << why;  // a site label
    ASSERT_EQ(h.items.size(), 1u);
    EXPECT_EQ(h.items[0].entry.identity, "B2");
    ASSERT_TRUE(module_history(folder(), "", &h, &why));
    EXPECT_EQ(h.items.size(), 4u);

    // A copy that is gone, or an entry that points outside the folder, is said, not followed.
    fs::remove(dir_.path() / h.items[1].entry.file);  // the first restore's
    std::string text = test::read_file(index_path(folder()));
    HistoryEntry outside = entry("A1", "backup");
    outside.file = "modules/../../etc/passwd";
    test::write_file(index_path(folder()), text + index_line(outside));
    ASSERT_TRUE(module_history(folder(), "A1", &h, &why));
    ASSERT_EQ(h.items.size(), 4u);
    EXPECT_NE(h.items[0].problem.find("not a copy in the history folder"), std::string::npos);
    EXPECT_NE(h.items[1].problem.find("the copy before it"), std::string::npos);
    EXPECT_NE(h.items[2].problem.find("cannot be opened"), std::string::npos) << h.items[2].problem;
    EXPECT_TRUE(h.items[3].first);
    EXPECT_TRUE(h.items[3].problem.empty());
}

// A module may hold values the program would not write (a backup keeps them); its copies are
// still compared.
TEST_F(History, CopiesOfValuesTheProgramWouldNotWriteAreCompared) {
    config::Configuration cfg = config::test::sample_configuration();
    keep(entry("A1", "backup"), cfg);
    cfg.alarm_settings.t1_high = -10;  // below thermometer 1's low limit
    keep(entry("A1", "backup"), cfg);
    ModuleHistory h;
    std::string why;
    ASSERT_TRUE(module_history(folder(), "A1", &h, &why)) << why;
    ASSERT_EQ(h.items.size(), 2u);
    EXPECT_EQ(h.items[0].problem, "");
    ASSERT_EQ(h.items[0].changes.size(), 1u);
    EXPECT_EQ(h.items[0].changes[0].new_value, "-10");
}

}  // namespace
}  // namespace zavi::fleet
