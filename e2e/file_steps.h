// Steps of the File menu's dialogs that several cases share: the system's file dialog, the
// program's Yes/No questions and its message boxes.
#pragma once

#include <windows.h>

#include <string>

#include "e2e/session.h"

namespace e2e {

constexpr int kFileNameCombo = 1148;  // the file name box of the system's file dialog

// Types `path` into the file dialog owned by `owner` and presses its OK button.
bool choose_file(Session& session, HWND owner, const std::wstring& path);

// Answers the Yes/No question owned by `owner` with `button` (IDYES or IDNO); returns its text.
std::string answer(Session& session, HWND owner, int button);

// Waits for a message box owned by `owner`, screenshots it as `shot` when given, presses OK
// and returns its text.
std::string take_box(Session& session, HWND owner, const char* shot = nullptr);

}  // namespace e2e
