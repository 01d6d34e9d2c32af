// The simulated module on the master side of a pseudo-terminal, so that a program opening the
// slave side (a tty driver, or Wine's COM port mapped to it) talks to it as to a real module.
// It serves the first module of the simulator's scenario.
#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "sim/simulator.h"

namespace zavi::sim {

class PtyModule {
  public:
    PtyModule() = default;
    ~PtyModule();
    PtyModule(const PtyModule&) = delete;
    PtyModule& operator=(const PtyModule&) = delete;

    // Opens the pair. The side kept here holds the slave open too, so that the master does not
    // see a hang-up each time a program closes the port. False with *error on failure.
    bool open(std::string* error);
    const std::string& slave_path() const { return slave_path_; }
    int master_fd() const { return master_; }

    // Serves `module` until `stop` turns true or the master fails. After each write that
    // reached the module `after_write` runs (journal, state file). Runs in the calling thread.
    void serve(SimDriver& module, const std::atomic<bool>& stop,
               const std::function<void()>& after_write = {});

    // Closes the master (and the slave kept here): the program on the slave side sees a
    // hang-up. serve() must have returned or not be running.
    void close();

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string slave_path_;
};

}  // namespace zavi::sim
