#include "e2e/file_steps.h"

#include "e2e/harness.h"
#include "e2e/window_control.h"

namespace e2e {

bool choose_file(Session& session, HWND owner, const std::wstring& path) {
    HWND dialog = session.wait_dialog(kFileNameCombo, owner);
    if (!dialog) {
        fail("no file dialog", __FILE__, __LINE__);
        return false;
    }
    SendMessageW(GetDlgItem(dialog, kFileNameCombo), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return true;
}

std::string answer(Session& session, HWND owner, int button) {
    HWND box = session.wait_dialog(IDNO, owner);
    if (!box) {
        fail("no question", __FILE__, __LINE__);
        return "";
    }
    const std::string text = item_text(box, 0xFFFF);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    wait_until([&] { return !IsWindow(box); }, 5000);
    return text;
}

std::string take_box(Session& session, HWND owner, const char* shot) {
    auto box = session.wait_message_box(kJobMs, owner);
    if (!box) {
        fail("no message box", __FILE__, __LINE__);
        return "";
    }
    if (shot) session.screenshot(box->window, shot);
    session.press_ok(*box);
    return box->text;
}

}  // namespace e2e
