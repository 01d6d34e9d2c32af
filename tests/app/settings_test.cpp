#include "app/settings.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"
#include "ui/ui_language.h"

namespace zavi {
namespace {

using test::read_file;
using test::write_file;

class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override { ui_language = 0x55; }  // a marker no load produces by accident
    test::TempDir dir;
    std::string path = dir.file("config.db");
};

TEST_F(SettingsFile, LoadTakesTheSingleByteUnchecked) {
    for (uint8_t byte : {0x00, 0x01, 0x02, 0x07, 0xFF}) {
        write_file(path, std::string(1, static_cast<char>(byte)));
        EXPECT_EQ(load_settings(path.c_str()), 0);
        EXPECT_EQ(ui_language, byte);
    }
}

TEST_F(SettingsFile, LoadFailsWithoutTouchingTheLanguage) {
    struct Case {
        const char* what;
        std::string contents;  // empty with make_dir: a directory of that name
        bool make_dir;
        bool create;
    };
    const Case cases[] = {
        {"missing", "", false, false},
        {"empty", "", false, true},
        {"two bytes", std::string("\x00\x01", 2), false, true},
        {"large", std::string(100000, '\x01'), false, true},
        {"directory", "", true, false},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(path);
        if (c.create) write_file(path, c.contents);
        if (c.make_dir) std::filesystem::create_directory(path);
        ui_language = 0x55;
        EXPECT_EQ(load_settings(path.c_str()), 1) << c.what;
        EXPECT_EQ(ui_language, 0x55) << c.what;
    }
}

TEST_F(SettingsFile, SaveReplacesTheFileWithOneByte) {
    write_file(path, "old contents");
    ui_language = 2;
    ASSERT_EQ(save_settings(path.c_str()), 0);
    EXPECT_EQ(read_file(path), std::string("\x02", 1));

    ui_language = 0;
    ASSERT_EQ(save_settings(path.c_str()), 0);
    EXPECT_EQ(read_file(path), std::string("\x00", 1));
    ui_language = 9;
    EXPECT_EQ(load_settings(path.c_str()), 0);
    EXPECT_EQ(ui_language, 0);
}

TEST_F(SettingsFile, SaveFailsWhenTheFileCannotBeCreated) {
    std::filesystem::create_directory(path);
    EXPECT_EQ(save_settings(path.c_str()), 1);
    EXPECT_EQ(save_settings(dir.file("no-such-folder/config.db").c_str()), 1);
}

}  // namespace
}  // namespace zavi
