// A module holding what the program would refuse from a hand-made file: the backup box says so
// in the user's language and words, and restoring that backup into the changed module gives it
// back exactly.
#include <string>

#include "e2e/steps.h"
#include "e2e/window_control.h"
#include "resources/ids.h"

namespace e2e {
namespace {

constexpr int kFileNameBox = 1148;  // the file name box of the system's file dialog

bool type_file_name(Session& session, HWND owner, const std::wstring& path) {
    HWND dialog = session.wait_dialog(kFileNameBox, owner);
    if (!dialog) return false;
    SendMessageW(GetDlgItem(dialog, kFileNameBox), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return true;
}

// The Yes/No question owned by `owner`: its text, after a screenshot when named, answered.
std::string question(Session& session, HWND owner, int button, const char* shot = nullptr) {
    HWND box = session.wait_dialog(IDNO, owner);
    if (!box) return "";
    if (shot) session.screenshot(box, shot);
    const std::string text = item_text(box, 0xFFFF);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    wait_until([&] { return !IsWindow(box); }, 5000);
    return text;
}

std::string message(Session& session, HWND owner, const char* shot) {
    auto box = session.wait_message_box(kJobMs, owner);
    if (!box) return "";
    session.screenshot(box->window, shot);
    session.press_ok(*box);
    return box->text;
}

bool holds(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

E2E_CASE(file_menu_backup_of_an_odd_module_and_back) {
    SessionSetup setup = demo_setup();
    setup.with_state_file = true;
    zavi::sim::ModuleState& odd = setup.scenario.modules[0].state;
    odd.accepted_numbers.push_back(odd.accepted_numbers[0]);  // the ADD dialog allows it
    odd.alarm_settings[5] = odd.alarm_settings[2];            // thermometer 1: low = high
    odd.alarm_settings[4] = odd.alarm_settings[1];
    Session session("file_menu_backup_of_an_odd_module_and_back", setup);
    HWND main = start_to_main_window(session);
    if (!main) return;

    struct Language {
        int item;
        const wchar_t* file;
        const char* shot;
        const char* thermometer;
        const char* repeated;
    };
    const Language languages[] = {
        {IDM_POLISH, L"\\odd-pl.zavi.json", "file_menu_backup_warnings_pl",
         "Uwaga: Termometr 1: próg górny nie jest wyższy od dolnego",
         "Uwaga: Numery telefonów, pozycja 4: +48600100200 występuje już wcześniej"},
        {IDM_GERMAN, L"\\odd-de.zavi.json", "file_menu_backup_warnings_de",
         "Hinweis: Thermometer 1: Die obere Schwelle liegt nicht über der unteren",
         "Hinweis: Telefonnummern, Eintrag 4: +48600100200 steht schon in der Liste"},
    };
    for (const Language& l : languages) {
        CHECK(command(main, l.item)->wait(kJobMs));
        PendingSend* backup = command(main, IDM_BACKUP);
        question(session, main, IDNO);
        if (!CHECK(type_file_name(session, main, session.folder() + l.file))) return;
        const std::string box = message(session, main, l.shot);
        CHECK(holds(box, l.thermometer));
        CHECK(holds(box, l.repeated));
        CHECK(!holds(box, "alarm_settings") && !holds(box, "accepted_numbers"));
        CHECK(backup->wait(kJobMs));
    }

    // The module changed since; the German restore of the backup names what it keeps.
    zavi::sim::Scenario changed = setup.scenario;
    changed.modules[0].state.accepted_numbers.pop_back();
    changed.modules[0].state.alarm_settings[5] = 5;
    CHECK(session.change_state(changed));
    PendingSend* restore = command(main, IDM_RESTORE);
    if (!CHECK(type_file_name(session, main, session.folder() + languages[1].file))) return;
    HWND diff = session.wait_dialog(IDC_DIFF_LIST, main);
    if (CHECK(diff != nullptr)) click(diff, IDC_DIFF_OK);
    const std::string confirm =
        question(session, main, IDYES, "file_menu_restore_confirm_warnings_de");
    CHECK(holds(confirm, languages[1].thermometer));
    CHECK(holds(confirm, languages[1].repeated));
    CHECK(message(session, main, "file_menu_restore_odd_result_de")
              .rfind("Wiederhergestellt und geprüft.", 0) == 0);
    CHECK(restore->wait(kJobMs));
    close_cleanly(session, main);
    const auto saved = session.saved_state();
    if (CHECK(saved.has_value())) CHECK(saved->modules[0].state == odd);
}

}  // namespace e2e
