#include "dialogs/phone_numbers_dialog.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "dialogs/add_number_dialog.h"
#include "dialogs/numbers_transfer.h"
#include "dialogs/options_titles.h"
#include "link/connection.h"
#include "link/phone_commands.h"
#include "link/phone_number.h"
#include "link/records.h"
#include "resources/ids.h"
#include "ui/ui_language.h"
#include "ui/vocabulary.h"

namespace zavi {

namespace {

constexpr int kMaxAccepted = static_cast<int>(kAcceptedCapacity);
constexpr int kMaxEmergency = static_cast<int>(kEmergencyCapacity);

void fill_list(DialogView& view, int list, const PhoneNumber* numbers, std::size_t count) {
    view.clear_items(list);
    char text[kPhoneTextSize];
    for (std::size_t i = 0; i < count; ++i) {
        format_phone_number(numbers[i], text);
        view.add_item(list, text);
    }
}

void show_count(DialogView& view, int id, int count) {
    char text[12];
    std::snprintf(text, sizeof text, "%d", count);
    view.set_text(id, text);
}

// Rebuilds a table from a list; entries past the table's capacity are never stored.
std::size_t store_list(DialogView& view, int list, PhoneNumber* numbers, std::size_t capacity) {
    std::memset(numbers, 0xFF, capacity * sizeof(PhoneNumber));
    const std::size_t count = std::min<std::size_t>(view.item_count(list), capacity);
    for (std::size_t i = 0; i < count; ++i)
        parse_phone_number(view.item_text(list, static_cast<int>(i)).c_str(), numbers[i]);
    return count;
}

void set_texts(DialogView& view, uint8_t language) {
    const char* quantity = pick_text(language, "Ilość", "Quantity", "Anzahl");
    view.set_text(IDC_EMERGENCY_QUANTITY_LABEL, quantity);
    view.set_text(IDC_RECEIVED_QUANTITY_LABEL, quantity);
    view.set_text(IDC_EMERGENCY_LABEL, emergency_numbers_label(language));
    view.set_text(IDC_RECEIVED_LABEL, accepted_numbers_label(language));
    view.set_text(IDC_RECEIVED_ALL, accept_all_label(language));
    view.set_text(IDC_RECEIVED_IMPORT,
                  pick_text(language, "Importuj...", "Import...", "Import..."));
    view.set_text(IDC_RECEIVED_EXPORT,
                  pick_text(language, "Eksportuj...", "Export...", "Export..."));
}

void add_number(DialogView& view, int list) {
    AddNumberDialog add;
    view.run_dialog(IDD_ADD_NUMBER, add);
    if (new_phone_number[0] == '\0') return;
    // The buttons are disabled at capacity; a list never grows past what the tables hold.
    const int capacity = list == IDC_RECEIVED_LIST ? kMaxAccepted : kMaxEmergency;
    if (view.item_count(list) >= capacity) return;
    view.add_item(list, std::string("+") + new_phone_number);
    view.select_item(list, view.item_count(list) - 1);
    refresh_phone_lists(view);
}

void remove_number(DialogView& view, int list) {
    const int current = view.selected_item(list);
    if (current < 0 || current >= view.item_count(list)) return;
    const std::string entry = view.item_text(list, current);
    const char* format = pick_text(ui_language, "Numer %s zostanie usunięty z listy.",
                                   "Number %s will be removed from the list.",
                                   "Nummer %s wird aus der Liste entfernt werden.");
    char text[128];
    std::snprintf(text, sizeof text, format, entry.c_str());
    if (view.message_box(text, kAppTitle, MessageIcon::warning, MessageButtons::ok_cancel) !=
        MessageAnswer::ok)
        return;
    view.delete_item(list, current);
    refresh_phone_lists(view);
}

void show(DialogView& view, uint8_t language) {
    view.set_checked(IDC_RECEIVED_ALL, accept_all != 0);
    // Counts beyond the tables (never produced by the reads) are not followed past them.
    fill_list(view, IDC_RECEIVED_LIST, accepted_numbers,
              std::min<std::size_t>(accepted_count, kAcceptedCapacity));
    fill_list(view, IDC_EMERGENCY_LIST, emergency_numbers,
              std::min<std::size_t>(emergency_count, kEmergencyCapacity));
    refresh_phone_lists(view);
    for (int id : {IDC_RECEIVED_ADD, IDC_EMERGENCY_ADD}) view.set_button_icon(id, IDI_PLUS);
    for (int id : {IDC_RECEIVED_REMOVE, IDC_EMERGENCY_REMOVE}) view.set_button_icon(id, IDI_MINUS);
    set_texts(view, language);
}

// List notifications, Escape's IDCANCEL and the rest are ignored.
void other_command(DialogView& view, int id, FileChooser* files) {
    const int list = id == IDC_RECEIVED_ADD || id == IDC_RECEIVED_REMOVE ? IDC_RECEIVED_LIST
                                                                         : IDC_EMERGENCY_LIST;
    if (id == IDC_RECEIVED_ADD || id == IDC_EMERGENCY_ADD)
        add_number(view, list);
    else if (id == IDC_RECEIVED_REMOVE || id == IDC_EMERGENCY_REMOVE)
        remove_number(view, list);
    else if (id == IDC_RECEIVED_ALL)
        refresh_phone_lists(view);
    else if (id == IDC_RECEIVED_IMPORT)
        import_accepted_numbers(view, files);
    else if (id == IDC_RECEIVED_EXPORT)
        export_accepted_numbers(view, files);
}

}  // namespace

void refresh_phone_lists(DialogView& view) {
    const int received = view.item_count(IDC_RECEIVED_LIST);
    const int emergency = view.item_count(IDC_EMERGENCY_LIST);
    show_count(view, IDC_RECEIVED_QUANTITY, received);
    show_count(view, IDC_EMERGENCY_QUANTITY, emergency);

    const bool all = view.checked(IDC_RECEIVED_ALL);
    for (int id : {IDC_RECEIVED_LIST, IDC_RECEIVED_ADD, IDC_RECEIVED_REMOVE, IDC_RECEIVED_QUANTITY,
                   IDC_RECEIVED_IMPORT})
        view.set_enabled(id, !all);
    accept_all = all ? 1 : 0;
    if (!all) {
        if (received >= kMaxAccepted)
            view.set_enabled(IDC_RECEIVED_ADD, false);
        else if (received == 0)
            view.set_enabled(IDC_RECEIVED_REMOVE, false);
    }

    view.set_enabled(IDC_EMERGENCY_ADD, emergency < kMaxEmergency);
    view.set_enabled(IDC_EMERGENCY_REMOVE, emergency > 0);

    accepted_count = static_cast<uint16_t>(
        store_list(view, IDC_RECEIVED_LIST, accepted_numbers, kAcceptedCapacity));
    emergency_count = static_cast<uint8_t>(
        store_list(view, IDC_EMERGENCY_LIST, emergency_numbers, kEmergencyCapacity));

    if (received > 0) view.select_item(IDC_RECEIVED_LIST, received - 1);
    if (emergency > 0) view.select_item(IDC_EMERGENCY_LIST, emergency - 1);
}

PhoneNumbersDialog::PhoneNumbersDialog(FileChooser* files)
    : RecordDialog({IDC_PHONE_SAVE, IDC_PHONE_CANCEL, kPhoneNumbersTitle, show, nullptr,
                    write_phone_numbers,
                    /*saved_result=*/1, kSaveTexts,
                    [files](DialogView& view, int id, int) { other_command(view, id, files); }}) {}

}  // namespace zavi
