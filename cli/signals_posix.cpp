#include <signal.h>

#include <csignal>

#include "cli/signals.h"

namespace zavi::cli {

namespace {

constexpr int kWatched[] = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t caught = 0;
struct sigaction previous[3];
bool watching = false;

// Only the flag: nothing else is safe in a handler.
void keep(int signal) {
    if (caught == 0) caught = signal;
}

}  // namespace

void watch_signals(bool on) {
    if (on == watching) return;
    watching = on;
    for (int i = 0; i < 3; ++i) {
        if (on) {
            struct sigaction action {};
            action.sa_handler = keep;
            sigemptyset(&action.sa_mask);
            action.sa_flags = SA_RESTART;  // reads and writes go on; the link sees no EINTR
            // One ignored from the start (nohup, a background job) stays ignored.
            sigaction(kWatched[i], nullptr, &previous[i]);
            if (previous[i].sa_handler != SIG_IGN) sigaction(kWatched[i], &action, nullptr);
        } else {
            sigaction(kWatched[i], &previous[i], nullptr);
        }
    }
    if (on) caught = 0;
}

int caught_signal() {
    return caught;
}

}  // namespace zavi::cli
