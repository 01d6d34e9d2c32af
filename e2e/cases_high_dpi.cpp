// The main window and one dialog at the screen's DPI (scripts/e2e.sh runs this case again at
// 144 DPI): the window grows with the DPI, stays on the screen, the bars grow with it, and
// screenshots in each language named by the DPI.
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

int width_of(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r.right - r.left;
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
        RECT r{};
        GetWindowRect(main, &r);
        CHECK(r.left >= 0 && r.top >= 0 && r.right <= GetSystemMetrics(SM_CXSCREEN) &&
              r.bottom <= GetSystemMetrics(SM_CYSCREEN));
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

}  // namespace e2e
