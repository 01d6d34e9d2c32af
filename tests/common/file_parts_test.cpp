// The pieces both platforms' file writers share: the temporary name beside the target, the
// mended line end of a log, the split write the crash tests rely on.
#include "common/file_parts.h"

#include <gtest/gtest.h>

#include <regex>
#include <vector>

#include "common/append_file.h"

namespace zavi {
namespace {

TEST(FileParts, TemporaryNamesStayInTheTargetsFolder) {
    const std::string long_name(300, 'n');
    const struct {
        std::string target;
        const char* separators;
        std::string folder_and_name;  // what comes before the random suffix
    } cases[] = {
        {"/data/a.json", "/", "/data/.a.json"},
        {"a.json", "/", ".a.json"},
        {"C:\\Users\\ewa\\a.json", "\\/", "C:\\Users\\ewa\\.a.json"},
        {"C:\\Users/ewa\\a.json", "\\/", "C:\\Users/ewa\\.a.json"},
        {"C:\\Users\\a.json", "/", ".C:\\Users\\a.json"},  // no folder on POSIX
        {"/d/" + long_name, "/", "/d/." + long_name.substr(0, 200)},
    };
    const std::regex suffix("\\.[0-9a-f]{12}\\.tmp");
    for (const auto& c : cases) {
        const std::string first = temporary_name(c.target, 1234, c.separators);
        const std::string second = temporary_name(c.target, 1234, c.separators);
        ASSERT_EQ(first.substr(0, c.folder_and_name.size()), c.folder_and_name) << c.target;
        EXPECT_TRUE(std::regex_match(first.substr(c.folder_and_name.size()), suffix)) << first;
        EXPECT_NE(first, second) << c.target;
    }
}

TEST(FileParts, ACutLineIsEndedBeforeTheNextAndPiecesFollowThePause) {
    EXPECT_EQ(line_to_append("b\n", false), "b\n");
    EXPECT_EQ(line_to_append("b\n", true), "\nb\n");

    std::vector<std::string> events;
    const auto write = [&](std::string_view piece) {
        events.emplace_back(piece);
        return piece != "fail";
    };
    const auto sync = [&] { events.emplace_back("sync"); };
    EXPECT_TRUE(append_in_pieces("abcde\n", write, sync));
    EXPECT_EQ(events, (std::vector<std::string>{"abcde\n"}));

    events.clear();
    set_append_pause_for_tests([&] { events.emplace_back("pause"); });
    EXPECT_TRUE(append_in_pieces("abcde\n", write, sync));
    EXPECT_EQ(events, (std::vector<std::string>{"abc", "sync", "pause", "de\n"}));
    events.clear();
    EXPECT_FALSE(append_in_pieces("failfail", write, sync));  // the second half never goes
    EXPECT_EQ(events, (std::vector<std::string>{"fail"}));
    set_append_pause_for_tests(nullptr);
}

}  // namespace
}  // namespace zavi
