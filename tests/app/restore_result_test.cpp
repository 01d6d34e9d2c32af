// The program's Restore: one read of the module for the differences and the write, the result
// box naming the automatic backup, and an end of session during the write waiting for it. The
// box for a failed write is checked end to end in each language.
#include <gtest/gtest.h>

#include <filesystem>

#include "resources/ids.h"
#include "sim/demo_scenario.h"
#include "tests/support/main_window_fixture.h"
#include "ui/ui_language.h"

namespace zavi::test {
namespace {

class RestoreResult : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        start(sim::demo_scenario());
        back_up();
    }
    void back_up() {
        shell.chosen_files = {dir.file("module")};
        view().click(IDM_BACKUP);
        ASSERT_TRUE(std::filesystem::exists(dir.file("module.zavi.json")));
    }
    // Restores the backup made above: the differences are accepted and the write confirmed.
    void restore() {
        view().on_run_dialog([](int, DialogLogic& logic) {
            FakeDialogView child(IDD_DIFFERENCES, &logic);
            child.init();
            child.click(IDC_DIFF_OK);
        });
        shell.chosen_files = {dir.file("module.zavi.json")};
        view().clear_messages();
        sim().clear_journal();
        view().answer_next(MessageAnswer::ok);
        view().click(IDM_RESTORE);
    }
    std::string last_box() {
        return view().messages().empty() ? std::string() : view().messages().back().text;
    }
    // The automatic backup's path: the box's last line, naming an existing file.
    std::string backup_named(const std::string& box) {
        const std::string path = box.substr(box.rfind('\n') + 1);
        EXPECT_TRUE(std::filesystem::is_regular_file(path)) << box;
        return path;
    }
};

TEST_F(RestoreResult, OneReadPlansAndWritesAndTheBoxNamesTheBackup) {
    sim().state(0).auto_reset = 5;
    restore();
    EXPECT_EQ(sim().state(0).auto_reset, 0);
    // Auto-Reset (command 20) read for the differences and once more to check the write.
    EXPECT_EQ(requests(20).size(), 2u);
    const std::string box = last_box();
    EXPECT_EQ(box.rfind("Restored and verified.\n\nThe automatic backup of what the module held "
                        "before:\n",
                        0),
              0u)
        << box;
    backup_named(box);
}

TEST_F(RestoreResult, EndOfSessionDuringTheWriteWaitsForItsEnd) {
    sim().state(0).auto_reset = 5;
    sim().state(0).io_names[2] = "changed";
    int tasks = 0;
    shell.during_job = [&] {
        if (shell.jobs.back() == JOB_TASK && ++tasks == 2) view().end_session();
    };
    restore();
    shell.during_job = nullptr;
    EXPECT_EQ(tasks, 2);
    EXPECT_TRUE(view().is_closed());
    // The whole restore went out and was checked; no box opened after the end.
    EXPECT_EQ(sim().state(0).auto_reset, 0);
    EXPECT_EQ(sim().state(0).io_names[2], "Window open");
    EXPECT_FALSE(requests(20).empty());
    // Only the confirmation was shown.
    ASSERT_EQ(view().messages().size(), 1u);
    EXPECT_EQ(view().messages()[0].text.rfind("Write to the module: ", 0), 0u);
}

}  // namespace
}  // namespace zavi::test
