// Reading and driving another process's windows by window messages, as a user's clicks and eyes
// would: texts, list items, check marks, up-down and progress positions, button clicks and
// commands. Menus cannot be read across processes under Wine; the unit tests cover them.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

std::string window_text(HWND window);
std::string item_text(HWND dialog, int id);
int combo_count(HWND dialog, int id);
int combo_selection(HWND dialog, int id);  // -1: nothing selected
std::string combo_item(HWND dialog, int id, int index);
std::string combo_selected_text(HWND dialog, int id);
bool is_checked(HWND dialog, int id);
int updown_position(HWND dialog, int id);
int progress_position(HWND dialog, int id);
bool item_enabled(HWND dialog, int id);

// Puts a text into an edit as if typed (the owner is told the edit changed).
void type_text(HWND dialog, int id, const std::string& utf8);
// Moves an up-down control to a position, as its arrows would.
void move_updown(HWND dialog, int id, int position);
// Picks a list item as a user would, with the selection-change notification.
void choose_item(HWND dialog, int id, int index);

// Visible top-level windows of a process.
std::vector<HWND> process_windows(DWORD pid);
// A visible dialog of the process holding a control with `control_id` (and owned by `owner`
// when given), or null.
HWND find_dialog(DWORD pid, int control_id, HWND owner = nullptr);

// Polls `condition` every 20 ms until it holds or `timeout_ms` passed.
template <typename Condition>
bool wait_until(Condition condition, DWORD timeout_ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeout_ms) return false;
        Sleep(20);
    }
}

// A message sent from a thread of its own, so that a handler that opens a modal window (the
// progress dialog, a message box, an Options dialog) does not block the driver. done() turns
// true when the window has finished handling it.
class PendingSend {
  public:
    PendingSend(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    ~PendingSend();
    PendingSend(const PendingSend&) = delete;
    PendingSend& operator=(const PendingSend&) = delete;
    bool done() const { return done_; }
    bool wait(DWORD timeout_ms) const;

  private:
    std::atomic<bool> done_{false};
    std::thread thread_;
};

// Clicks a button of a dialog (BM_CLICK) from a thread of its own.
PendingSend* click(HWND dialog, int id);
// Sends WM_COMMAND with `id` (a menu item or a button) to `window` from a thread of its own.
PendingSend* command(HWND window, int id);

}  // namespace e2e
