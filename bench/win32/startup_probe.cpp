// Times the start of zavi-gsm.exe until its main window is visible and shows what it read from
// the module (the IN-1 state text is only ever filled from the module), then closes it.
//   startup_probe.exe PROGRAM.exe [RUNS [LIMIT_MS]]
// One warm-up start is not counted; of RUNS timed starts (default 3) the best must be under
// LIMIT_MS (default 1500). Exit 0 when it is, 1 when not, 2 on a usage or start error.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "resources/ids.h"

namespace {

constexpr DWORD kGiveUpMs = 20000;  // a start that takes this long counts as failed

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK match_main_window(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != s->pid || !IsWindowVisible(hwnd)) return TRUE;
    // Message boxes are dialogs too; only the main window has the status controls.
    if (GetDlgItem(hwnd, IDC_STATE_IN1) == nullptr) return TRUE;
    s->found = hwnd;
    return FALSE;
}

bool control_text(HWND dialog, int id, wchar_t* text, int size) {
    text[0] = L'\0';
    HWND control = GetDlgItem(dialog, id);
    DWORD_PTR copied = 0;
    return control != nullptr &&
           SendMessageTimeoutW(control, WM_GETTEXT, size, reinterpret_cast<LPARAM>(text),
                               SMTO_ABORTIFHUNG, 500, &copied) != 0 &&
           copied > 0;
}

// Milliseconds from the start of the process to its main window showing module values; a
// negative value when it did not get there. The program is closed either way.
double one_start(const wchar_t* program) {
    wchar_t command[MAX_PATH + 4];
    std::swprintf(command, MAX_PATH + 4, L"\"%ls\"", program);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(program, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::fwprintf(stderr, L"cannot start %ls (error %lu)\n", program, GetLastError());
        return -2;
    }
    double elapsed = -1;
    HWND window = nullptr;
    wchar_t text[128];
    for (;;) {
        QueryPerformanceCounter(&now);
        const double ms = (now.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
        Search s{pi.dwProcessId, nullptr};
        EnumWindows(match_main_window, reinterpret_cast<LPARAM>(&s));
        if (s.found && control_text(s.found, IDC_STATE_IN1, text, 128)) {
            window = s.found;
            elapsed = ms;
            break;
        }
        if (ms > kGiveUpMs || WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break;
        Sleep(1);
    }
    if (window) {
        std::wprintf(L"  main window after %7.1f ms, IN-1 shows \"%ls\"\n", elapsed, text);
        PostMessageW(window, WM_CLOSE, 0, 0);
    } else {
        std::wprintf(L"  no main window with module values\n");
    }
    if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) {
        std::wprintf(L"  the program did not end; terminated\n");
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 5000);
        elapsed = -1;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return elapsed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: startup_probe PROGRAM.exe [RUNS [LIMIT_MS]]\n");
        return 2;
    }
    const int runs = argc > 2 ? _wtoi(argv[2]) : 3;
    const double limit = argc > 3 ? _wtoi(argv[3]) : 1500;
    if (runs < 1 || limit <= 0) return 2;

    std::wprintf(L"warm-up:\n");
    if (one_start(argv[1]) < -1) return 2;
    double best = -1;
    for (int i = 0; i < runs; ++i) {
        std::wprintf(L"run %d:\n", i + 1);
        const double t = one_start(argv[1]);
        if (t >= 0 && (best < 0 || t < best)) best = t;
    }
    if (best < 0) {
        std::wprintf(L"start-up: the main window never showed module values\n");
        return 1;
    }
    const bool ok = best < limit;
    std::wprintf(L"start-up: best %.1f ms of %d runs (limit %.0f ms): %ls\n", best, runs, limit,
                 ok ? L"ok" : L"TOO SLOW");
    std::fflush(stdout);
    return ok ? 0 : 1;
}
