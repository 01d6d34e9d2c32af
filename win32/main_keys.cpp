#include "win32/main_keys.h"

namespace zavi {

namespace {

// One main window per thread; the hook procedure has no context argument.
thread_local HACCEL table = nullptr;
thread_local HWND* main_slot = nullptr;
thread_local HHOOK hook = nullptr;

LRESULT CALLBACK filter_keys(int code, WPARAM wparam, LPARAM lparam) {
    auto* msg = reinterpret_cast<MSG*>(lparam);
    if (code == MSGF_DIALOGBOX && msg && table && main_slot && *main_slot &&
        (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) &&
        GetAncestor(msg->hwnd, GA_ROOT) == *main_slot && IsWindowEnabled(*main_slot) &&
        TranslateAcceleratorW(*main_slot, table, msg))
        return 1;  // handled: the dialog manager does not see the key
    return CallNextHookEx(hook, code, wparam, lparam);
}

}  // namespace

MainWindowKeys::MainWindowKeys(HINSTANCE instance, int table_id, HWND* main_window) {
    table = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(table_id));
    main_slot = main_window;
    hook = SetWindowsHookExW(WH_MSGFILTER, filter_keys, nullptr, GetCurrentThreadId());
}

MainWindowKeys::~MainWindowKeys() {
    if (hook) UnhookWindowsHookEx(hook);
    hook = nullptr;
    main_slot = nullptr;
    table = nullptr;  // freed with the module
}

}  // namespace zavi
