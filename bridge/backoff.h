// Waits between attempts to reach the broker: 1 s, 2 s, 4 s ... up to a minute, back to 1 s
// once a connection has been accepted.
#pragma once

#include <chrono>

namespace zavi::bridge {

class Backoff {
  public:
    using Duration = std::chrono::milliseconds;
    explicit Backoff(Duration first = std::chrono::seconds(1),
                     Duration longest = std::chrono::seconds(60))
        : first_(first), longest_(longest), next_(first) {}
    // The wait before the next attempt; each call doubles the one after it.
    Duration next() {
        const Duration d = next_;
        next_ = next_ * 2 > longest_ ? longest_ : next_ * 2;
        return d;
    }
    void reset() { next_ = first_; }

  private:
    Duration first_, longest_, next_;
};

}  // namespace zavi::bridge
