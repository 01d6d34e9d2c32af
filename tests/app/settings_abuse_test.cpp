// The settings file as something other than a tidy one-byte file: huge, read-only, unreadable,
// a symbolic link that leads nowhere, a write-protected folder, a byte no menu item writes.
// Whatever it is, start-up either goes on in a language or ends with "Operation failed", and
// nothing crashes.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "app/settings.h"
#include "resources/ids.h"
#include "tests/support/main_window_fixture.h"
#include "ui/ui_language.h"

namespace zavi {
namespace {

namespace fs = std::filesystem;
using test::MainWindowTest;
using test::write_file;

// Root (or CAP_DAC_OVERRIDE) reads and writes whatever the permission bits say.
bool permissions_are_enforced(const std::string& folder) {
    const std::string probe = folder + "/permission-probe";
    write_file(probe, "x");
    ::chmod(probe.c_str(), 0);
    std::FILE* f = std::fopen(probe.c_str(), "rb");
    if (f) std::fclose(f);
    ::chmod(probe.c_str(), 0600);
    fs::remove(probe);
    return f == nullptr;
}

#define SKIP_UNLESS_PERMISSIONS_ENFORCED()                                                \
    if (!permissions_are_enforced(dir.path().string()))                                   \
    GTEST_SKIP() << "file permissions are not enforced for this user (root?), so a file " \
                    "cannot be made unreadable or unwritable here"

class SettingsAbuse : public MainWindowTest {
  protected:
    void expect_running_in(uint8_t language, const char* refresh) {
        EXPECT_FALSE(view().is_closed());
        EXPECT_TRUE(view().messages().empty());
        EXPECT_EQ(ui_language, language);
        EXPECT_EQ(view().text(IDC_REFRESH), refresh);
    }
    void expect_operation_failed() {
        expect_only_box("Operation failed", MessageIcon::warning, "Error");
        EXPECT_TRUE(view().is_closed());
        EXPECT_TRUE(commands().empty()) << "the module is not even looked for";
    }
};

TEST_F(SettingsAbuse, HugeFileIsReplacedByEnglish) {
    // Sparse, so it costs nothing on disk; the loader must not try to read it whole.
    write_file(settings_path, "");
    fs::resize_file(settings_path, uint64_t{5} << 30);
    start_default();
    expect_running_in(1, "Refresh");
    EXPECT_EQ(fs::file_size(settings_path), 1u);
    EXPECT_EQ(settings_bytes(), "\x01");
}

TEST_F(SettingsAbuse, LinkThatLeadsNowhereEndsWithOperationFailed) {
    // Neither readable nor creatable whoever runs the test.
    struct Case {
        const char* what;
        std::string target;
    };
    const Case cases[] = {
        {"link to itself", settings_path},
        {"link into a missing folder", dir.file("missing/config.db")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        fs::create_symlink(c.target, settings_path);
        start_default();
        expect_operation_failed();
        EXPECT_FALSE(fs::exists(dir.file("missing")));
        fs::remove(settings_path);
    }
}

TEST_F(SettingsAbuse, LinkToAGoodFileIsFollowed) {
    write_file(dir.file("real.db"), std::string("\x00", 1));
    fs::create_symlink(dir.file("real.db"), settings_path);
    start_default();
    expect_running_in(0, "Aktualizuj");
    view().click(IDM_GERMAN);
    view().press_close_box();
    EXPECT_EQ(test::read_file(dir.file("real.db")), "\x02");
}

TEST_F(SettingsAbuse, ByteNoMenuWritesShowsGermanAndIsKept) {
    for (uint8_t byte : {0x03, 0x80, 0xFF}) {
        SCOPED_TRACE(int(byte));
        TearDown();
        SetUp();
        write_file(settings_path, std::string(1, static_cast<char>(byte)));
        start_default();
        expect_running_in(byte, "Aktualisieren");
        EXPECT_TRUE(view().menu(IDM_GERMAN).checked);
        view().click(IDC_REFRESH);  // the status line and the panels in that language
        view().click(IDM_ABOUT);
        EXPECT_TRUE(view().messages().empty());
        view().press_close_box();
        EXPECT_TRUE(view().is_closed());
        EXPECT_EQ(settings_bytes(), std::string(1, static_cast<char>(byte)));
    }
}

TEST_F(SettingsAbuse, ReadOnlyFileIsUsedAndAFailedSaveAtTheEndIsIgnored) {
    write_file(settings_path, "\x02");
    ::chmod(settings_path.c_str(), 0444);
    start_default();
    expect_running_in(2, "Aktualisieren");
    view().click(IDM_POLISH);
    view().press_close_box();
    EXPECT_TRUE(view().is_closed());
    EXPECT_TRUE(view().messages().empty());
    SKIP_UNLESS_PERMISSIONS_ENFORCED();
    EXPECT_EQ(settings_bytes(), "\x02") << "the read-only file keeps the language it had";
}

TEST_F(SettingsAbuse, ReadOnlyFileOfTheWrongSizeEndsWithOperationFailed) {
    SKIP_UNLESS_PERMISSIONS_ENFORCED();
    write_file(settings_path, std::string("\x01\x01", 2));
    ::chmod(settings_path.c_str(), 0444);
    start_default();
    expect_operation_failed();
    EXPECT_EQ(settings_bytes(), std::string("\x01\x01", 2));
}

TEST_F(SettingsAbuse, UnreadableFileEndsWithOperationFailed) {
    SKIP_UNLESS_PERMISSIONS_ENFORCED();
    write_file(settings_path, "\x01");
    ::chmod(settings_path.c_str(), 0);
    start_default();
    expect_operation_failed();
}

TEST_F(SettingsAbuse, UnreadableButWritableFileIsWrittenAnew) {
    SKIP_UNLESS_PERMISSIONS_ENFORCED();
    write_file(settings_path, "\x00");
    ::chmod(settings_path.c_str(), 0200);
    start_default();
    expect_running_in(1, "Refresh");
    ::chmod(settings_path.c_str(), 0600);
    EXPECT_EQ(settings_bytes(), "\x01");
}

TEST_F(SettingsAbuse, WriteProtectedFolderWithoutTheFileEndsWithOperationFailed) {
    SKIP_UNLESS_PERMISSIONS_ENFORCED();
    ::chmod(dir.path().c_str(), 0555);
    start_default();
    ::chmod(dir.path().c_str(), 0700);
    expect_operation_failed();
    EXPECT_FALSE(fs::exists(settings_path));
}

}  // namespace
}  // namespace zavi
