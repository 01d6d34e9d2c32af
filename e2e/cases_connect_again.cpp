// The window without a module and after Connect again found one, in each language, and what
// the File menu says when a backup fails. Then the COM port path: a mapping of COM5 made only
// after the program started, to a module served anew (scripts/e2e.sh plays COM5 and takes the
// case's requests through the folder named in ZAVI_E2E_COM_CONTROL).
#include <string>

#include "e2e/journal.h"
#include "e2e/steps.h"
#include "e2e/window_control.h"
#include "resources/ids.h"
#include "sim/demo_scenario.h"

namespace e2e {
namespace {

constexpr int kFileNameCombo = 1148;  // the file name box of the system's file dialog

const Texts3 kConnected{"Połączono: ZAVI-GSM v1.7", "Connected: ZAVI-GSM v1.7",
                        "Verbunden: ZAVI-GSM v1.7"};
const Texts3 kBackupFailed{"Kopia zapasowa nie powstała: nie zapisano żadnego pliku.",
                           "The backup failed: no file was saved.",
                           "Die Sicherung ist fehlgeschlagen: Es wurde keine Datei gespeichert."};

bool starts_with(const std::string& text, const std::string& start) {
    return text.rfind(start, 0) == 0;
}

bool enabled(HWND main, int id) {
    return IsWindowEnabled(GetDlgItem(main, id)) != FALSE;
}

std::wstring environment(const wchar_t* name) {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableW(name, buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

bool write_text(const std::wstring& path, const std::string& text) {
    const std::wstring temp = path + L".tmp";
    HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                    written == text.size();
    CloseHandle(h);
    return ok && MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

std::string read_text(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    char buffer[256] = {};
    DWORD got = 0;
    ReadFile(h, buffer, sizeof buffer - 1, &got, nullptr);
    CloseHandle(h);
    return std::string(buffer, got);
}

// Asks the player of COM5 for `action` ("pull": the mapping goes, the module stays served;
// "serve NAME": the old module is stopped and the one of NAME.json served on a new mapping,
// journal in journal-NAME.jsonl; "restore": the demo module of the start again) and waits
// until it is done.
bool com5(const std::wstring& control, const std::string& action) {
    static int request = 0;
    const std::string n = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++request);
    if (!write_text(control + L"\\request", n + " " + action + "\n")) return false;
    return wait_until(
        [&] {
            std::string done = read_text(control + L"\\done");
            while (!done.empty() && (done.back() == '\n' || done.back() == '\r')) done.pop_back();
            return done == n;
        },
        10000);
}

}  // namespace

// No module: the panels show dashes, the buttons are greyed and the status line says so; Connect
// again then finds the module and names it; a backup that cannot read says no file was saved.
E2E_CASE(connect_again_no_module_found_and_failed_backup) {
    SessionSetup setup = demo_setup();
    Session session("connect_again_no_module_found_and_failed_backup", setup);
    HWND main = start_to_main_window(session);
    if (!main) return;
    const struct {
        int item;
        uint8_t language;
        const char* suffix;
    } languages[] = {{IDM_POLISH, 0, "pl"}, {IDM_ENGLISH, 1, "en"}, {IDM_GERMAN, 2, "de"}};
    for (const auto& l : languages) {
        Context row(l.suffix);
        CHECK(command(main, l.item)->wait(kJobMs));

        zavi::sim::Scenario none = setup.scenario;
        none.modules.clear();
        CHECK(session.change_scenario(none));
        PendingSend* again = command(main, IDM_CONNECT_AGAIN);
        expect_box(session, kAppTitle, kNotConnected.in(l.language), kJobMs, main);
        CHECK(again->wait(kJobMs));
        CHECK_EQ(item_text(main, IDC_STATUS_LINE), kNotConnected.in(l.language));
        CHECK_EQ(item_text(main, IDC_TEMP1), "\xE2\x80\x94");
        CHECK_EQ(item_text(main, IDC_BATTERY_TEXT), "\xE2\x80\x94");
        CHECK_EQ(item_text(main, IDC_STATE_IN1), "");
        for (int id : {IDC_REFRESH, IDC_READ, IDC_SAVE}) CHECK(!enabled(main, id));
        session.screenshot(main, std::string("no_module_") + l.suffix);

        // The module back, with a fault that only a backup meets (the I/O names).
        zavi::sim::Scenario back = setup.scenario;
        back.modules[0].state.operator_name = "Orange";
        zavi::sim::Fault silent;
        silent.kind = zavi::sim::FaultKind::no_answer;
        silent.command = 24;
        back.modules[0].faults = {silent};
        CHECK(session.change_scenario(back));
        CHECK(command(main, IDM_CONNECT_AGAIN)->wait(kJobMs));
        const std::string line = item_text(main, IDC_STATUS_LINE);
        CHECK(starts_with(line, std::string(kConnected.in(l.language)) + " (D2XX)      GSM: "));
        CHECK(line.find("Orange") != std::string::npos);
        CHECK_EQ(item_text(main, IDC_TEMP1), "21.5 °C");
        for (int id : {IDC_REFRESH, IDC_READ, IDC_SAVE}) CHECK(enabled(main, id));
        session.screenshot(main, std::string("connected_again_") + l.suffix);

        PendingSend* backup = command(main, IDM_BACKUP);
        HWND question = session.wait_dialog(IDNO, main);
        if (!CHECK(question != nullptr)) return;
        PostMessageW(question, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
        HWND save = session.wait_dialog(kFileNameCombo, main);
        if (!CHECK(save != nullptr)) return;
        // A dated name is offered: zavi-YYYY-MM-DD-HHMM.zavi.json.
        const std::string offered = item_text(save, kFileNameCombo);
        CHECK(starts_with(offered, "zavi-20") && offered.size() == 30 &&
              offered.substr(20) == ".zavi.json");
        session.screenshot(save, std::string("backup_save_dialog_") + l.suffix);
        const std::wstring file = session.folder() + L"\\failed.zavi.json";
        SendMessageW(GetDlgItem(save, kFileNameCombo), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(file.c_str()));
        PostMessageW(save, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        auto box = session.wait_message_box(kJobMs, main);
        if (CHECK(box.has_value())) {
            CHECK(starts_with(box->text, kBackupFailed.in(l.language)));
            session.screenshot(box->window, std::string("backup_failed_") + l.suffix);
            session.press_ok(*box);
        }
        CHECK(backup->wait(kJobMs));
        CHECK(GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES);
    }
    close_cleanly(session, main);
    expect_no_writes(session);
}

// --port COM5: the module is pulled (its mapping goes), Connect again cannot open it; then a
// mapping made after the start leads to another module, served by a new process, and Connect
// again finds it there.
E2E_CASE(com_port_connect_again_late_mapping) {
    const std::wstring control = environment(L"ZAVI_E2E_COM_CONTROL");
    if (control.empty()) GTEST_SKIP() << "no player of COM5 (ZAVI_E2E_COM_CONTROL unset)";
    const zavi::sim::Scenario first = zavi::sim::demo_scenario();
    zavi::sim::Scenario other = first;
    other.modules[0].state.operator_name = "Orange";
    other.modules[0].state.temp1_whole = 30;
    other.modules[0].state.temp1_tenths = 0;
    if (!CHECK(write_text(control + L"\\first.json", zavi::sim::scenario_to_json(first)) &&
               write_text(control + L"\\other.json", zavi::sim::scenario_to_json(other))))
        return;
    if (!CHECK(com5(control, "serve first"))) return;

    SessionSetup setup = demo_setup();
    setup.with_library = false;
    setup.arguments = L"--port COM5";
    Session session("com_port_connect_again_late_mapping", setup);
    HWND main = start_to_main_window(session);
    if (!main) {
        com5(control, "restore");
        return;
    }
    CHECK_EQ(item_text(main, IDC_TEMP1), "21.5 °C");

    // The one port named cannot be opened, as at a start without it.
    CHECK(com5(control, "pull"));
    PendingSend* again = command(main, IDM_CONNECT_AGAIN);
    expect_box(session, kAppTitle, kCommunicationError.english, kJobMs, main);
    CHECK(again->wait(kJobMs));
    CHECK_EQ(item_text(main, IDC_STATUS_LINE), kNotConnected.english);
    CHECK(!enabled(main, IDC_REFRESH));
    session.screenshot(main, "com_port_pulled_en");

    CHECK(com5(control, "serve other"));
    again = command(main, IDM_CONNECT_AGAIN);
    CHECK(again->wait(kJobMs));
    if (auto box = session.message_box_now()) {
        fail("Connect again showed " + printable(box->text), __FILE__, __LINE__);
        session.press_ok(*box);
    }
    const std::string line = item_text(main, IDC_STATUS_LINE);
    CHECK(starts_with(line, "Connected: ZAVI-GSM v1.7 (COM5)      GSM: ready   ( Orange )"));
    CHECK_EQ(item_text(main, IDC_TEMP1), "30.0 °C");
    CHECK(enabled(main, IDC_REFRESH));
    session.screenshot(main, "com_port_connected_again_en");
    close_cleanly(session, main);

    // The new module got the version request and the first read, and nothing was written.
    const std::vector<JournalEvent> served = read_journal(control + L"\\journal-other.jsonl");
    CHECK_EQ(joined(requests(served)), "1 8/00 8/01 8/02 6");
    CHECK(writes(served).empty());
    CHECK(com5(control, "restore"));
}

}  // namespace e2e
