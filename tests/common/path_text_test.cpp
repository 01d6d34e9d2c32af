#include "common/path_text.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/file_queries.h"

namespace zavi {
namespace {

namespace fs = std::filesystem;

// The text functions must take paths apart exactly as the library's paths do, since the history
// index and the messages carry their results.
TEST(PathText, AgreesWithTheLibraryPaths) {
    const char* cases[] = {"",
                           "a",
                           "/",
                           "//",
                           "///",
                           "//a",
                           "/a",
                           "a/",
                           "a//b",
                           "a/b//",
                           "./a",
                           "a/./b",
                           "/a/b",
                           "modules/x",
                           "modules/../x",
                           "//s/x",
                           "a/b/c.zavi.json",
                           "/x//zavi-gsm/backups",
                           "..",
                           "C:",
                           "C:a",
                           "a\\b"};
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        const fs::path p(text);
        EXPECT_EQ(join_path(text, "n"), (p / "n").string());
        EXPECT_EQ(parent_folder(text), p.parent_path().string());
        EXPECT_EQ(file_name(text), p.filename().string());
        EXPECT_EQ(generic_path(text), p.generic_string());
        std::vector<std::string> library;
        for (const fs::path& part : p)
            if (!part.empty())
                library.push_back(part == "/" || part == "//" || part == "///" ? "/"
                                                                               : part.string());
        EXPECT_EQ(path_parts(text), library);
    }
}

TEST(FileQueries, TellFilesFoldersLinksAndOthersApart) {
    const std::string dir = testing::TempDir() + "file_queries_" + std::to_string(::getpid());
    fs::remove_all(dir);
    fs::create_directory(dir);
    std::ofstream(dir + "/seven") << "1234567";
    fs::create_symlink(dir + "/seven", dir + "/link");
    fs::create_symlink(dir + "/nowhere", dir + "/dangling");
    ASSERT_EQ(::mkfifo((dir + "/fifo").c_str(), 0600), 0);
    struct Case {
        std::string path;
        bool follow;
        PathKind kind;
        std::uint64_t size;
        bool link;
    } cases[] = {
        {dir + "/seven", true, PathKind::file, 7, false},
        {dir, true, PathKind::folder, 0, false},
        {dir + "/", true, PathKind::folder, 0, false},
        {dir + "/missing", true, PathKind::missing, 0, false},
        {dir + "/seven/below", true, PathKind::missing, 0, false},
        {dir + "/link", true, PathKind::file, 7, false},
        {dir + "/link", false, PathKind::other, 0, true},
        {dir + "/dangling", true, PathKind::missing, 0, false},
        {dir + "/dangling", false, PathKind::other, 0, true},
        {dir + "/fifo", true, PathKind::other, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + (c.follow ? " followed" : " not followed"));
        const FileFacts facts = file_facts(c.path, c.follow);
        EXPECT_EQ(facts.kind, c.kind);
        EXPECT_EQ(facts.size, c.size);
        EXPECT_EQ(facts.link, c.link);
    }
    std::FILE* f = open_for_reading(dir + "/seven");
    ASSERT_NE(f, nullptr);
    char text[8] = {};
    EXPECT_EQ(std::fread(text, 1, sizeof text, f), 7u);
    EXPECT_STREQ(text, "1234567");
    std::fclose(f);
    EXPECT_EQ(open_for_reading(dir + "/missing"), nullptr);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace zavi
