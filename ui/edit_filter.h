// Which typed characters a keystroke filter lets through to its edit. Shared by the Win32
// subclass procedure and the in-memory test view so both refuse exactly the same input.
#pragma once

#include "ui/dialog_view.h"

namespace zavi {

// `ch` is one typed character (a UTF-16 unit or a code point). Backspace passes the digits and
// io_name filters; block_input lets nothing through; none lets everything through.
bool edit_filter_passes(EditFilterKind kind, char32_t ch);

}  // namespace zavi
