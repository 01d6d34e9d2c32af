// Files: written whole or not at all, automatic backups never overwrite one another, and the
// backup folder follows the XDG rules.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "config/config_file.h"
#include "config/files.h"
#include "tests/config/config_sample.h"
#include "tests/support/temp_dir.h"

namespace zavi::config {
namespace {

namespace fs = std::filesystem;

TEST(ConfigFiles, AtomicWriteReplacesWholeAndLeavesNoPartFile) {
    zavi::test::TempDir dir;
    const std::string path = dir.file("a.zavi.json");
    std::string error;
    ASSERT_TRUE(write_file_safely(path, "old", FileAccess::normal, &error));
    ASSERT_TRUE(write_file_safely(path, "new text", FileAccess::normal, &error));
    EXPECT_EQ(zavi::test::read_file(path), "new text");
    EXPECT_FALSE(fs::exists(path + ".part"));
    // A folder where the file should go: refused, and the folder is left alone.
    fs::create_directory(dir.file("sub"));
    EXPECT_FALSE(write_file_safely(dir.file("sub"), "x", FileAccess::normal, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::is_directory(dir.file("sub")));
    EXPECT_FALSE(fs::exists(dir.file("sub.part")));
    EXPECT_FALSE(write_file_safely(dir.file("missing/x.json"), "x", FileAccess::normal, &error));

    std::string text;
    EXPECT_FALSE(read_text_file(dir.file("sub"), 100, &text, &error));
    EXPECT_TRUE(read_text_file(path, 8, &text, &error));
    EXPECT_FALSE(read_text_file(path, 7, &text, &error));
    EXPECT_EQ(text, "new text");
}

TEST(ConfigFiles, AutomaticBackupsGetNumberedNamesAndReadBack) {
    zavi::test::TempDir dir;
    const std::string folder = (dir.path() / "deep" / "backups").string();
    std::vector<std::string> paths;
    for (int i = 0; i < 3; ++i) {
        std::string path, error;
        ASSERT_TRUE(save_automatic_backup(folder, test::sample_configuration(), &path, &error))
            << error;
        paths.push_back(path);
    }
    // Within one second the names are NAME, NAME-2, NAME-3 (or a later second's name).
    EXPECT_NE(paths[0], paths[1]);
    EXPECT_NE(paths[1], paths[2]);
    const std::string first = fs::path(paths[0]).filename().string();
    ASSERT_EQ(first.size(), std::string("YYYYMMDD-HHMMSS.zavi.json").size()) << first;
    EXPECT_EQ(first.substr(8, 1), "-");
    for (const std::string& p : paths) {
        Configuration back;
        FileError error;
        std::vector<std::string> warnings;
        ASSERT_TRUE(parse_configuration(zavi::test::read_file(p), &back, &error, &warnings)) << p;
        back.saved_at = test::sample_configuration().saved_at;
        EXPECT_EQ(back, test::sample_configuration());
    }
    std::string path, error;
    EXPECT_FALSE(save_automatic_backup("", test::sample_configuration(), &path, &error));
}

TEST(ConfigFiles, BackupFolderFollowsXdgDataHome) {
    const char* old_xdg = std::getenv("XDG_DATA_HOME");
    const char* old_home = std::getenv("HOME");
    const std::string saved_xdg = old_xdg ? old_xdg : "", saved_home = old_home ? old_home : "";
    struct Case {
        const char* xdg;  // null: not set
        const char* home;
        const char* folder;
    };
    const Case cases[] = {
        {"/data", "/home/ann", "/data/zavi-gsm/backups"},
        {nullptr, "/home/ann", "/home/ann/.local/share/zavi-gsm/backups"},
        {"", "/home/ann", "/home/ann/.local/share/zavi-gsm/backups"},
        {"relative", "/home/ann", "/home/ann/.local/share/zavi-gsm/backups"},
        {nullptr, nullptr, ""},
    };
    for (const Case& c : cases) {
        if (c.xdg)
            setenv("XDG_DATA_HOME", c.xdg, 1);
        else
            unsetenv("XDG_DATA_HOME");
        if (c.home)
            setenv("HOME", c.home, 1);
        else
            unsetenv("HOME");
        EXPECT_EQ(automatic_backup_folder(), c.folder);
    }
    if (old_xdg)
        setenv("XDG_DATA_HOME", saved_xdg.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
    if (old_home)
        setenv("HOME", saved_home.c_str(), 1);
    else
        unsetenv("HOME");
}

}  // namespace
}  // namespace zavi::config
