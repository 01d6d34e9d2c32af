// The program's Restore: one read of the module for the differences and the write, the result
// box telling what the module acknowledged (in each language) and naming the automatic backup,
// and an end of session during the write waiting for it.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/language.h"
#include "resources/ids.h"
#include "sim/demo_scenario.h"
#include "tests/support/main_window_fixture.h"

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

TEST_F(RestoreResult, NumbersFailingAtTheThirdBlockAreToldAsPartlyWrittenInEachLanguage) {
    const struct {
        uint8_t language;
        const char* headline;
        const char* partly;
        const char* heading;
    } cases[] = {
        {kPolish, "Zapis nie powiódł się: numery telefonów (moduł nie potwierdził bloku 3 z 8).",
         "\nZapisano częściowo: numery telefonów – potwierdzone bloki 1–2 z 8; blok 3 wysłano bez "
         "potwierdzenia (mógł zostać zapisany lub nie): lista w module jest teraz niepełna.",
         "\nAutomatyczna kopia zapasowa poprzedniej konfiguracji:\n"},
        {kEnglish,
         "Writing failed: telephone numbers (the module did not acknowledge block 3 of 8).",
         "\nPartly written: telephone numbers: blocks 1–2 of 8 acknowledged; block 3 was sent "
         "without an acknowledgement (it may or may not be stored): the module's list is now "
         "incomplete.",
         "\nThe automatic backup of what the module held before:\n"},
        {kGerman,
         "Schreiben fehlgeschlagen: Telefonnummern (das Modul hat Block 3 von 8 nicht bestätigt).",
         "\nTeilweise geschrieben: Telefonnummern: Blöcke 1–2 von 8 bestätigt; Block 3 wurde ohne "
         "Bestätigung gesendet (vielleicht gespeichert, vielleicht nicht): Die Liste im Modul ist "
         "jetzt unvollständig.",
         "\nAutomatische Sicherung des vorherigen Modulinhalts:\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int{c.language});
        // A file of 150 numbers (five blocks) over a module holding three; block 3 fails.
        auto& numbers = sim().state(0).accepted_numbers;
        const auto three = numbers;
        numbers.clear();
        for (uint8_t i = 0; i < 150; ++i)
            numbers.push_back({0x48, 0x60, 0x00, uint8_t(0x10 + i / 100),
                               uint8_t((i / 10 % 10) << 4 | i % 10), 0x0F, 0xFF});
        back_up();
        numbers = three;
        auto& faults = sim().scenario().modules[0].faults;
        faults = {{sim::FaultKind::no_answer, 17, -1, 2, -1, 0, {}}};
        ui_language = c.language;
        restore();
        // Three blocks reached the module and none after them.
        EXPECT_EQ(requests(17).size(), 3u);
        faults.clear();
        ui_language = kEnglish;
        const std::string box = last_box();
        TearDown();
        SetUp();
        EXPECT_EQ(box.rfind(c.headline, 0), 0u) << box;
        EXPECT_NE(box.find(c.partly), std::string::npos) << box;
        EXPECT_NE(box.find(c.heading), std::string::npos) << box;
        backup_named(box);
    }
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
