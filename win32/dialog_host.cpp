#include "win32/dialog_host.h"

#include "ui/timed_dialog.h"
#include "win32/classic_drawing.h"
#include "win32/win32_dialog_view.h"

namespace zavi {

namespace {

struct HostedDialog {
    DialogLogic& logic;
    Win32DialogView view;
    HWND* handle_out;
    TimedDialog* timed = nullptr;
    HFONT large_font = nullptr;
};

constexpr UINT_PTR kDialogTimer = 1;

// A dialog that changes by itself gets its timer and its large coloured text.
void start_timed(HWND dialog, HostedDialog& hosted) {
    hosted.timed = dynamic_cast<TimedDialog*>(&hosted.logic);
    if (!hosted.timed) return;
    if (const int id = hosted.timed->large_text_id()) {
        hosted.large_font = CreateFontW(-28, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                        DEFAULT_PITCH | FF_SWISS, L"Arial");
        if (hosted.large_font)
            SendDlgItemMessageW(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(hosted.large_font),
                                FALSE);
    }
    SetTimer(dialog, kDialogTimer, static_cast<UINT>(hosted.timed->timer_interval_ms()), nullptr);
}

INT_PTR CALLBACK hosted_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        auto* hosted = reinterpret_cast<HostedDialog*>(lparam);
        SetWindowLongPtrW(dialog, DWLP_USER, lparam);
        hosted->view.attach(dialog);
        draw_flat_buttons_classic(dialog);
        if (hosted->handle_out) *hosted->handle_out = dialog;
        hosted->logic.on_init(hosted->view);
        start_timed(dialog, *hosted);
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
        case WM_TIMER:
            if (hosted->timed && wparam == kDialogTimer) {
                hosted->timed->on_timer(hosted->view);
                // The colour of the large text may have changed with it.
                if (const int id = hosted->timed->large_text_id())
                    InvalidateRect(GetDlgItem(dialog, id), nullptr, TRUE);
            }
            return TRUE;
        case WM_CTLCOLORSTATIC:
            if (hosted->timed && hosted->timed->large_text_id() != 0 &&
                GetDlgCtrlID(reinterpret_cast<HWND>(lparam)) == hosted->timed->large_text_id()) {
                const TextColour c = hosted->timed->large_text_colour();
                HDC dc = reinterpret_cast<HDC>(wparam);
                SetTextColor(dc, RGB(c.red, c.green, c.blue));
                SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
                return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
            }
            return FALSE;
        case WM_DESTROY:
            if (hosted->timed) KillTimer(dialog, kDialogTimer);
            if (hosted->large_font) DeleteObject(hosted->large_font);
            hosted->large_font = nullptr;
            return FALSE;
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
