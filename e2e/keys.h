// Driving the program by its keyboard alone: real key presses (SendInput), which reach the
// window that has the focus as a user's typing would, through the program's message loop.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// Makes `window` the foreground window; false when it does not become it.
bool bring_to_front(HWND window);
// Presses and releases `key`, with Ctrl held when asked.
void press_key(WORD key, bool ctrl = false);
// Presses the keys of digits and capital letters one by one.
void type_keys(const std::string& keys);
// The control ID of the focused window of the thread that owns `window` (-1: none).
int focused_id(HWND window);
// Presses Tab until the control `id` has the focus; false after `most` presses.
bool tab_to(HWND window, int id, int most = 40);

}  // namespace e2e
