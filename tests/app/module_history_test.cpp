// The program's Backup and Restore keep each module's copies under its identity, and File ->
// Module history lists them newest first with what changed, in the differences window's words.
#include <gtest/gtest.h>

#include "app/differences_dialog.h"
#include "app/module_identity.h"
#include "config/config_file.h"
#include "fleet/history.h"
#include "resources/ids.h"
#include "sim/demo_scenario.h"
#include "tests/support/main_window_fixture.h"

namespace zavi::test {
namespace {

std::string serial_now;

class ModuleHistoryTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        serial_now = "FT1234AB";
        shell.identity = [](DriverHandle) {
            return make_module_identity(serial_now, "D2XX (USB)");
        };
    }
    void back_up(const char* name) {
        shell.chosen_files = {dir.file(name)};
        view().clear_messages();
        view().click(IDM_BACKUP);
    }
    void restore(const char* name) {
        shell.chosen_files = {dir.file(name)};
        view().on_run_dialog([](int, DialogLogic& logic) {
            FakeDialogView child(IDD_DIFFERENCES, &logic);
            child.init();
            child.click(IDC_DIFF_OK);
        });
        view().clear_messages();
        view().answer_next(MessageAnswer::ok);  // the confirmation
        view().click(IDM_RESTORE);
    }
    // The history window's heading and list.
    std::pair<std::string, std::string> history_window() {
        std::pair<std::string, std::string> shown;
        view().on_run_dialog([&shown](int id, DialogLogic& logic) {
            ASSERT_EQ(id, IDD_MODULE_HISTORY);
            FakeDialogView child(IDD_MODULE_HISTORY, &logic);
            child.init();
            shown = {child.text(IDC_MH_HEADING), child.text(IDC_MH_LIST)};
            child.click(IDC_MH_CLOSE);
            EXPECT_TRUE(child.is_closed());
        });
        view().click(IDM_MODULE_HISTORY);
        return shown;
    }
    std::vector<fleet::HistoryEntry> index() {
        std::vector<fleet::HistoryEntry> entries;
        int skipped = 0;
        std::string why;
        EXPECT_TRUE(fleet::read_index(dir.path().string(), &entries, &skipped, &why)) << why;
        EXPECT_EQ(skipped, 0);
        return entries;
    }
    std::string last_message() {
        return view().messages().empty() ? "" : view().messages().back().text;
    }
};

// Texts in the order they must appear in `text`.
void expect_in_order(const std::string& text, std::initializer_list<const char*> parts) {
    std::size_t at = 0;
    for (const char* part : parts) {
        const std::size_t found = text.find(part, at);
        ASSERT_NE(found, std::string::npos) << "\"" << part << "\" after " << at << " in\n" << text;
        at = found + 1;
    }
}

TEST_F(ModuleHistoryTest, BackupsAndRestoresAreKeptAndListedNewestFirstWithTheirChanges) {
    start(sim::demo_scenario());
    sim().state(0).auto_reset = 5;
    back_up("five");
    EXPECT_NE(last_message().find("Module history: a copy is kept for module FT1234AB."),
              std::string::npos)
        << last_message();
    sim().state(0).auto_reset = 9;
    back_up("nine");
    restore("five.zavi.json");

    const auto [heading, list] = history_window();
    EXPECT_EQ(heading, "Module FT1234AB   \u2014   copies kept: 3");
    expect_in_order(
        list, {"Restore: written and verified", "Auto-Reset, Trigger period: 9 days \u2192 5 days",
               "Backup: saved", "Auto-Reset, Trigger period: 5 days \u2192 9 days", "Backup: saved",
               "The first copy of this module"});

    // Unplugged during the write: kept as what was sent, and said to be so.
    sim().state(0).auto_reset = 7;
    sim::Fault unplug;
    unplug.kind = sim::FaultKind::unplug;
    unplug.command = 21;
    sim().scenario().modules[0].faults = {unplug};
    restore("nine.zavi.json");
    // The question, the result, then the failed read of the panels.
    ASSERT_GE(view().messages().size(), 2u);
    const std::string result = view().messages()[1].text;
    EXPECT_NE(result.find("Writing failed: auto-reset"), std::string::npos) << result;
    const std::vector<fleet::HistoryEntry> entries = index();
    ASSERT_EQ(entries.size(), 4u);
    const char* operations[] = {"backup", "backup", "restore", "restore"};
    const char* results[] = {"saved", "saved", "verified", "write-failed"};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].identity, "FT1234AB");
        EXPECT_EQ(entries[i].operation, operations[i]);
        EXPECT_EQ(entries[i].result, results[i]);
    }
    config::Configuration sent;
    config::FileError fault;
    ASSERT_TRUE(config::parse_configuration_as_read(
        read_file(dir.path().string() + "/" + entries[3].file), &sent, &fault));
    EXPECT_EQ(sent.auto_reset_days, 9);
}

TEST_F(ModuleHistoryTest, AnUnknownIdentityIsSaidAndOtherModulesAreNotListed) {
    start(sim::demo_scenario());
    const struct {
        const char* serial;
        int language;
        const char* kept;     // in the backup's message
        const char* heading;  // of the window
    } rows[] = {
        {"", IDM_ENGLISH, "the copy is kept as \"unknown\"",
         "The module's identity is unknown (its port gives no USB serial number)"},
        {"bad/name", IDM_POLISH, "kopia zachowana jako \u201eunknown\u201d",
         "Tożsamość modułu nieznana (port nie podaje numeru seryjnego USB)"},
        {"OTHER1", IDM_GERMAN, "Kopie aufbewahrt für Modul OTHER1.",
         "Modul OTHER1   \u2014   aufbewahrte Kopien: 1"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.serial);
        view().click(row.language);
        serial_now = row.serial;
        back_up("b");
        EXPECT_NE(last_message().find(row.kept), std::string::npos) << last_message();
        EXPECT_EQ(history_window().first, row.heading);
    }
    serial_now = "FT1234AB";
    EXPECT_NE(history_window().second.find("Von diesem Modul wurde noch keine Kopie"),
              std::string::npos);
}

}  // namespace
}  // namespace zavi::test
