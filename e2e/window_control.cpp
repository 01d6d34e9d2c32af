#include "e2e/window_control.h"

#include <commctrl.h>

#include <deque>
#include <memory>

#include "win32/wide_text.h"

namespace e2e {

namespace {

constexpr DWORD kSendTimeoutMs = 120000;

LRESULT send(HWND dialog, int id, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    HWND control = GetDlgItem(dialog, id);
    if (!control) return -1;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(control, message, wparam, lparam, SMTO_ABORTIFHUNG, 5000, &result))
        return -1;
    return static_cast<LRESULT>(result);
}

// Sends still running when the driver moves on; they end when their window answers or its
// process is gone, and are joined at exit.
std::deque<std::unique_ptr<PendingSend>>& pending() {
    static std::deque<std::unique_ptr<PendingSend>> all;
    return all;
}

PendingSend* keep(PendingSend* send) {
    auto& all = pending();
    while (!all.empty() && all.front()->done()) all.pop_front();
    all.emplace_back(send);
    return send;
}

}  // namespace

std::string window_text(HWND window) {
    if (!window) return "<no window>";
    wchar_t buffer[4096];
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer),
                             SMTO_ABORTIFHUNG, 5000, &got))
        return "<no answer>";
    return zavi::from_wide(std::wstring_view(buffer, got));
}

std::string item_text(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    return control ? window_text(control) : "<no control " + std::to_string(id) + ">";
}

int combo_count(HWND dialog, int id) {
    return static_cast<int>(send(dialog, id, CB_GETCOUNT));
}

int combo_selection(HWND dialog, int id) {
    return static_cast<int>(send(dialog, id, CB_GETCURSEL));
}

std::string combo_item(HWND dialog, int id, int index) {
    const LRESULT length = send(dialog, id, CB_GETLBTEXTLEN, index);
    if (length < 0 || length > 1000) return "<no item " + std::to_string(index) + ">";
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got =
        send(dialog, id, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer.data()));
    if (got < 0) return "<no item " + std::to_string(index) + ">";
    buffer.resize(static_cast<std::size_t>(got));
    return zavi::from_wide(buffer);
}

std::string combo_selected_text(HWND dialog, int id) {
    const int selection = combo_selection(dialog, id);
    return selection < 0 ? "<nothing selected>" : combo_item(dialog, id, selection);
}

bool is_checked(HWND dialog, int id) {
    return send(dialog, id, BM_GETCHECK) == BST_CHECKED;
}

int updown_position(HWND dialog, int id) {
    // No error flag: its pointer would not reach the other process.
    return static_cast<int>(send(dialog, id, UDM_GETPOS32));
}

int progress_position(HWND dialog, int id) {
    return static_cast<int>(send(dialog, id, PBM_GETPOS));
}

bool item_enabled(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    return control && IsWindowEnabled(control);
}

void type_text(HWND dialog, int id, const std::string& utf8) {
    HWND control = GetDlgItem(dialog, id);
    const std::wstring wide = zavi::to_wide(utf8);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
}

void move_updown(HWND dialog, int id, int position) {
    send(dialog, id, UDM_SETPOS32, 0, position);
}

void choose_item(HWND dialog, int id, int index) {
    send(dialog, id, CB_SETCURSEL, index);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)), SMTO_ABORTIFHUNG, 5000,
                        &ignored);
}

namespace {

struct WindowSearch {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK collect_window(HWND window, LPARAM param) {
    auto* s = reinterpret_cast<WindowSearch*>(param);
    DWORD owner_pid = 0;
    GetWindowThreadProcessId(window, &owner_pid);
    if (owner_pid == s->pid && IsWindowVisible(window)) s->found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> process_windows(DWORD pid) {
    WindowSearch search{pid, {}};
    EnumWindows(collect_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND find_dialog(DWORD pid, int control_id, HWND owner) {
    for (HWND window : process_windows(pid)) {
        if (owner && GetWindow(window, GW_OWNER) != owner) continue;
        if (GetDlgItem(window, control_id)) return window;
    }
    return nullptr;
}

PendingSend::PendingSend(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
    : thread_([this, window, message, wparam, lparam] {
          DWORD_PTR ignored = 0;
          SendMessageTimeoutW(window, message, wparam, lparam, SMTO_NORMAL, kSendTimeoutMs,
                              &ignored);
          done_ = true;
      }) {}

PendingSend::~PendingSend() {
    if (thread_.joinable()) thread_.join();
}

bool PendingSend::wait(DWORD timeout_ms) const {
    return wait_until([this] { return done_.load(); }, timeout_ms);
}

PendingSend* click(HWND dialog, int id) {
    return keep(new PendingSend(GetDlgItem(dialog, id), BM_CLICK, 0, 0));
}

PendingSend* command(HWND window, int id) {
    return keep(new PendingSend(window, WM_COMMAND, MAKEWPARAM(id, 0), 0));
}

}  // namespace e2e
