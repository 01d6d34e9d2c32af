#include "e2e/demo.h"

#include <windows.h>

#include <cstdio>

#include "e2e/screenshot.h"
#include "e2e/session.h"
#include "e2e/window_control.h"
#include "resources/ids.h"

namespace e2e {

int run_demo(const std::wstring& folder, const std::wstring& screenshot) {
    std::wstring program = folder + L"\\zavi-gsm.exe";
    std::wstring command_line = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        std::printf("demo: cannot start %ls\n", program.c_str());
        return 1;
    }
    int result = 1;
    HWND main = nullptr;
    wait_until(
        [&] {
            main = find_dialog(process.dwProcessId, IDC_REFRESH);
            return main || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
        },
        kStartMs);
    if (main) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, kJobMs, &ignored);
        std::printf("demo: main window shown: %s, %s, %s\n", item_text(main, IDC_TEMP1).c_str(),
                    item_text(main, IDC_STATE_IN1).c_str(),
                    item_text(main, IDC_STATUS_LINE).c_str());
        if (capture_window(main, screenshot)) std::printf("demo: screenshot written\n");
        PostMessageW(main, WM_CLOSE, 0, 0);
        DWORD code = 1;
        if (WaitForSingleObject(process.hProcess, kEndMs) == WAIT_OBJECT_0 &&
            GetExitCodeProcess(process.hProcess, &code) && code == 0) {
            std::printf("demo: program ended cleanly\n");
            result = 0;
        } else {
            std::printf("demo: program did not end cleanly\n");
        }
    } else {
        std::printf("demo: no main window appeared\n");
    }
    if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return result;
}

}  // namespace e2e
