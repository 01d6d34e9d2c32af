// Ctrl-C and SIGTERM end a long command (watch, test, survey, mqtt) between two exchanges
// instead of killing the tool.
#pragma once

#include <atomic>
#include <csignal>

namespace zavi::cli {

// Set by the two signals while a StopSignals lives.
inline std::atomic<bool> stop_requested{false};

extern "C" inline void zavi_cli_on_stop_signal(int) {
    stop_requested = true;
}

// Clears the flag and catches the signals; the old handlers come back after.
class StopSignals {
  public:
    StopSignals() {
        stop_requested = false;
        old_int_ = std::signal(SIGINT, zavi_cli_on_stop_signal);
        old_term_ = std::signal(SIGTERM, zavi_cli_on_stop_signal);
    }
    ~StopSignals() {
        std::signal(SIGINT, old_int_);
        std::signal(SIGTERM, old_term_);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

  private:
    void (*old_int_)(int);
    void (*old_term_)(int);
};

}  // namespace zavi::cli
