// Entry point: common controls, the driver (D2XX, FTDI COM ports or --port COMn), then the main
// window until it closes.
#include <windows.h>

#include <commctrl.h>

#include "app/main_window.h"
#include "dialogs/options_dialogs.h"
#include "link/driver.h"
#include "resources/ids.h"
#include "win32/dialog_host.h"
#include "win32/main_keys.h"
#include "win32/module_driver.h"
#include "win32/worker_shell.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace zavi;

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);

    // Without any driver it stays null and the main window says so.
    const ModuleDriver chosen = choose_module_driver(GetCommandLineW());
    if (chosen.bad_option) {
        MessageBoxW(nullptr, chosen.problem.c_str(), L"ZAVI ALARM-GSM", MB_OK | MB_ICONERROR);
        return 2;
    }
    set_driver(chosen.driver);

    Win32Shell shell(instance);
    shell.set_module_driver(chosen);
    MainWindow main_window(shell, make_options_dialog);
    MainWindowKeys keys(instance, IDR_MAIN_KEYS, shell.owner_slot());
    const INT_PTR result =
        run_modal_dialog(instance, IDD_MAIN, nullptr, main_window, shell.owner_slot());

    set_driver(nullptr);
    return static_cast<int>(result);
}
