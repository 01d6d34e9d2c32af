#include "win32/dialog_host.h"

#include "win32/classic_drawing.h"
#include "win32/win32_dialog_view.h"

namespace zavi {

namespace {

struct HostedDialog {
    DialogLogic& logic;
    Win32DialogView view;
    HWND* handle_out;
};

INT_PTR CALLBACK hosted_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        auto* hosted = reinterpret_cast<HostedDialog*>(lparam);
        SetWindowLongPtrW(dialog, DWLP_USER, lparam);
        hosted->view.attach(dialog);
        draw_flat_buttons_classic(dialog);
        if (hosted->handle_out) *hosted->handle_out = dialog;
        hosted->logic.on_init(hosted->view);
        return TRUE;  // the dialog manager puts the focus on the first control
    }
    auto* hosted = reinterpret_cast<HostedDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!hosted) return FALSE;  // messages before WM_INITDIALOG (WM_SETFONT ...)
    switch (message) {
        case WM_COMMAND:
            hosted->logic.on_command(hosted->view, LOWORD(wparam), HIWORD(wparam));
            return TRUE;
        case WM_CLOSE:
            hosted->logic.on_close(hosted->view);
            return TRUE;
        case WM_ENDSESSION:
            if (wparam) hosted->logic.on_end_session(hosted->view);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

INT_PTR run_modal_dialog(HINSTANCE instance, int template_id, HWND owner, DialogLogic& logic,
                         HWND* handle_out) {
    HostedDialog hosted{logic, Win32DialogView(instance), handle_out};
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(template_id), owner, hosted_dialog_proc,
                           reinterpret_cast<LPARAM>(&hosted));
}

}  // namespace zavi
