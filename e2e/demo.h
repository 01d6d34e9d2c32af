// The demo's helper: starts zavi-gsm.exe in its folder (on whatever module FTD2XX.dll there
// provides), waits for the main window, saves a screenshot of it and closes it the way a user
// does. Returns 0 when the program showed its window and ended cleanly.
#pragma once

#include <string>

namespace e2e {

int run_demo(const std::wstring& folder, const std::wstring& screenshot);

}  // namespace e2e
