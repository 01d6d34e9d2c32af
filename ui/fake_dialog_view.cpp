#include "ui/fake_dialog_view.h"

#include <stdexcept>
#include <string>
#include <utility>

#include "resources/control_tables.h"
#include "ui/edit_filter.h"

namespace zavi {

namespace {

// Length in bytes of the UTF-8 sequence that starts with `lead`.
std::size_t utf8_length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead >> 5) == 0x6) return 2;
    if ((lead >> 4) == 0xE) return 3;
    if ((lead >> 3) == 0x1E) return 4;
    return 1;
}

std::size_t count_characters(const std::string& s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); i += utf8_length(static_cast<unsigned char>(s[i]))) ++n;
    return n;
}

void erase_last_character(std::string& s) {
    if (s.empty()) return;
    std::size_t i = s.size() - 1;
    while (i > 0 && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) --i;
    s.erase(i);
}

bool passes(EditFilterKind kind, std::string_view ch) {
    if (ch.size() != 1) return kind == EditFilterKind::none;  // every allowed character is ASCII
    return edit_filter_passes(kind, static_cast<unsigned char>(ch[0]));
}

const DialogTable& table_of(int template_id) {
    for (const DialogTable& table : kDialogTables)
        if (table.template_id == template_id) return table;
    throw std::logic_error("no dialog template " + std::to_string(template_id));
}

const char* kind_name(ControlKind kind) {
    constexpr const char* kNames[] = {"button",      "check box", "edit",   "list",
                                      "static text", "progress",  "up-down"};
    return kNames[static_cast<int>(kind)];
}

}  // namespace

FakeDialogView::FakeDialogView(int template_id, DialogLogic* logic)
    : table_(table_of(template_id)), logic_(logic) {
    for (const ControlEntry& c : table_.controls) {
        controls_[c.id];
        kinds_[c.id] = c.kind;
    }
}

FakeDialogView::Control& FakeDialogView::at(int id, Kinds kinds) {
    return const_cast<Control&>(std::as_const(*this).at(id, kinds));
}

const FakeDialogView::Control& FakeDialogView::at(int id, Kinds kinds) const {
    const auto kind = kinds_.find(id);
    if (kind == kinds_.end())
        throw std::logic_error(std::string(table_.name) + " has no control " + std::to_string(id));
    if ((kinds & bit(kind->second)) == 0)
        throw std::logic_error(std::string(table_.name) + ": control " + std::to_string(id) +
                               " is of kind " + kind_name(kind->second) +
                               ", which this operation is not for");
    return controls_.at(id);
}

FakeDialogView::MenuEntry& FakeDialogView::menu_entry(int id) {
    if (!is_menu_command(id))
        throw std::logic_error(std::string(table_.name) + " has no menu command " +
                               std::to_string(id));
    return menu_[id];
}

void FakeDialogView::set_focus(int id) {
    at(id, kAnyControl);  // an ID the template lacks fails the test
    focus_ = id;
}

void FakeDialogView::close(int result) {
    closed_ = true;
    close_result_ = result;
}

void FakeDialogView::clear_items(int id) {
    Control& c = at(id, kList);
    c.items.clear();
    c.selection = -1;
}

void FakeDialogView::delete_item(int id, int index) {
    Control& c = at(id, kList);
    if (index < 0 || index >= static_cast<int>(c.items.size())) return;
    c.items.erase(c.items.begin() + index);
    // Like a real list: the selection goes when its item goes, and follows the items above it.
    if (c.selection == index)
        c.selection = -1;
    else if (c.selection > index)
        --c.selection;
}

std::string FakeDialogView::item_text(int id, int index) const {
    const Control& c = at(id, kList);
    if (index < 0 || index >= static_cast<int>(c.items.size())) return {};
    return c.items[index];
}

void FakeDialogView::select_item(int id, int index) {
    Control& c = at(id, kList);
    c.selection = (index >= 0 && index < static_cast<int>(c.items.size())) ? index : -1;
}

void FakeDialogView::set_updown_range(int id, int low, int high) {
    Control& c = at(id, kUpdown);
    c.updown_low = low;
    c.updown_high = high;
}

void FakeDialogView::set_updown_position(int id, int position) {
    Control& c = at(id, kUpdown);
    c.updown_pos = position;
    c.updown_error = false;
}

int FakeDialogView::updown_position(int id, bool* error) const {
    const Control& c = at(id, kUpdown);
    if (error) *error = c.updown_error;
    return c.updown_pos;
}

void FakeDialogView::set_progress_range(int id, int low, int high) {
    Control& c = at(id, kProgress);
    c.progress_low = low;
    c.progress_high = high;
}

void FakeDialogView::set_progress_color(int id, uint8_t red, uint8_t green, uint8_t blue) {
    Control& c = at(id, kProgress);
    c.has_color = true;
    c.red = red;
    c.green = green;
    c.blue = blue;
}

MessageAnswer FakeDialogView::message_box(std::string_view text, std::string_view title,
                                          MessageIcon icon, MessageButtons buttons) {
    messages_.push_back({std::string(text), std::string(title), icon, buttons});
    if (buttons == MessageButtons::ok) return MessageAnswer::ok;
    if (answers_.empty())
        return buttons == MessageButtons::yes_no ? MessageAnswer::cancel : MessageAnswer::ok;
    MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void FakeDialogView::run_dialog(int template_id, DialogLogic& logic) {
    dialogs_run_.push_back(template_id);
    if (dialog_handler_) {
        dialog_handler_(template_id, logic);
        return;
    }
    FakeDialogView child(template_id, &logic);
    child.init();
    child.press_close_box();
}

void FakeDialogView::init() {
    if (logic_) logic_->on_init(*this);
}

void FakeDialogView::command(int id, int code) {
    if (logic_ && !closed_) logic_->on_command(*this, id, code);
}

void FakeDialogView::click(int id) {
    // A menu command, or a button that a disabled state keeps from being pressed.
    if (!is_menu_command(id)) {
        const Control& c = at(id, kButton | kCheckBox);
        if (!c.enabled || !c.visible) return;
    }
    command(id, 0);
}

void FakeDialogView::choose(int id, int index) {
    if (!at(id, kList).enabled) return;
    select_item(id, index);
    command(id, 1);
}

void FakeDialogView::toggle(int id) {
    Control& c = at(id, kCheckBox);
    if (!c.enabled) return;
    c.checked = !c.checked;
    command(id, 0);
}

void FakeDialogView::press_close_box() {
    if (logic_ && !closed_) logic_->on_close(*this);
}

void FakeDialogView::end_session() {
    if (logic_ && !closed_) logic_->on_end_session(*this);
}

int FakeDialogView::type(int id, std::string_view characters) {
    Control& c = at(id, kEdit);
    if (!c.enabled) return 0;
    int reached = 0;
    for (std::size_t i = 0; i < characters.size();) {
        const std::size_t n = utf8_length(static_cast<unsigned char>(characters[i]));
        const std::string_view ch = characters.substr(i, n);
        i += n;
        if (!passes(c.filter.kind, ch)) continue;
        ++reached;
        if (ch == "\b") {
            erase_last_character(c.text);
        } else if (c.limit == 0 || count_characters(c.text) < static_cast<std::size_t>(c.limit)) {
            c.text.append(ch);
        }
    }
    return reached;
}

void FakeDialogView::release_enter(int id) {
    const int target = at(id, kEdit).filter.enter_command;
    if (target != 0) click(target);
}

}  // namespace zavi
