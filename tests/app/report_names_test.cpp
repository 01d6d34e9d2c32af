// The remembered site and installer: a file of their own beside config.db, read defensively
// (whatever a user or a crash left there gives empty names, never a crash or a runaway text).
#include <gtest/gtest.h>

#include <string>

#include "app/settings.h"
#include "tests/support/temp_dir.h"

namespace zavi::test {
namespace {

TEST(ReportNames, LiveBesideTheSettingsFile) {
    EXPECT_EQ(report_names_path("config.db"), "report.json");
    EXPECT_EQ(report_names_path("/tmp/x/config.db"), "/tmp/x/report.json");
    EXPECT_EQ(report_names_path("C:\\Users\\a\\config.db"), "C:\\Users\\a\\report.json");
}

TEST(ReportNames, ReadBackAsSavedAndOddFilesGiveEmptyNames) {
    TempDir dir;
    const std::string path = dir.file("report.json");
    ASSERT_TRUE(save_report_names(path, {"Dom \"pod\" <Lipą>", "Zofia Żak"}));
    const ReportNames back = load_report_names(path);
    EXPECT_EQ(back.site, "Dom \"pod\" <Lipą>");
    EXPECT_EQ(back.installer, "Zofia Żak");
    // The file's layout stays as it always was.
    EXPECT_EQ(read_file(path),
              "{\n  \"installer\": \"Zofia Żak\",\n  \"site\": \"Dom \\\"pod\\\" <Lipą>\"\n}\n");

    std::string sixty_one;
    for (int i = 0; i < 61; ++i) sixty_one += "ż";
    const struct {
        const char* file;
        std::string site, installer;
    } rows[] = {
        {"", "", ""},
        {"not json", "", ""},
        {"[\"a\", \"b\"]", "", ""},
        {"{\"site\": 5, \"installer\": null}", "", ""},
        {"{\"site\": \"a\\nb\\r\"}", "a b ", ""},
        {"{\"installer\": \"only\"}", "", "only"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        write_file(path, row.file);
        const ReportNames names = load_report_names(path);
        EXPECT_EQ(names.site, row.site);
        EXPECT_EQ(names.installer, row.installer);
    }
    // Longer than the edits take: cut at a whole character.
    write_file(path, "{\"site\": \"" + sixty_one + "\"}");
    EXPECT_EQ(load_report_names(path).site, sixty_one.substr(0, sixty_one.size() - 2));
    // Built in place: GCC 12 warns falsely (-Warray-bounds) on a temporary string's operator+.
    std::string padded(5000, ' ');
    padded += "{\"site\": \"big\"}";
    write_file(path, padded);
    EXPECT_EQ(load_report_names(path).site, "");
    EXPECT_EQ(load_report_names(dir.file("missing.json")).site, "");
    EXPECT_FALSE(save_report_names(dir.file("no/such/folder/report.json"), {"a", "b"}));
}

}  // namespace
}  // namespace zavi::test
