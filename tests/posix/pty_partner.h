// A pseudo-terminal for the tty driver's tests: the driver opens the slave side, the test plays
// the module on the master side, either byte by byte or with the simulated module serving it
// from a thread.
#pragma once

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "sim/serve/pty_module.h"

namespace zavi::test {

using PtyBytes = std::vector<uint8_t>;

inline uint64_t elapsed_ms(std::chrono::steady_clock::time_point since) {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now() - since).count();
}

class PtyPartner {
  public:
    PtyPartner() {
        std::string error;
        ok_ = pty_.open(&error);
        EXPECT_TRUE(ok_) << error;
    }
    ~PtyPartner() { stop(); }

    bool ok() const { return ok_; }
    const std::string& path() const { return pty_.slave_path(); }
    void put(const PtyBytes& bytes) {
        ASSERT_EQ(::write(pty_.master_fd(), bytes.data(), bytes.size()),
                  static_cast<ssize_t>(bytes.size()));
    }
    // What the driver sent, gathered until `count` bytes are in or `wait_ms` passed.
    PtyBytes take(std::size_t count, int wait_ms = 500) {
        PtyBytes out;
        const auto start = std::chrono::steady_clock::now();
        while (out.size() < count && elapsed_ms(start) < static_cast<uint64_t>(wait_ms)) {
            pollfd p{pty_.master_fd(), POLLIN, 0};
            if (poll(&p, 1, 10) <= 0) continue;
            uint8_t b[256];
            const ssize_t n = ::read(pty_.master_fd(), b, sizeof b);
            if (n > 0) out.insert(out.end(), b, b + n);
        }
        return out;
    }
    // The simulated module answers on the master side until stop().
    void serve(sim::SimDriver& module) {
        thread_ = std::thread([this, &module] { pty_.serve(module, stop_); });
    }
    void stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    // The module goes away: the driver's side sees a hang-up.
    void hang_up() {
        stop();
        pty_.close();
    }

  private:
    sim::PtyModule pty_;
    bool ok_ = false;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace zavi::test
