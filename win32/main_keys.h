// The main window's accelerator keys (F5 Refresh, Ctrl+B/R/D for the File menu). The main
// window is a modal dialog, whose message loop is the dialog manager's; a message-filter hook
// on that loop gives its keys to TranslateAccelerator first.
#pragma once

#include <windows.h>

namespace zavi {

class MainWindowKeys {
  public:
    // `main_window` is filled in once the window exists; keys count only while the focus is
    // in it (not in a dialog or box above it).
    MainWindowKeys(HINSTANCE instance, int table_id, HWND* main_window);
    ~MainWindowKeys();
    MainWindowKeys(const MainWindowKeys&) = delete;
    MainWindowKeys& operator=(const MainWindowKeys&) = delete;
};

}  // namespace zavi
