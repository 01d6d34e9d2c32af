// A message box closes on the key-down of Enter, Escape or Space; the key-up then reaches the
// window below it. Where that key-up would act (Enter in an edit sends a command) it must not:
// otherwise closing "number too short" with Enter adds again and the box comes straight back.
#pragma once

#include <windows.h>

namespace zavi {

// After a modal box has closed: the keys still held down are noted, so that their key-ups
// are known to belong to the box.
void note_keys_held_after_box();

// True (once) when the key-up of `key` belongs to a box that has closed since its key-down.
bool key_up_belongs_to_closed_box(WPARAM key);

// A new key-down of `key` was seen: the box's key-up got lost (it went to the box's window as
// it closed), and the next key-up is the new press's own.
void forget_key_of_closed_box(WPARAM key);

}  // namespace zavi
