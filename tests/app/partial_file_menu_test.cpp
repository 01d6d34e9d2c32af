// File → Compare and Restore with a partial file: only its records are read, compared and
// written (journal), and the automatic backup holds those records alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "config/config_file.h"
#include "config/files.h"
#include "config/partial.h"
#include "resources/ids.h"
#include "sim/demo_scenario.h"
#include "tests/support/main_window_fixture.h"

namespace zavi::test {
namespace {

// Read and write commands of the records the template leaves out (all but Auto-Reset).
const std::set<uint8_t> kNotHeld = {6,  7,  9,  10, 11, 12, 13, 14, 16,
                                    17, 18, 19, 22, 23, 24, 25, 26, 27};

class PartialFileMenu : public MainWindowTest {
  protected:
    // A template holding the Auto-Reset alone, with 4 days, cut from a File → Backup.
    std::string auto_reset_template() {
        shell.chosen_files = {dir.file("m")};
        view().click(IDM_BACKUP);
        config::Configuration full, t;
        std::string text, why;
        config::FileError error;
        std::vector<std::string> warnings;
        EXPECT_TRUE(config::read_text_file(dir.file("m.zavi.json"), 1 << 20, &text, &why)) << why;
        EXPECT_TRUE(config::parse_configuration(text, &full, &error, &warnings)) << error.message;
        EXPECT_TRUE(config::make_template(full, {"auto_reset"}, &t, &why)) << why;
        t.auto_reset_days = 4;
        const std::string path = dir.file("t.zavi.json");
        EXPECT_TRUE(config::write_configuration_file(path, t, &why)) << why;
        return path;
    }
    void answer_differences(int button) {
        view().on_run_dialog([this, button](int, DialogLogic& logic) {
            FakeDialogView child(IDD_DIFFERENCES, &logic);
            child.init();
            differences = child.text(IDC_DIFF_LIST);
            child.click(button);
        });
    }
    // Up to the status read with which the window refreshes its panels after a restore.
    void expect_no_unheld_command() {
        for (const auto& e : sim().journal()) {
            if (e.command == 8) break;
            EXPECT_FALSE(kNotHeld.count(e.command)) << "command " << int(e.command);
        }
    }
    std::string differences;
};

TEST_F(PartialFileMenu, CompareAndRestoreTouchTheHeldRecordsAlone) {
    start(sim::demo_scenario());
    const std::string path = auto_reset_template();
    sim().state(0).auto_status = 3;  // left out of the template: neither shown nor written
    const sim::ModuleState before = sim().state(0);

    sim().clear_journal();
    shell.chosen_files = {path};
    answer_differences(IDC_DIFF_OK);
    view().click(IDM_COMPARE);
    EXPECT_EQ(differences.find("Auto-Status"), std::string::npos) << differences;
    EXPECT_NE(differences.find("Auto-Reset"), std::string::npos) << differences;
    expect_no_unheld_command();

    sim().clear_journal();
    shell.chosen_files = {path};
    view().answer_next(MessageAnswer::ok);
    view().click(IDM_RESTORE);
    expect_no_unheld_command();
    sim::ModuleState want = before;
    want.auto_reset = 4;
    EXPECT_EQ(sim().state(0), want);
    ASSERT_FALSE(std::filesystem::is_empty(backup_folder));
    const auto backup = std::filesystem::directory_iterator(backup_folder)->path();
    std::string text, why;
    ASSERT_TRUE(config::read_text_file(backup.string(), 1 << 20, &text, &why)) << why;
    EXPECT_NE(text.find("\"partial\": true"), std::string::npos);
    EXPECT_NE(text.find("\"auto_reset\""), std::string::npos);
    EXPECT_EQ(text.find("\"auto_status\""), std::string::npos);
}

}  // namespace
}  // namespace zavi::test
