#include "link/link_state.h"

namespace zavi {

namespace {

LinkState process_state;
// Both constant-initialised, so that setting them never starts the records' per-thread set-up
// (which would bind the thread to the process's set first).
thread_local LinkState* own_state = nullptr;
thread_local bool state_used = false;

}  // namespace

LinkState& link_state() {
    state_used = true;
    return own_state ? *own_state : process_state;
}

bool use_own_link_state(LinkState* own) {
    if (state_used || !own) return false;
    own_state = own;
    return true;
}

}  // namespace zavi
