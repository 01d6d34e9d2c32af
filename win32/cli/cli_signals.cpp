// Ctrl+C, Ctrl+Break and closing the console window during a write to the module: kept in a
// flag as the POSIX signals are, so that the frame in flight finishes and the tool says what
// went out. The numbers are the POSIX ones, so that the exit codes are the same (130, 129).
#include <windows.h>

#include <atomic>

#include "cli/signals.h"

namespace zavi::cli {

namespace {

constexpr int kInterrupt = 2;  // SIGINT
constexpr int kHangUp = 1;     // SIGHUP: the console is closing, or the session ends

std::atomic<int> caught{0};

BOOL WINAPI keep(DWORD event) {
    const bool closing =
        event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT;
    int expected = 0;
    caught.compare_exchange_strong(expected, closing ? kHangUp : kInterrupt);
    // Windows ends the process as soon as this returns from a closing event: give the main
    // thread the few seconds it has to finish the frame and print the report.
    if (closing) Sleep(4000);
    return TRUE;
}

bool watching = false;

}  // namespace

void watch_signals(bool on) {
    if (on == watching) return;
    watching = on;
    if (on) caught = 0;
    SetConsoleCtrlHandler(keep, on ? TRUE : FALSE);
}

int caught_signal() {
    return caught;
}

}  // namespace zavi::cli
