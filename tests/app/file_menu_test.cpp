#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/differences_dialog.h"
#include "app/file_commands.h"
#include "app/job_texts.h"
#include "config/config_file.h"
#include "resources/ids.h"
#include "sim/demo_scenario.h"
#include "tests/support/main_window_fixture.h"
#include "ui/suggested_file_name.h"

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
    // The list speaks the program's words, not the file's paths.
    EXPECT_EQ(differences_text, "Auto-Reset, Trigger period: 9 days \u2192 5 days");
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
        TearDown();
        SetUp();
        start(sim::demo_scenario());
        shell.chosen_files = {dir.file("b")};
        view().click(IDM_BACKUP);
        sim().state(0).auto_status = 3;
        const sim::ModuleState changed = sim().state(0);
        differences_text.clear();
        shell.chosen_files = {dir.file("b.zavi.json")};
        answer_differences(c.dialog_button);
        view().click(c.command);
        EXPECT_NE(differences_text.find("Auto-Status, Trigger period: "), std::string::npos)
            << differences_text;
        EXPECT_EQ(sim().state(0), changed);
        EXPECT_FALSE(std::filesystem::exists(backup_folder));
    }
}

TEST_F(FileMenuTest, UnpluggedDuringRestoreNamesTheRecordAndTheAutomaticBackup) {
    start(sim::demo_scenario());
    shell.chosen_files = {dir.file("m")};
    view().click(IDM_BACKUP);
    sim().state(0).accepted_numbers.pop_back();
    sim().state(0).auto_reset = 7;
    sim::Fault unplug;
    unplug.kind = sim::FaultKind::unplug;
    unplug.command = 17;
    unplug.sub_index = 2;
    sim().scenario().modules[0].faults = {unplug};
    shell.chosen_files = {dir.file("m.zavi.json")};
    answer_differences(IDC_DIFF_OK);
    view().clear_messages();
    view().answer_next(MessageAnswer::ok);
    view().click(IDM_RESTORE);
    ASSERT_GE(view().messages().size(), 2u);  // the question, then the result
    const std::string& result = view().messages()[1].text;
    EXPECT_NE(result.find("Writing failed: telephone numbers"), std::string::npos) << result;
    EXPECT_NE(result.find(backup_folder), std::string::npos) << result;
    EXPECT_EQ(view().messages()[1].icon, MessageIcon::error);
    EXPECT_FALSE(view().is_closed());
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
    shell.chosen_files = {dir.file("same"), dir.file("same.zavi.json"), dir.file("same.zavi.json")};
    view().click(IDM_BACKUP);
    for (int command : {IDM_COMPARE, IDM_RESTORE}) {
        view().clear_messages();
        view().click(command);
        ASSERT_EQ(view().messages().size(), 1u);
        EXPECT_EQ(view().messages()[0].text.rfind("Nothing to change", 0), 0u);
    }
    EXPECT_TRUE(view().dialogs_run().empty());
}

constexpr int kModuleItems[] = {IDM_BACKUP, IDM_RESTORE, IDM_COMPARE, IDM_PHONE_NUMBERS, IDM_RESET};

TEST_F(FileMenuTest, ConnectAgainClosesTheOldModuleAndShowsTheNewOne) {
    start(sim::demo_scenario());
    for (int item : kModuleItems) EXPECT_TRUE(view().menu(item).enabled) << item;

    // Another module in its place.
    sim::Module other;
    other.state.operator_name = "Orange";
    other.state.alarm_settings = {0x02, 0, 30, 0, 1, 5, 0, 0, 40, 0, 0, 10, 0, 20};
    sim().scenario().modules = {other};
    view().clear_messages();
    view().click(IDM_CONNECT_AGAIN);
    EXPECT_TRUE(view().messages().empty());
    // The old handle was closed before the new one opened (one handle per module).
    EXPECT_EQ(sim().open_handles(), 1);
    EXPECT_NE(view().text(IDC_STATUS_LINE).find("Orange"), std::string::npos);
    EXPECT_EQ(view().control(IDC_BATTERY_THRESHOLD_SPIN).updown_pos, 20);
    for (int item : kModuleItems) EXPECT_TRUE(view().menu(item).enabled) << item;

    // Unplugged: the same message as at start-up, but the window stays, with nothing of the
    // old module shown and its items greyed.
    sim().scenario().modules.clear();
    view().clear_messages();
    view().click(IDM_CONNECT_AGAIN);
    expect_only_box("ZAVI-GSM is not connected", MessageIcon::information);
    EXPECT_FALSE(view().is_closed());
    EXPECT_EQ(view().text(IDC_STATUS_LINE).find("Orange"), std::string::npos);
    for (int item : kModuleItems) EXPECT_FALSE(view().menu(item).enabled) << item;
    const size_t jobs = shell.jobs.size();
    view().click(IDM_BACKUP);  // sent anyway: no module, nothing happens
    view().click(IDM_PHONE_NUMBERS);
    EXPECT_EQ(shell.jobs.size(), jobs);
    EXPECT_TRUE(shell.file_requests.empty());
}

TEST(StepText, EachLanguageSaysWhatAndWhichBlock) {
    using config::ProgressEvent;
    using config::Record;
    using config::Step;
    struct Case {
        ProgressEvent event;
        uint8_t language;
        const char* text;
    };
    const Case cases[] = {
        {{Step::reading, Record::accepted_numbers, 3, 8},
         1,
         "Reading telephone numbers (block 3 of 8)…"},
        {{Step::reading, Record::accepted_numbers, 3, 8},
         0,
         "Odczyt numerów telefonów (blok 3 z 8)…"},
        {{Step::reading, Record::accepted_numbers, 3, 8},
         2,
         "Lese: Telefonnummern (Block 3 von 8)…"},
        {{Step::writing, Record::alarm_settings, 1, 1}, 1, "Writing alarm settings…"},
        {{Step::verifying, Record::sim_codes, 1, 1}, 2, "Prüfe: PIN und PUK…"},
        {{Step::writing, Record::io_names_second, 1, 1}, 0, "Zapis nazw we./wy. 7-12…"},
        {{Step::verifying, Record::sim_codes, 1, 1}, 0, "Sprawdzanie kodów PIN i PUK…"},
        {{Step::writing, Record::alarm_settings, 2, 2}, 0, "Zapis warunków alarmów (blok 2 z 2)…"},
    };
    for (const Case& c : cases) EXPECT_EQ(step_text(c.event, c.language), c.text);
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

namespace zavi::test {
namespace {

TEST_F(FileMenuTest, FailedBackupSaysNoFileWasSavedAndWhy) {
    struct Row {
        sim::FaultKind fault;
        int command;
        int language_item;
        const char* text;
    } const rows[] = {
        {sim::FaultKind::no_answer, 6, IDM_ENGLISH,
         "The backup failed: no file was saved.\n\nReading the module failed at alarm settings "
         "(the module did not answer properly).\nCheck the connection to the module and try "
         "again."},
        {sim::FaultKind::bad_data_crc, 24, IDM_POLISH,
         "Kopia zapasowa nie powstała: nie zapisano żadnego pliku.\n\nOdczyt z modułu nie "
         "powiódł się: nazwy we./wy. 1-6 (odpowiedź modułu była uszkodzona).\nSprawdź "
         "połączenie z modułem i spróbuj ponownie."},
        {sim::FaultKind::unplug, 24, IDM_GERMAN,
         "Die Sicherung ist fehlgeschlagen: Es wurde keine Datei gespeichert.\n\nDas Lesen des "
         "Moduls schlug fehl bei: E/A-Namen 1-6 (das Modul hat nicht richtig geantwortet).\n"
         "Prüfen Sie die Verbindung zum Modul und versuchen Sie es erneut."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        TearDown();
        SetUp();
        start(sim::demo_scenario());
        view().click(row.language_item);
        sim::Fault f;
        f.kind = row.fault;
        f.command = row.command;
        sim().scenario().modules[0].faults = {f};
        shell.chosen_files = {dir.file("b")};
        view().clear_messages();
        view().click(IDM_BACKUP);
        ASSERT_EQ(view().messages().size(), 2u);  // the PIN question, then the failure
        EXPECT_EQ(view().messages()[1].text, row.text);
        EXPECT_EQ(view().messages()[1].icon, MessageIcon::error);
        EXPECT_FALSE(std::filesystem::exists(dir.file("b.zavi.json")));
    }
}

// Files that cannot be read or saved are named with the reason in the user's language.
TEST_F(FileMenuTest, FileProblemsAreToldInTheLanguage) {
    start(sim::demo_scenario());
    std::filesystem::create_directory(dir.file("folder.zavi.json"));
    const std::string big = dir.file("big.zavi.json");
    std::ofstream(big) << std::string(config::kMaxFileBytes + 1, ' ');
    struct Row {
        int language_item;
        int command;
        std::string path;
        std::string text;
    } const rows[] = {
        {IDM_ENGLISH, IDM_COMPARE, dir.file("none.zavi.json"),
         "This file cannot be used:\n\n" + dir.file("none.zavi.json") +
             "\nThe file does not exist."},
        {IDM_POLISH, IDM_RESTORE, dir.file("folder.zavi.json"),
         "Tego pliku nie można użyć:\n\n" + dir.file("folder.zavi.json") +
             "\nTo jest folder, a nie plik."},
        {IDM_GERMAN, IDM_COMPARE, big,
         "Diese Datei kann nicht verwendet werden:\n\n" + big +
             "\nDie Datei ist größer als 1 MiB."},
        {IDM_ENGLISH, IDM_BACKUP, dir.file("missing/b.zavi.json"),
         "The backup was not saved:\n" + dir.file("missing/b.zavi.json") +
             "\nThe folder does not exist."},
        {IDM_POLISH, IDM_BACKUP, dir.file("folder.zavi.json"),
         "Kopia zapasowa nie została zapisana:\n" + dir.file("folder.zavi.json") +
             "\nTo jest folder, a nie plik."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        view().click(row.language_item);
        shell.chosen_files = {row.path};
        view().clear_messages();
        view().click(row.command);
        ASSERT_FALSE(view().messages().empty());
        EXPECT_EQ(view().messages().back().text, row.text);
        EXPECT_EQ(view().messages().back().icon, MessageIcon::error);
    }
}

TEST(SuggestedFileName, DateAndTimeToTheMinute) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 9;
    t.tm_hour = 14;
    t.tm_min = 30;
    EXPECT_EQ(suggested_file_name(FileKind::configuration, t), "zavi-2026-12-09-1430.zavi.json");
    t.tm_mon = 0;
    t.tm_mday = 31;
    t.tm_hour = 7;
    t.tm_min = 5;
    EXPECT_EQ(suggested_file_name(FileKind::numbers_csv, t), "zavi-numbers-2026-01-31-0705.csv");
}

}  // namespace
}  // namespace zavi::test
