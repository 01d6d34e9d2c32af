// The controls of one dialog template: ID and kind. The tables of the program's templates are
// made from the .rc files at build time (resources/control_tables.h in the build tree).
#pragma once

#include <cstdint>
#include <span>

namespace zavi {

enum class ControlKind : uint8_t { button, check_box, edit, list, static_text, progress, updown };

struct ControlEntry {
    int id;
    ControlKind kind;
};

struct DialogTable {
    int template_id;
    const char* name;  // the template's symbol, for messages
    std::span<const ControlEntry> controls;
    std::span<const int> menu_commands;  // of the menu the template names, if any
};

}  // namespace zavi
