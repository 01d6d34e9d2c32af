// Monotonic time for the link layer's receive bound. Replaceable so that the simulated module
// can run tests on virtual time instead of sleeping.
#pragma once

#include <cstdint>

namespace zavi {

using ClockFunction = uint64_t (*)();  // microseconds since an arbitrary start

uint64_t now_us();
void set_clock(ClockFunction clock);  // nullptr restores the steady clock

}  // namespace zavi
