// The windows at the screen's DPI (scripts/e2e.sh runs these cases again at 144 DPI): the main
// window grows with the DPI, stays on the screen, the bars grow with it; the newer windows stay
// on the screen too; screenshots named by the DPI.
#include <string>

#include "e2e/steps.h"
#include "e2e/window_control.h"
#include "resources/ids.h"

namespace e2e {

namespace {

int screen_dpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

bool on_screen(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r.left >= 0 && r.top >= 0 && r.right <= GetSystemMetrics(SM_CXSCREEN) &&
           r.bottom <= GetSystemMetrics(SM_CYSCREEN);
}

int width_of(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r.right - r.left;
}

// Opens the window of `item`, photographs it once `control` is there, and closes it with
// `close`.
void photograph(Session& session, HWND main, int item, int control, int close,
                const std::string& shot) {
    Context context(shot);
    PendingSend* open = command(main, item);
    HWND window = session.wait_dialog(control, main);
    if (!CHECK(window != nullptr)) return;
    CHECK(on_screen(window));
    Sleep(1500);  // the reads of the walk test and the survey show something first
    session.screenshot(window, shot);
    CHECK(click(window, close)->wait(kJobMs));
    CHECK(open->wait(kJobMs));
    CHECK(session.message_box_now(main) == std::nullopt);
}

}  // namespace

E2E_CASE(high_dpi_main_window_and_dialog) {
    const int dpi = screen_dpi();
    const std::string prefix = "dpi" + std::to_string(dpi) + "_";
    const char* suffix[] = {"pl", "en", "de"};
    for (uint8_t language : {uint8_t(0), uint8_t(1), uint8_t(2)}) {
        SessionSetup setup = demo_setup();
        setup.settings = std::string(1, char(language));
        Session session(prefix + suffix[language], setup);
        HWND main = start_to_main_window(session);
        if (!main) continue;
        // The template is 460 dialog units wide, about 1.5 pixels each at 96 DPI.
        RECT client{};
        GetClientRect(main, &client);
        const int expected = 460 * 3 / 2 * dpi / 96;
        CHECK(client.right > expected * 9 / 10 && client.right < expected * 12 / 10);
        CHECK(on_screen(main));
        // The bars keep their share of the window (98 and 102 of 460 units).
        const int signal = width_of(GetDlgItem(main, IDC_SIGNAL_BAR));
        const int battery = width_of(GetDlgItem(main, IDC_BATTERY_BAR));
        CHECK(signal * 460 > client.right * 98 * 9 / 10 &&
              signal * 460 < client.right * 98 * 11 / 10);
        CHECK(battery * 460 > client.right * 102 * 9 / 10 &&
              battery * 460 < client.right * 102 * 11 / 10);
        session.screenshot(main, prefix + "main_" + suffix[language]);

        PendingSend* pending = command(main, IDM_ACTIONS);
        HWND actions = session.wait_dialog(IDC_ACTIONS_CANCEL, main);
        if (CHECK(actions != nullptr)) {
            session.screenshot(actions, prefix + "actions_" + suffix[language]);
            click(actions, IDC_ACTIONS_CANCEL);
        }
        CHECK(pending->wait(kJobMs));
        close_cleanly(session, main);
        expect_no_writes(session);
    }
}

// The commissioning windows in Polish and German: walk test, survey, the report's details and
// the setup station, each on the screen and photographed. Whether their texts fit is measured
// in-process by the Win32 layer checks at the same DPI.
E2E_CASE(high_dpi_commissioning_windows) {
    const std::string prefix = "dpi" + std::to_string(screen_dpi()) + "_";
    Session session(prefix + "commissioning", demo_setup());
    HWND main = start_to_main_window(session);
    if (!main) return;
    const struct {
        int item;
        const char* suffix;
    } languages[] = {{IDM_POLISH, "pl"}, {IDM_GERMAN, "de"}};
    for (const auto& l : languages) {
        CHECK(command(main, l.item)->wait(kJobMs));
        photograph(session, main, IDM_WALK_TEST, IDC_WT_SUMMARY, IDC_WT_CLOSE,
                   prefix + "walk_test_" + l.suffix);
        photograph(session, main, IDM_SURVEY, IDC_SV_PLOT, IDC_SV_CLOSE,
                   prefix + "survey_" + l.suffix);
        photograph(session, main, IDM_REPORT, IDC_RD_INSTALLER, IDC_RD_CANCEL,
                   prefix + "report_details_" + l.suffix);
    }
    // The station lets the window's module go: last.
    for (const auto& l : languages) {
        CHECK(command(main, l.item)->wait(kJobMs));
        photograph(session, main, IDM_STATION, IDC_ST_BEGIN, IDC_ST_CLOSE,
                   prefix + "station_" + l.suffix);
    }
    expect_no_writes(session);
    close_cleanly(session, main);
}

}  // namespace e2e
