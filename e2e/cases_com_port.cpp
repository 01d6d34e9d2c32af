// The program reaching the module through a COM port: `--port COM5` where COM5 is a Linux
// pseudo-terminal with zavi-sim-serve on its other side (scripts/e2e.sh sets that up and names
// the module's journal in ZAVI_E2E_COM_JOURNAL). No FTD2XX.dll beside the program: the named
// port alone is used. Start-up, the status panel, the About box naming the port, and one Options
// dialog read and saved with the bytes the module expects.
#include "e2e/steps.h"
#include "e2e/window_control.h"
#include "resources/ids.h"

namespace e2e {
namespace {

std::wstring com_journal() {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableW(L"ZAVI_E2E_COM_JOURNAL", buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

}  // namespace

E2E_CASE(com_port_module) {
    const std::wstring journal = com_journal();
    if (journal.empty()) GTEST_SKIP() << "no module on a COM port (ZAVI_E2E_COM_JOURNAL unset)";
    SessionSetup setup = demo_setup();
    setup.with_library = false;
    setup.arguments = L"--port COM5";
    setup.outside_journal = journal;
    Session session("com_port_module", setup);
    HWND main = start_to_main_window(session);
    if (!main) return;

    CHECK_EQ(item_text(main, IDC_STATE_IN1), "Door closed");
    CHECK_EQ(item_text(main, IDC_TEMP1), "21.5 °C");
    session.screenshot(main, "com_port_main_en");

    PendingSend* about_pending = command(main, IDM_ABOUT);
    HWND about = session.wait_dialog(IDC_ABOUT_CLOSE, main, kStartMs);
    if (CHECK(about != nullptr)) {
        CHECK_EQ(item_text(about, IDC_ABOUT_TEXT),
                 "\nZAVI\nALARM-GSM\n\nprogram version: 1.5\nconnection: COM5");
        session.screenshot(about, "com_port_about_en");
        click(about, IDC_ABOUT_CLOSE);
    }
    CHECK(about_pending->wait(kJobMs));

    PendingSend* pending = command(main, IDM_AUTO_RESET);
    HWND dialog = session.wait_dialog(IDC_AUTO_RESET_LABEL, main, kJobMs);
    if (CHECK(dialog != nullptr)) {
        CHECK_EQ(combo_count(dialog, IDC_AUTO_RESET_PERIOD), 6);
        choose_item(dialog, IDC_AUTO_RESET_PERIOD, 3);
        click(dialog, IDC_AUTO_RESET_SAVE);
        CHECK(pending->wait(kJobMs));
        if (auto box = session.message_box_now()) {
            fail("Save showed " + printable(box->text), __FILE__, __LINE__);
            session.press_ok(*box);
        }
    }
    close_cleanly(session, main);
    // Start-up (version, status parts, alarm settings), the Auto-Reset read, its Save with 3 days.
    CHECK_EQ(joined(requests(session.journal())), "1 8/00 8/01 8/02 6 20 21/03");
    const auto written = writes(session.journal());
    if (CHECK_EQ(static_cast<long long>(written.size()), 1LL)) {
        CHECK_EQ(written[0].command, 21);
        CHECK_EQ(hex(written[0].data), "03");
    }
}

}  // namespace e2e

namespace e2e {

// A named port that is not there ends like a module that does not answer; a --port value that is
// no COM port name is refused before anything starts. Neither falls back to another way.
E2E_CASE(com_port_named_badly) {
    struct Row {
        const wchar_t* arguments;
        const char* title;
        const char* text;
        long long exit_code;
    } const rows[] = {
        {L"--port COM9", kAppTitle, kCommunicationError.english, 0},
        {L"--port /dev/ttyUSB0", kAppTitle, "--port needs a COM port name such as COM5.", 2},
        {L"--port", kAppTitle, "--port needs a COM port name such as COM5.", 2},
    };
    int n = 0;
    for (const Row& row : rows) {
        SessionSetup setup = demo_setup();
        setup.settings = std::string(1, '\x01');
        setup.arguments = row.arguments;  // the drop-in FTD2XX.dll stays beside the program
        Session session("com_port_named_badly_" + std::to_string(n++), setup);
        if (!CHECK(session.start())) continue;
        expect_box(session, row.title, row.text, kStartMs);
        CHECK(session.wait_exit(kEndMs));
        CHECK(!session.main_window_ever_visible());
        CHECK_EQ(static_cast<long long>(session.exit_code()), row.exit_code);
        CHECK(session.journal().empty());  // the simulated D2XX module was never asked
    }
}

}  // namespace e2e
