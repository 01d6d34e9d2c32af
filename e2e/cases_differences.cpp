// The differences list and the CSV import summary of the real program in each language: the
// program's words, only the buttons that act, and screenshots of both.
#include <string>

#include "e2e/file_steps.h"
#include "e2e/steps.h"
#include "e2e/window_control.h"
#include "resources/ids.h"

namespace e2e {
namespace {

bool has_scroll_bar(HWND dialog) {
    return (GetWindowLongW(GetDlgItem(dialog, IDC_DIFF_LIST), GWL_STYLE) & WS_VSCROLL) != 0;
}

bool shown(HWND dialog, int id) {
    return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE;
}

void write_text(const std::wstring& path, const std::string& text) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(h);
}

struct Language {
    int command;
    const char* suffix;
    const char* auto_reset;  // the Auto-Reset line
    const char* repeat;      // the repeated number's line
    const char* reason;      // a rejection reason in the import summary
};

constexpr Language kLanguages[] = {
    {IDM_POLISH, "pl", "Auto-Reset, Okres wyzwalania: 9 dni \u2192 5 dni",
     "Akceptowane numery: +48600100200 usunięty (1 z 2)", "mniej niż 11 cyfr"},
    {IDM_ENGLISH, "en", "Auto-Reset, Trigger period: 9 days \u2192 5 days",
     "Received phone numbers: +48600100200 removed (1 of 2)", "fewer than 11 digits"},
    {IDM_GERMAN, "de", "Auto-Reset, Auslöseintervall: 9 Tage \u2192 5 Tage",
     "Akzeptierte Telefonnummern: +48600100200 entfernt (1 von 2)", "weniger als 11 Ziffern"},
};

}  // namespace

E2E_CASE(differences_and_import_summary_in_each_language) {
    SessionSetup setup = demo_setup();
    setup.with_state_file = true;
    setup.scenario.modules[0].state.auto_reset = 5;
    Session session("differences_and_import_summary_in_each_language", setup);
    HWND main = start_to_main_window(session);
    if (!main) return;
    const std::wstring file = session.folder() + L"\\module.zavi.json";
    PendingSend* backup = command(main, IDM_BACKUP);
    HWND question = session.wait_dialog(IDNO, main);  // the PIN question: No
    if (!CHECK(question != nullptr)) return;
    PostMessageW(question, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
    if (!choose_file(session, main, file)) return;
    if (auto box = session.wait_message_box(kJobMs, main)) session.press_ok(*box);
    CHECK(backup->wait(kJobMs));

    // The module now differs: another period, and its first accepted number twice.
    zavi::sim::Scenario changed = setup.scenario;
    auto& state = changed.modules[0].state;
    state.auto_reset = 9;
    if (!CHECK(!state.accepted_numbers.empty())) return;
    state.accepted_numbers.push_back(state.accepted_numbers[0]);
    CHECK(session.change_state(changed));

    const std::wstring csv = session.folder() + L"\\numbers.csv";
    write_text(csv, "Telefon\r\n+48 600 100 300;biuro\r\n   \r\nabc;x\r\n+48 600 100;y\r\n");

    for (const Language& l : kLanguages) {
        CHECK(command(main, l.command)->wait(kJobMs));
        for (const bool restore : {false, true}) {
            PendingSend* pending = command(main, restore ? IDM_RESTORE : IDM_COMPARE);
            if (!choose_file(session, main, file)) return;
            HWND diff = session.wait_dialog(IDC_DIFF_LIST, main);
            if (!CHECK(diff != nullptr)) return;
            const std::string list = item_text(diff, IDC_DIFF_LIST);
            CHECK_EQ(list, std::string(l.auto_reset) + "\r\n" + l.repeat);
            CHECK(shown(diff, IDC_DIFF_OK));
            CHECK_EQ(shown(diff, IDC_DIFF_CANCEL), restore);
            CHECK(!has_scroll_bar(diff));  // two lines fit
            session.screenshot(
                diff,
                std::string(restore ? "differences_restore_" : "differences_compare_") + l.suffix);
            click(diff, restore ? IDC_DIFF_CANCEL : IDC_DIFF_OK);
            CHECK(pending->wait(kJobMs));
        }

        PendingSend* options = command(main, IDM_PHONE_NUMBERS);
        HWND phone = session.wait_dialog(IDC_RECEIVED_ALL, main);
        if (!CHECK(phone != nullptr)) return;
        PendingSend* import = click(phone, IDC_RECEIVED_IMPORT);
        if (!choose_file(session, phone, csv)) return;
        HWND summary = session.wait_dialog(IDC_IMPORT_TEXT, phone);
        if (CHECK(summary != nullptr)) {
            const std::string text = item_text(summary, IDC_IMPORT_TEXT);
            // The header and the blank line are no rows; the one-column header does not hide
            // the semicolons.
            CHECK(text.find(": 3\r\n") != std::string::npos);
            CHECK(text.find(l.reason) != std::string::npos);
            session.screenshot(summary, std::string("import_summary_") + l.suffix);
            click(summary, IDC_IMPORT_CANCEL);
        }
        CHECK(import->wait(kJobMs));
        click(phone, IDC_PHONE_CANCEL);
        CHECK(options->wait(kJobMs));
    }
    // A list longer than the box gets its scroll bar.
    for (int i = 0; i < 30; ++i) {
        auto number = state.accepted_numbers[0];
        number[4] = static_cast<uint8_t>((i / 10) << 4 | (i % 10));
        state.accepted_numbers.push_back(number);
    }
    CHECK(session.change_state(changed));
    PendingSend* compare = command(main, IDM_COMPARE);
    if (!choose_file(session, main, file)) return;
    HWND diff = session.wait_dialog(IDC_DIFF_LIST, main);
    if (CHECK(diff != nullptr)) {
        CHECK(has_scroll_bar(diff));
        session.screenshot(diff, "differences_compare_long_de");
        click(diff, IDC_DIFF_OK);
    }
    CHECK(compare->wait(kJobMs));
    close_cleanly(session, main);
    expect_no_writes(session);
}

}  // namespace e2e
