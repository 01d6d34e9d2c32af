#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/differences_dialog.h"
#include "app/file_commands.h"
#include "resources/ids.h"
#include "sim/demo_scenario.h"
#include "tests/support/main_window_fixture.h"

namespace zavi::test {
namespace {

class FileMenuTest : public MainWindowTest {
  protected:
    // The differences dialog answers with `button`; its list text is kept.
    void answer_differences(int button) {
        view().on_run_dialog([this, button](int template_id, DialogLogic& logic) {
            ASSERT_EQ(template_id, IDD_DIFFERENCES);
            FakeDialogView child(IDD_DIFFERENCES, &logic);
            child.init();
            differences_text = child.text(IDC_DIFF_LIST);
            child.click(button);
        });
    }
    std::string differences_text;
};

TEST_F(FileMenuTest, BackUpChangeRestoreBringsTheModuleBack) {
    start(sim::demo_scenario());
    sim().state(0).auto_reset = 5;
    const sim::ModuleState original = sim().state(0);
    shell.chosen_files = {dir.file("module")};
    view().clear_messages();
    view().click(IDM_BACKUP);
    ASSERT_TRUE(std::filesystem::exists(dir.file("module.zavi.json")));
    EXPECT_EQ(shell.file_requests.back().save, true);
    // The PIN question defaults to No, so the file holds no codes.
    std::ifstream in(dir.file("module.zavi.json"));
    const std::string saved((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(saved.find("sim_codes"), std::string::npos);
    EXPECT_FALSE(shell.statuses.empty());

    sim().state(0).auto_reset = 9;
    shell.chosen_files = {dir.file("module.zavi.json")};
    answer_differences(IDC_DIFF_OK);
    view().clear_messages();
    view().answer_next(MessageAnswer::ok);  // the confirmation
    view().click(IDM_RESTORE);
    EXPECT_NE(differences_text.find("auto_reset"), std::string::npos) << differences_text;
    EXPECT_EQ(sim().state(0), original);
    // What the module held before the restore was saved first.
    EXPECT_FALSE(std::filesystem::is_empty(backup_folder));
    ASSERT_FALSE(view().messages().empty());
    EXPECT_EQ(view().messages().back().text.substr(0, 22), "Restored and verified.")
        << view().messages().back().text;
}

TEST_F(FileMenuTest, RefusedOrCancelledRestoreAndCompareWriteNothing) {
    struct Case {
        const char* name;
        int command;
        int dialog_button;  // 0: the dialog is not expected
        bool confirm;
    };
    const Case cases[] = {
        {"compare shows and closes", IDM_COMPARE, IDC_DIFF_OK, false},
        {"restore cancelled in the list", IDM_RESTORE, IDC_DIFF_CANCEL, false},
        {"restore not confirmed (default No)", IDM_RESTORE, IDC_DIFF_OK, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start(sim::demo_scenario());
        shell.chosen_files = {dir.file("b")};
        view().click(IDM_BACKUP);
        sim().state(0).auto_status = 3;
        const sim::ModuleState changed = sim().state(0);
        differences_text.clear();
        shell.chosen_files = {dir.file("b.zavi.json")};
        answer_differences(c.dialog_button);
        view().click(c.command);
        EXPECT_NE(differences_text.find("auto_status"), std::string::npos);
        EXPECT_EQ(sim().state(0), changed);
        EXPECT_FALSE(std::filesystem::exists(backup_folder));
    }
}

TEST_F(FileMenuTest, CorruptFileIsRefusedBeforeTheModuleIsTouched) {
    start(sim::demo_scenario());
    const std::string bad = dir.file("bad.zavi.json");
    std::ofstream(bad) << "{ \"format\": ";
    const size_t jobs = shell.jobs.size();
    for (int command : {IDM_RESTORE, IDM_COMPARE}) {
        view().clear_messages();
        shell.chosen_files = {bad};
        view().click(command);
        ASSERT_EQ(view().messages().size(), 1u);
        EXPECT_EQ(view().messages()[0].icon, MessageIcon::error);
        EXPECT_NE(view().messages()[0].text.find("bad.zavi.json"), std::string::npos);
    }
    EXPECT_EQ(shell.jobs.size(), jobs);
}

TEST_F(FileMenuTest, NothingToChangeIsSaidAsSuch) {
    start(sim::demo_scenario());
    shell.chosen_files = {dir.file("same"), dir.file("same.zavi.json"),
                          dir.file("same.zavi.json")};
    view().click(IDM_BACKUP);
    for (int command : {IDM_COMPARE, IDM_RESTORE}) {
        view().clear_messages();
        view().click(command);
        ASSERT_EQ(view().messages().size(), 1u);
        EXPECT_EQ(view().messages()[0].text.rfind("Nothing to change", 0), 0u);
    }
    EXPECT_TRUE(view().dialogs_run().empty());
}

TEST(ConfigurationExtension, AddedOnlyWhenMissing) {
    const std::pair<const char*, const char*> cases[] = {
        {"a", "a.zavi.json"},
        {"a.zavi.json", "a.zavi.json"},
        {"A.JSON", "A.JSON"},
        {"dir.v2/name", "dir.v2/name.zavi.json"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(with_configuration_extension(in), out) << in;
}

}  // namespace
}  // namespace zavi::test
