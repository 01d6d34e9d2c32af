// File -> Module history in the real program: Backup and Restore keep copies under the
// module's USB serial number (from the simulated library's device information), and the window
// lists them newest first with what changed, in each language; a module whose serial number is
// no identity has its history refused with the reason.
#include <string>

#include "e2e/file_steps.h"
#include "e2e/history_files.h"
#include "e2e/steps.h"
#include "e2e/window_control.h"
#include "resources/ids.h"

namespace e2e {
namespace {

// Opens the history window, checks what it shows, screenshots it and closes it.
void check_history_window(Session& session, HWND main, const std::string& heading,
                          const std::string& listed, const std::string& shot) {
    PendingSend* open = command(main, IDM_MODULE_HISTORY);
    HWND window = session.wait_dialog(IDC_MH_LIST, main);
    if (!CHECK(window != nullptr)) return;
    const std::string head = item_text(window, IDC_MH_HEADING);
    const std::string list = item_text(window, IDC_MH_LIST);
    CHECK(head.find(heading) != std::string::npos);
    if (!CHECK(list.find(listed) != std::string::npos)) note("listed: " + printable(list));
    session.screenshot(window, shot);
    click(window, IDC_MH_CLOSE);
    CHECK(open->wait(kJobMs));
}

}  // namespace

E2E_CASE(module_history_after_backup_and_restore_in_each_language) {
    SessionSetup setup = demo_setup();
    setup.with_state_file = true;
    setup.scenario.modules[0].state.auto_reset = 5;
    setup.scenario.modules[0].serial = "HIST0001";
    Session session("module_history_after_backup_and_restore_in_each_language", setup);
    HWND main = start_to_main_window(session);
    if (!main) return;
    const std::size_t before = history_entries().size();
    const std::wstring five = session.folder() + L"\\five.zavi.json";
    const std::wstring nine = session.folder() + L"\\nine.zavi.json";
    const auto back_up = [&](const std::wstring& file) {
        PendingSend* backup = command(main, IDM_BACKUP);
        answer(session, main, IDNO);
        if (!choose_file(session, main, file)) return;
        CHECK(take_box(session, main).find("Module history: a copy is kept for module HIST0001.") !=
              std::string::npos);
        CHECK(backup->wait(kJobMs));
    };
    // Backed up at 5 days and at 9, then restored to 5: each copy differs from the one before.
    back_up(five);
    zavi::sim::Scenario changed = setup.scenario;
    changed.modules[0].state.auto_reset = 9;
    CHECK(session.change_state(changed));
    back_up(nine);
    PendingSend* restore = command(main, IDM_RESTORE);
    if (!choose_file(session, main, five)) return;
    if (HWND diff = session.wait_dialog(IDC_DIFF_LIST, main); CHECK(diff != nullptr))
        click(diff, IDC_DIFF_OK);
    answer(session, main, IDYES);
    CHECK(take_box(session, main).rfind("Restored and verified.", 0) == 0);
    CHECK(restore->wait(kJobMs));

    const auto entries = history_entries();
    // The data folder is shared by every run in this Wine prefix: earlier runs' copies count too.
    std::size_t kept = 0;
    for (const auto& e : entries) kept += e.identity == "HIST0001";
    const std::string english_heading =
        "Module HIST0001   \u2014   copies kept: " + std::to_string(kept);
    if (CHECK_EQ(entries.size(), before + 3)) {
        CHECK_EQ(entries[before + 1].operation + " " + entries[before + 1].result, "backup saved");
        CHECK_EQ(entries[before + 2].operation + " " + entries[before + 2].result,
                 "restore verified");
        CHECK_EQ(entries[before + 2].identity, "HIST0001");
    }

    // Newest first: the restore to 5 days, the backup at 9, the first backup.
    const struct {
        int item;
        const char* suffix;
        std::string heading;
        const char* listed;
    } languages[] = {
        {IDM_ENGLISH, "en", english_heading,
         "Restore: written and verified\r\n    Auto-Reset, Trigger period: 9 days \u2192 5 days"
         "\r\n\r\n"},
        {IDM_POLISH, "pl", "Moduł HIST0001", "Przywracanie: zapisano i sprawdzono"},
        {IDM_GERMAN, "de", "Modul HIST0001", "Wiederherstellung: geschrieben und geprüft"},
    };
    for (const auto& l : languages) {
        Context row(l.suffix);
        CHECK(command(main, l.item)->wait(kJobMs));
        check_history_window(session, main, l.heading, l.listed,
                             std::string("module_history_") + l.suffix);
    }

    // A chip whose serial number cannot name a module: the window says the identity is unknown.
    CHECK(command(main, IDM_ENGLISH)->wait(kJobMs));
    zavi::sim::Scenario nameless = changed;
    nameless.modules[0].serial = "NO SERIAL";
    CHECK(session.change_scenario(nameless));
    CHECK(command(main, IDM_CONNECT_AGAIN)->wait(kJobMs));
    check_history_window(session, main, "The module's identity is unknown", "cannot be told apart",
                         "module_history_unknown_en");
    close_cleanly(session, main);
}

}  // namespace e2e
