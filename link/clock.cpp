#include "link/clock.h"

#include <chrono>

namespace zavi {

namespace {

uint64_t steady_now_us() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

ClockFunction current_clock = steady_now_us;

}  // namespace

uint64_t now_us() {
    return current_clock();
}
void set_clock(ClockFunction clock) {
    current_clock = clock ? clock : steady_now_us;
}

}  // namespace zavi
