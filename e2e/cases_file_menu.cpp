// The File menu of the real program: back up, change the module, restore it from the file with
// the differences shown first, and the result box. The system's file dialog gets the path
// typed into its file name box.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "e2e/file_steps.h"
#include "e2e/steps.h"
#include "e2e/window_control.h"
#include "resources/ids.h"

namespace e2e {
namespace {

using zavi::sim::ModuleState;

bool read_text_file(const std::string& utf8_path, std::string* text) {
    wchar_t wide[MAX_PATH * 2] = {};
    if (!MultiByteToWideChar(CP_UTF8, 0, utf8_path.c_str(), -1, wide, MAX_PATH * 2)) return false;
    std::ifstream in(std::filesystem::path(wide), std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    *text = s.str();
    return true;
}

}  // namespace

E2E_CASE(file_menu_backup_change_restore) {
    SessionSetup setup = demo_setup();
    setup.with_state_file = true;
    setup.scenario.modules[0].state.auto_reset = 5;
    Session session("file_menu_backup_change_restore", setup);
    HWND main = start_to_main_window(session);
    if (!main) return;
    const std::wstring file = session.folder() + L"\\module.zavi.json";

    PendingSend* backup = command(main, IDM_BACKUP);
    CHECK(answer(session, main, IDNO).find("PIN") != std::string::npos);
    if (!choose_file(session, main, file)) return;
    CHECK(take_box(session, main).find("saved in") != std::string::npos);
    CHECK(backup->wait(kJobMs));

    zavi::sim::Scenario changed = setup.scenario;
    changed.modules[0].state.auto_reset = 9;
    CHECK(session.change_state(changed));

    // Compare: the change is listed and nothing is written.
    PendingSend* compare = command(main, IDM_COMPARE);
    if (!choose_file(session, main, file)) return;
    HWND diff = session.wait_dialog(IDC_DIFF_LIST, main);
    if (CHECK(diff != nullptr)) {
        CHECK_EQ(item_text(diff, IDC_DIFF_LIST),
                 std::string("Auto-Reset, Trigger period: 9 days \u2192 5 days"));
        // No dead button: Compare has Close alone.
        CHECK(!IsWindowVisible(GetDlgItem(diff, IDC_DIFF_CANCEL)));
        click(diff, IDC_DIFF_OK);
    }
    CHECK(compare->wait(kJobMs));
    expect_no_writes(session);

    // Restore: the differences, the confirmation, then the result box.
    PendingSend* restore = command(main, IDM_RESTORE);
    if (!choose_file(session, main, file)) return;
    diff = session.wait_dialog(IDC_DIFF_LIST, main);
    if (CHECK(diff != nullptr)) {
        session.screenshot(diff, "file_menu_differences");
        click(diff, IDC_DIFF_OK);
    }
    answer(session, main, IDYES);
    CHECK_EQ(take_box(session, main, "file_menu_restore_result").substr(0, 22),
             "Restored and verified.");
    CHECK(restore->wait(kJobMs));
    close_cleanly(session, main);
    const auto saved = session.saved_state();
    if (CHECK(saved.has_value())) CHECK_EQ(saved->modules[0].state.auto_reset, 5);
}

E2E_CASE(file_menu_corrupt_file_is_refused) {
    SessionSetup setup = demo_setup();
    Session session("file_menu_corrupt_file_is_refused", setup);
    HWND main = start_to_main_window(session);
    if (!main) return;
    const std::wstring file = session.folder() + L"\\bad.zavi.json";
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, "{\"format\": ", 11, &written, nullptr);
    CloseHandle(h);
    PendingSend* restore = command(main, IDM_RESTORE);
    if (!choose_file(session, main, file)) return;
    CHECK(take_box(session, main).find("bad.zavi.json") != std::string::npos);
    CHECK(restore->wait(kJobMs));
    close_cleanly(session, main);
    expect_no_writes(session);
}

}  // namespace e2e

namespace e2e {

// Opens the File menu from the keyboard in each language and photographs it (menus cannot be
// read from another process; their texts are checked in-process).
E2E_CASE(file_menu_in_each_language) {
    Session session("file_menu_in_each_language", demo_setup());
    HWND main = start_to_main_window(session);
    if (!main) return;
    const struct {
        int item;
        const char* shot;
    } languages[] = {
        {IDM_POLISH, "file_menu_pl"}, {IDM_ENGLISH, "file_menu_en"}, {IDM_GERMAN, "file_menu_de"}};
    for (const auto& l : languages) {
        CHECK(command(main, l.item)->wait(kJobMs));
        SetForegroundWindow(main);
        PostMessageW(main, WM_SYSCOMMAND, SC_KEYMENU, 0);
        PostMessageW(main, WM_KEYDOWN, VK_DOWN, 0);
        HWND popup = nullptr;
        wait_until(
            [&] {
                for (HWND w : process_windows(session.pid())) {
                    wchar_t name[16] = {};
                    GetClassNameW(w, name, 16);
                    if (std::wstring(name) == L"#32768" && IsWindowVisible(w)) popup = w;
                }
                return popup != nullptr;
            },
            5000);
        if (CHECK(popup != nullptr)) session.screenshot(popup, l.shot);
        PostMessageW(main, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(main, WM_KEYDOWN, VK_ESCAPE, 0);
        Sleep(300);
    }
    close_cleanly(session, main);
}

}  // namespace e2e

namespace e2e {

// Import in the Telephone numbers dialog: the summary, Add, then Save sends the list.
E2E_CASE(file_menu_csv_import_then_save) {
    SessionSetup setup = demo_setup();
    setup.with_state_file = true;
    Session session("file_menu_csv_import_then_save", setup);
    HWND main = start_to_main_window(session);
    if (!main) return;
    const std::wstring csv = session.folder() + L"\\numbers.csv";
    const char text[] =
        "number\r\n+48 600 100 300\r\n0048600100301\r\n48600100300\r\n+49 123 444 6570\r\nabc\r\n"
        "123\r\n";
    HANDLE h = CreateFileW(csv.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, text, sizeof text - 1, &written, nullptr);
    CloseHandle(h);

    PendingSend* options = command(main, IDM_PHONE_NUMBERS);
    HWND phone = session.wait_dialog(IDC_RECEIVED_ALL, main);
    if (!CHECK(phone != nullptr)) return;
    const int before = combo_count(phone, IDC_RECEIVED_LIST);
    PendingSend* import = click(phone, IDC_RECEIVED_IMPORT);
    if (!choose_file(session, phone, csv)) return;
    HWND summary = session.wait_dialog(IDC_IMPORT_TEXT, phone);
    if (CHECK(summary != nullptr)) {
        const std::string shown = item_text(summary, IDC_IMPORT_TEXT);
        CHECK(shown.find("Valid new numbers: 2") != std::string::npos);
        CHECK(shown.find("Duplicates within the file: 1") != std::string::npos);
        CHECK(shown.find("Already in the list: 1") != std::string::npos);
        CHECK(shown.find("Rejected rows: 2") != std::string::npos);
        session.screenshot(summary, "file_menu_import_summary");
        click(summary, IDC_IMPORT_ADD);
    }
    CHECK(import->wait(kJobMs));
    CHECK_EQ(combo_count(phone, IDC_RECEIVED_LIST), before + 2);
    CHECK(writes(session.journal()).empty());  // nothing before Save
    click(phone, IDC_PHONE_SAVE);
    CHECK(options->wait(kJobMs));
    close_cleanly(session, main);
    std::vector<std::string> sent;
    for (const JournalEvent& e : writes(session.journal()))
        sent.push_back(std::to_string(e.command));
    CHECK_EQ(joined(sent), "19 14 17 17 17 17 17 17 17 17");
    const auto saved = session.saved_state();
    if (CHECK(saved.has_value()))
        CHECK_EQ(static_cast<long long>(saved->modules[0].state.accepted_numbers.size()),
                 static_cast<long long>(before + 2));
}

}  // namespace e2e

namespace e2e {

// Connect again after the module was swapped shows the new one.
E2E_CASE(file_menu_connect_again) {
    SessionSetup setup = demo_setup();
    setup.with_state_file = true;  // the module can be changed while the program runs
    Session session("file_menu_connect_again", setup);
    HWND main = start_to_main_window(session);
    if (!main) return;
    zavi::sim::Scenario swapped = setup.scenario;
    swapped.modules[0].state.operator_name = "Orange";
    CHECK(session.change_state(swapped));
    CHECK(command(main, IDM_CONNECT_AGAIN)->wait(kJobMs));
    CHECK(item_text(main, IDC_STATUS_LINE).find("Orange") != std::string::npos);

    close_cleanly(session, main);
}

}  // namespace e2e

namespace e2e {

// The module unplugged while a restore writes the telephone numbers (block 3 of 8): the result
// box, in the user's language, names the record, how far its list got, and the automatic
// backup, which holds what the module had before.
namespace {

struct UnpluggedTexts {
    uint8_t language;
    const char* shot;
    const char* failed;
    const char* written;
    const char* partly;
    const char* read_back;
    const char* heading;
};

void unplugged_during_restore(const std::string& name, const UnpluggedTexts& t) {
    SessionSetup setup = demo_setup();
    setup.with_state_file = true;
    setup.settings = std::string(1, char(t.language));
    zavi::sim::Fault unplug;
    unplug.kind = zavi::sim::FaultKind::unplug;
    unplug.command = 17;  // only a restore writes the numbers here
    unplug.sub_index = 2;
    setup.scenario.modules[0].faults = {unplug};
    Session session(name, setup);
    HWND main = start_to_main_window(session);
    if (!main) return;
    const std::wstring file = session.folder() + L"\\module.zavi.json";
    PendingSend* backup = command(main, IDM_BACKUP);
    answer(session, main, IDNO);
    if (!choose_file(session, main, file)) return;
    take_box(session, main);
    CHECK(backup->wait(kJobMs));

    zavi::sim::Scenario changed = setup.scenario;
    changed.modules[0].state.auto_reset = 4;
    changed.modules[0].state.accepted_numbers.pop_back();
    CHECK(session.change_state(changed));
    PendingSend* restore = command(main, IDM_RESTORE);
    if (!choose_file(session, main, file)) return;
    HWND diff = session.wait_dialog(IDC_DIFF_LIST, main);
    if (CHECK(diff != nullptr)) click(diff, IDC_DIFF_OK);
    answer(session, main, IDYES);
    const std::string result = take_box(session, main, t.shot);
    // The panels are read again after a restore that wrote anything; the module is gone.
    expect_box(session, kAppTitle, kCommunicationError.in(t.language), kJobMs, main);
    CHECK(restore->wait(kJobMs));
    for (const char* part : {t.failed, t.written, t.partly, t.read_back})
        CHECK(result.find(part) != std::string::npos);
    const std::size_t at = result.find(t.heading);
    if (CHECK(at != std::string::npos)) {
        std::string saved;
        CHECK(read_text_file(result.substr(at + std::strlen(t.heading)), &saved));
        const auto before = nlohmann::json::parse(saved, nullptr, false);
        CHECK(!before.is_discarded() && before.contains("auto_reset") &&
              before["auto_reset"].value("period_days", -1) == 4);
    }
    CHECK(session.running() && IsWindow(main));
    close_cleanly(session, main);

    // Auto reset went out before the numbers; nothing reached the module after the unplug.
    std::vector<std::string> sent;
    for (const JournalEvent& e : writes(session.journal()))
        sent.push_back(std::to_string(e.command));
    CHECK(!sent.empty() && sent.front() == "21" && sent.back() == "17");
    const auto state = session.saved_state();
    if (CHECK(state.has_value())) CHECK_EQ(state->modules[0].state.auto_reset, 0);
}

}  // namespace

E2E_CASE(file_menu_unplugged_during_restore) {
    unplugged_during_restore(
        "file_menu_unplugged_during_restore",
        {1, "file_menu_unplugged_result", "Writing failed: telephone numbers",
         "\nWritten: auto-reset\n",
         "\nPartly written: telephone numbers: blocks 1–2 of 8 acknowledged; block 3 was "
         "sent without an acknowledgement",
         "\nRead back after the failure: the module did not answer.",
         "The automatic backup of what the module held before:\n"});
}

E2E_CASE(file_menu_unplugged_during_restore_pl) {
    unplugged_during_restore(
        "file_menu_unplugged_during_restore_pl",
        {0, "file_menu_unplugged_result_pl", "Zapis nie powiódł się: numery telefonów",
         "\nZapisano: auto-reset\n",
         "\nZapisano częściowo: numery telefonów – potwierdzone bloki 1–2 z 8; blok 3 wysłano bez "
         "potwierdzenia",
         "\nOdczyt po błędzie: moduł nie odpowiedział.",
         "Automatyczna kopia zapasowa poprzedniej konfiguracji:\n"});
}

E2E_CASE(file_menu_unplugged_during_restore_de) {
    unplugged_during_restore(
        "file_menu_unplugged_during_restore_de",
        {2, "file_menu_unplugged_result_de", "Schreiben fehlgeschlagen: Telefonnummern",
         "\nGeschrieben: Auto-Reset\n",
         "\nTeilweise geschrieben: Telefonnummern: Blöcke 1–2 von 8 bestätigt; Block 3 wurde ohne "
         "Bestätigung gesendet",
         "\nZurückgelesen nach dem Fehler: Das Modul hat nicht geantwortet.",
         "Automatische Sicherung des vorherigen Modulinhalts:\n"});
}

// Connect again with the module gone: "not connected", the program stays, the module's items
// do nothing; with the module plugged in again it is found.
E2E_CASE(file_menu_connect_again_with_no_module) {
    SessionSetup setup = demo_setup();
    Session session("file_menu_connect_again_with_no_module", setup);
    HWND main = start_to_main_window(session);
    if (!main) return;
    zavi::sim::Scenario none = setup.scenario;
    none.modules.clear();
    CHECK(session.change_scenario(none));
    PendingSend* again = command(main, IDM_CONNECT_AGAIN);
    expect_box(session, kAppTitle, kNotConnected.english, kJobMs, main);
    CHECK(again->wait(kJobMs));
    CHECK(session.running() && IsWindow(main));
    long long last_count = -1;
    for (const JournalEvent& e : session.journal())
        if (e.event == "count") last_count = e.count;
    CHECK_EQ(last_count, 0);
    CHECK(item_text(main, IDC_STATUS_LINE).find("Plus") == std::string::npos);

    // Back up with no module asks nothing and sends nothing.
    const std::size_t frames = requests(session.journal()).size();
    CHECK(command(main, IDM_BACKUP)->wait(kJobMs));
    Sleep(300);
    CHECK(find_dialog(session.pid(), IDNO, main) == nullptr);
    CHECK_EQ(static_cast<long long>(requests(session.journal()).size()),
             static_cast<long long>(frames));

    CHECK(session.change_scenario(setup.scenario));
    CHECK(command(main, IDM_CONNECT_AGAIN)->wait(kJobMs));
    CHECK(item_text(main, IDC_STATUS_LINE).find("Plus") != std::string::npos);
    close_cleanly(session, main);
    expect_no_writes(session);
}

}  // namespace e2e

namespace e2e {

// "Restored and verified." with the automatic backup, in Polish and German.
E2E_CASE(file_menu_restore_result_in_each_language) {
    const struct {
        uint8_t language;
        const char* shot;
        const char* verified;
    } cases[] = {
        {0, "file_menu_restore_result_pl",
         "Przywrócono i sprawdzono.\n\nAutomatyczna kopia zapasowa poprzedniej konfiguracji:\n"},
        {2, "file_menu_restore_result_de",
         "Wiederhergestellt und geprüft.\n\nAutomatische Sicherung des vorherigen Modulinhalts:\n"},
    };
    for (const auto& c : cases) {
        SessionSetup setup = demo_setup();
        setup.with_state_file = true;
        setup.settings = std::string(1, char(c.language));
        Session session(c.shot, setup);
        HWND main = start_to_main_window(session);
        if (!main) return;
        const std::wstring file = session.folder() + L"\\module.zavi.json";
        PendingSend* backup = command(main, IDM_BACKUP);
        answer(session, main, IDNO);
        if (!choose_file(session, main, file)) return;
        take_box(session, main);
        CHECK(backup->wait(kJobMs));

        zavi::sim::Scenario changed = setup.scenario;
        changed.modules[0].state.auto_reset = 9;
        CHECK(session.change_state(changed));
        PendingSend* restore = command(main, IDM_RESTORE);
        if (!choose_file(session, main, file)) return;
        HWND diff = session.wait_dialog(IDC_DIFF_LIST, main);
        if (CHECK(diff != nullptr)) click(diff, IDC_DIFF_OK);
        answer(session, main, IDYES);
        const std::string result = take_box(session, main, c.shot);
        CHECK(restore->wait(kJobMs));
        CHECK_EQ(result.substr(0, std::strlen(c.verified)), std::string(c.verified));
        std::string saved;
        CHECK(read_text_file(result.substr(std::strlen(c.verified)), &saved));
        close_cleanly(session, main);
    }
}

}  // namespace e2e
