#include "win32/key_guard.h"

namespace zavi {

namespace {

constexpr WPARAM kClosingKeys[] = {VK_RETURN, VK_ESCAPE, VK_SPACE};

// Per thread: each dialog thread has its own keyboard state.
thread_local bool held_after_box[sizeof(kClosingKeys) / sizeof(kClosingKeys[0])] = {};

int slot_of(WPARAM key) {
    for (int i = 0; i < static_cast<int>(sizeof(kClosingKeys) / sizeof(kClosingKeys[0])); ++i)
        if (kClosingKeys[i] == key) return i;
    return -1;
}

}  // namespace

void note_keys_held_after_box() {
    // The key state is that of the last message this thread took from its queue: the key-down
    // that closed the box, not yet its key-up.
    for (WPARAM key : kClosingKeys)
        held_after_box[slot_of(key)] = (GetKeyState(static_cast<int>(key)) & 0x8000) != 0;
}

bool key_up_belongs_to_closed_box(WPARAM key) {
    const int slot = slot_of(key);
    if (slot < 0 || !held_after_box[slot]) return false;
    held_after_box[slot] = false;
    return true;
}

void forget_key_of_closed_box(WPARAM key) {
    const int slot = slot_of(key);
    if (slot >= 0) held_after_box[slot] = false;
}

}  // namespace zavi
