// Test -> Commissioning report from the main window on the simulated module: the site and
// installer asked for and remembered, both files saved with the checksum tying them, the SIM
// codes nowhere, and after a failure exactly what is on the disk.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/settings.h"
#include "commission/sha256.h"
#include "resources/ids.h"
#include "sim/demo_scenario.h"
#include "tests/support/main_window_fixture.h"
#include "ui/ui_language.h"

namespace zavi::test {
namespace {

namespace fs = std::filesystem;

class ReportCommand : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        start(sim::demo_scenario());
        ui_language = kEnglish;
        view().clear_messages();
    }
    // Runs the command; the details dialog shows what it offers in `offered`, then gets
    // `site` and `installer` typed and OK (or, with `cancel`, Escape).
    void report(const std::string& site, const std::string& installer, bool cancel = false) {
        view().on_run_dialog([&](int template_id, DialogLogic& logic) {
            ASSERT_EQ(template_id, IDD_REPORT_DETAILS);
            FakeDialogView d(IDD_REPORT_DETAILS, &logic);
            d.init();
            offered = {d.text(IDC_RD_SITE), d.text(IDC_RD_INSTALLER)};
            d.set_text(IDC_RD_SITE, site);
            d.set_text(IDC_RD_INSTALLER, installer);
            if (cancel)
                d.press_escape();
            else
                d.click(IDC_RD_OK);
            EXPECT_TRUE(d.is_closed());
        });
        view().click(IDM_REPORT);
    }
    ReportNames offered;
};

TEST_F(ReportCommand, SavesReportAndBackupTiedByTheChecksumAndRemembersTheNames) {
    shell.chosen_files = {dir.file("site")};  // ".html" is added
    report("  Villa <b>&\"Rose\"  ", "Łukasz Żółć");
    EXPECT_EQ(offered.site, "");
    ASSERT_EQ(shell.file_requests.size(), 1u);
    EXPECT_EQ(shell.file_requests[0].kind, FileKind::report_html);

    const std::string html = read_file(dir.file("site.html"));
    const std::string backup = read_file(dir.file("site.zavi.json"));
    ASSERT_FALSE(html.empty());
    ASSERT_FALSE(backup.empty());
    const std::string sha = commission::sha256_hex(backup);
    EXPECT_NE(html.find(sha), std::string::npos);
    EXPECT_NE(html.find("Villa &lt;b&gt;&amp;&quot;Rose&quot;"), std::string::npos);
    EXPECT_EQ(html.find("<b>&"), std::string::npos);
    EXPECT_NE(html.find("Łukasz Żółć"), std::string::npos);
    // The demo module has a PIN: the report says so, neither file holds it.
    EXPECT_EQ(backup.find("sim_codes"), std::string::npos);
    EXPECT_EQ(backup.find("4660"), std::string::npos);  // 0x1234
    // Nothing was measured in this run.
    EXPECT_NE(html.find("Not done."), std::string::npos);
    ASSERT_EQ(view().messages().size(), 1u);
    EXPECT_EQ(view().messages()[0].icon, MessageIcon::information);
    EXPECT_NE(
        view().messages()[0].text.find("SHA-256:\n" + sha.substr(0, 32) + "\n" + sha.substr(32)),
        std::string::npos);
    EXPECT_EQ(settings_bytes().size(), 1u);  // config.db stays one byte

    // Next time the names come back as typed (trimmed); a cancelled dialog asks for no file.
    report("other", "other", true);
    EXPECT_EQ(offered.site, "Villa <b>&\"Rose\"");
    EXPECT_EQ(offered.installer, "Łukasz Żółć");
    EXPECT_EQ(shell.file_requests.size(), 1u);
    report("", "", true);
    EXPECT_EQ(offered.site, "Villa <b>&\"Rose\"");
}

TEST_F(ReportCommand, TakesTheWalkTestOfThisRunAndListsTheSurveyAsNotDone) {
    view().on_run_dialog([&](int template_id, DialogLogic& logic) {
        ASSERT_EQ(template_id, IDD_WALK_TEST);
        FakeDialogView d(IDD_WALK_TEST, &logic);
        d.init();
        d.toggle(IDC_WT_SMS);  // the installer's tick
        d.click(IDC_WT_CLOSE);
    });
    view().click(IDM_WALK_TEST);
    shell.chosen_files = {dir.file("w.html")};
    report("s", "i");
    const std::string html = read_file(dir.file("w.html"));
    const auto first = html.find("Not done.");
    ASSERT_NE(first, std::string::npos);                              // the survey
    EXPECT_EQ(html.find("Not done.", first + 1), std::string::npos);  // but not the walk test
    EXPECT_NE(html.find("Test SMS received"), std::string::npos);
}

TEST_F(ReportCommand, AFailureSaysExactlyWhichFilesExist) {
    struct Row {
        const char* name;
        const char* base;
        const char* folder_at;  // made a folder, so that its write fails
        bool module_silent;
        bool html_saved, backup_saved;
        const char* says;
    } const rows[] = {
        {"module silent", "a", nullptr, true, false, false, "Communication error - try again"},
        {"backup is a folder", "b", ".zavi.json", false, false, false, "No file was saved."},
        {"report is a folder", "c", ".html", false, false, true,
         "Only the configuration backup was saved:\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TearDown();
        SetUp();
        const std::string html = dir.file((std::string(row.base) + ".html").c_str());
        const std::string backup = dir.file((std::string(row.base) + ".zavi.json").c_str());
        if (row.folder_at)
            fs::create_directory(dir.file((std::string(row.base) + row.folder_at).c_str()));
        if (row.module_silent) {
            sim::Fault f;
            f.kind = sim::FaultKind::no_answer;
            f.command = 6;  // alarm settings, the first record read
            sim().scenario().modules[0].faults = {f};
        }
        shell.chosen_files = {html};
        view().answer_next(MessageAnswer::ok);  // replace what is beside, where asked
        report("s", "i");
        EXPECT_EQ(fs::is_regular_file(html), row.html_saved);
        EXPECT_EQ(fs::is_regular_file(backup), row.backup_saved);
        ASSERT_FALSE(view().messages().empty());
        const auto& box = view().messages().back();
        EXPECT_NE(box.text.find(row.says), std::string::npos) << box.text;
        EXPECT_EQ(box.icon, MessageIcon::error);
    }
}

TEST_F(ReportCommand, AnExistingBackupBesideIsReplacedOnlyWhenTheUserSaysSo) {
    write_file(dir.file("old.zavi.json"), "kept");
    shell.chosen_files = {dir.file("old.html")};
    view().answer_next(MessageAnswer::cancel);  // No
    report("s", "i");
    EXPECT_EQ(read_file(dir.file("old.zavi.json")), "kept");
    EXPECT_FALSE(fs::exists(dir.file("old.html")));
    EXPECT_TRUE(shell.jobs.empty());
}

}  // namespace
}  // namespace zavi::test
