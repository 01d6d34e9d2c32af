// Steps that many cases share: start and reach the idle main window, end cleanly, and the
// checks that come with them.
#pragma once

#include <windows.h>

#include <string>

#include "e2e/harness.h"
#include "e2e/session.h"

namespace e2e {

constexpr const char* kAppTitle = "ZAVI ALARM-GSM";

extern const Texts3 kCommunicationError;
extern const Texts3 kNotConnected;

// Starts the program and waits for its main window (null, with a failure recorded, when it
// does not come).
HWND start_to_main_window(Session& session);
// The same for a program already started (after a start-up message, say).
HWND await_main_window(Session& session);

// Closes the main window and checks that the program ends by itself with result 0.
void close_cleanly(Session& session, HWND main);

// Checks that the program ends by itself (after a start-up message) with result 0, without
// ever showing its main window.
void ends_without_main_window(Session& session);

// Waits for a message box, checks its title and text, presses OK.
void expect_box(Session& session, const std::string& title, const std::string& text,
                DWORD timeout_ms, HWND owner = nullptr);

// Checks that the module received no write command.
void expect_no_writes(const Session& session);

}  // namespace e2e
