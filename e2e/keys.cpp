#include "e2e/keys.h"

#include "e2e/window_control.h"

namespace e2e {

namespace {

INPUT key_input(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

HWND focus_of(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

}  // namespace

bool bring_to_front(HWND window) {
    return wait_until(
        [&] {
            SetForegroundWindow(window);
            return GetForegroundWindow() == window;
        },
        3000);
}

void press_key(WORD key, bool ctrl) {
    INPUT inputs[4];
    UINT count = 0;
    if (ctrl) inputs[count++] = key_input(VK_CONTROL, false);
    inputs[count++] = key_input(key, false);
    inputs[count++] = key_input(key, true);
    if (ctrl) inputs[count++] = key_input(VK_CONTROL, true);
    SendInput(count, inputs, sizeof(INPUT));
    Sleep(60);  // the program takes the keys from its queue in its own time
}

void type_keys(const std::string& keys) {
    for (char c : keys) press_key(static_cast<WORD>(c));
}

int focused_id(HWND window) {
    HWND focus = focus_of(window);
    return focus ? GetDlgCtrlID(focus) : -1;
}

bool tab_to(HWND window, int id, int most) {
    for (int i = 0; i <= most; ++i) {
        if (wait_until([&] { return focused_id(window) == id; }, i == 0 ? 0 : 300)) return true;
        if (i < most) press_key(VK_TAB);
    }
    return false;
}

}  // namespace e2e
