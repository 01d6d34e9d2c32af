#include "dialogs/io_names_dialog.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "common/utf16.h"
#include "dialogs/options_titles.h"
#include "link/connection.h"
#include "link/io_name_commands.h"
#include "link/module_text.h"
#include "link/wire_text.h"
#include "ui/edit_filter.h"
#include "ui/ui_language.h"

namespace zavi {

namespace {

// What the edits let through, backspace aside.
bool allowed(char c) {
    return c != '\b' && edit_filter_passes(EditFilterKind::io_name, static_cast<unsigned char>(c));
}

// The first 40 characters of an edit (counted as the edit counts them) in the module's 8-bit
// character set; characters it cannot hold become '?', which the cleaning removes anyway.
void store_edit_text(const std::string& utf8, char (&slot)[kIoNameSlot]) {
    const std::u16string wide = utf8_to_utf16(utf8);
    const std::size_t length = std::min<std::size_t>(wide.size(), kIoNameEditLimit);
    for (std::size_t i = 0; i < length; ++i)
        slot[i] = wide[i] <= 0xFF ? static_cast<char>(wide[i]) : '?';
    slot[length] = '\0';
}

void show(DialogView& view, uint8_t /*language*/) {
    for (std::size_t slot = 0; slot < kIoNameCount; ++slot) {
        const int edit = kIoNameEdits[slot];
        view.set_edit_filter(edit, {EditFilterKind::io_name, 0});
        const char* name = io_names.name[slot];
        view.set_text(edit,
                      module_text_to_utf8(std::string_view(name, slot_length(name, kIoNameSlot))));
        view.set_text_limit(edit, kIoNameEditLimit);
    }
}

bool store(DialogView& view) {
    for (std::size_t slot = 0; slot < kIoNameCount; ++slot)
        store_edit_text(view.text(kIoNameEdits[slot]), io_names.name[slot]);
    for (auto& name : io_names.name) clean_io_name(name);
    return true;
}

LinkResult write(DriverHandle handle) {
    const LinkResult first = write_io_names(handle, 0);
    return first != LinkResult::ok ? first : write_io_names(handle, 1);
}

}  // namespace

void clean_io_name(char (&name)[kIoNameSlot]) {
    const std::size_t length = slot_length(name, kIoNameSlot);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < length; ++i)
        if (allowed(name[i])) name[kept++] = name[i];
    // A slot filled to its last byte has no room for the NUL; its last character goes.
    if (kept == kIoNameSlot) --kept;
    name[kept] = '\0';
}

IoNamesDialog::IoNamesDialog()
    : RecordDialog({IDC_IO_NAMES_SAVE, IDC_IO_NAMES_CANCEL, kIoNamesTitle, show, store, write,
                    /*saved_result=*/1}) {}

}  // namespace zavi
