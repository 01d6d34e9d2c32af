// An in-memory DialogView for tests: holds every control's state, lets a test type, click and
// choose as a user would, and records every message box.
#pragma once

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/control_table.h"
#include "ui/dialog_view.h"

namespace zavi {

class FakeDialogView : public DialogView {
  public:
    struct Control {
        std::string text;
        int limit = 0;  // 0: no limit
        EditFilter filter;
        bool checked = false;
        bool enabled = true;
        bool visible = true;
        int icon = 0;
        bool bold = false;
        std::vector<std::optional<int>> plot;  // set_plot's values
        std::vector<std::string> items;
        int selection = -1;
        int updown_low = 0, updown_high = 100, updown_pos = 0;
        bool updown_error = false;
        int progress_low = 0, progress_high = 100, progress_pos = 0;
        bool has_color = false;
        uint8_t red = 0, green = 0, blue = 0;
    };
    struct Message {
        std::string text, title;
        MessageIcon icon;
        MessageButtons buttons;
    };
    struct MenuEntry {
        std::string text;
        bool checked = false;
        bool enabled = true;
    };

    // The window of template `template_id`, with the controls of its table; `logic` receives
    // clicks, choices and Enter and may be null for view-only tests. Touching an ID the
    // template does not have, or using an operation of another kind of control, throws
    // std::logic_error naming the ID and the template: the test fails at once.
    explicit FakeDialogView(int template_id, DialogLogic* logic = nullptr);

    // ---- DialogView
    void set_title(std::string_view text) override { title_ = text; }
    void set_window_icon(int icon_id) override { window_icon_ = icon_id; }
    void close(int result) override;
    void set_text(int id, std::string_view text) override { at(id, kTextKinds).text = text; }
    std::string text(int id) const override { return at(id, kTextKinds).text; }
    void set_text_limit(int id, int characters) override { at(id, kEdit).limit = characters; }
    void set_edit_filter(int id, EditFilter filter) override { at(id, kEdit).filter = filter; }
    void set_checked(int id, bool checked) override { at(id, kCheckBox).checked = checked; }
    bool checked(int id) const override { return at(id, kCheckBox).checked; }
    void set_enabled(int id, bool enabled) override { at(id, kAnyControl).enabled = enabled; }
    bool enabled(int id) const override { return at(id, kAnyControl).enabled; }
    void set_visible(int id, bool visible) override { at(id, kAnyControl).visible = visible; }
    void set_button_icon(int id, int icon_id) override { at(id, kButton).icon = icon_id; }
    void set_bold(int id, bool bold) override { at(id, kStatic).bold = bold; }
    void set_plot(int id, const std::vector<std::optional<int>>& values, int, int) override {
        at(id, kStatic).plot = values;
    }
    void clear_items(int id) override;
    void add_item(int id, std::string_view text) override {
        at(id, kList).items.emplace_back(text);
    }
    void delete_item(int id, int index) override;
    int item_count(int id) const override { return static_cast<int>(at(id, kList).items.size()); }
    std::string item_text(int id, int index) const override;
    void select_item(int id, int index) override;
    int selected_item(int id) const override { return at(id, kList).selection; }
    void set_updown_range(int id, int low, int high) override;
    void set_updown_position(int id, int position) override;
    int updown_position(int id, bool* error) const override;
    void set_progress_range(int id, int low, int high) override;
    void set_progress_position(int id, int position) override {
        at(id, kProgress).progress_pos = position;
    }
    void set_progress_color(int id, uint8_t red, uint8_t green, uint8_t blue) override;
    void set_menu_text(int command_id, std::string_view text) override {
        menu_entry(command_id).text = text;
    }
    void set_menu_popup_text(int position, std::string_view text) override {
        popups_[position] = text;
    }
    void set_menu_checked(int command_id, bool checked) override {
        menu_entry(command_id).checked = checked;
    }
    void set_menu_enabled(int command_id, bool enabled) override {
        menu_entry(command_id).enabled = enabled;
    }
    void redraw_menu() override { ++menu_redraws_; }
    MessageAnswer message_box(std::string_view text, std::string_view title, MessageIcon icon,
                              MessageButtons buttons) override;
    // Records the template and hands the dialog to the test's handler; without a handler the
    // child is opened in a fresh FakeDialogView and closed by its close box at once.
    void run_dialog(int template_id, DialogLogic& logic) override;
    void set_focus(int id) override;

    // ---- What a user does
    void init();                            // the dialog opens: logic->on_init
    void click(int id);                     // a button or menu command (notification 0)
    void choose(int id, int index);         // pick a list item (selection change, notification 1)
    void toggle(int id);                    // an automatic check box is clicked
    void press_close_box();                 // logic->on_close
    void end_session();                     // logic->on_end_session
    void press_escape() { command(2, 0); }  // the dialog manager's IDCANCEL
    void command(int id, int code);         // any raw command
    // Types characters into an edit through its filter and limit; "\b" is backspace.
    // Returns how many characters reached the edit.
    int type(int id, std::string_view characters);
    // A right-button press on an edit; true when it reached the edit (not swallowed).
    bool right_click(int id) const { return at(id, kEdit).filter.kind == EditFilterKind::none; }
    // Releasing Enter in an edit: sends the filter's command, if it has one.
    void release_enter(int id);
    // Stands for a buddy edit whose text is no valid number: updown_position reports an error.
    void set_updown_error(int id, bool error) { at(id, kUpdown).updown_error = error; }
    // Answers for the next message boxes that have OK and Cancel (default: OK) or Yes and No
    // (default: No, answered cancel).
    void answer_next(MessageAnswer answer) { answers_.push_back(answer); }
    // What happens when the logic opens a modal child dialog.
    using DialogHandler = std::function<void(int template_id, DialogLogic& logic)>;
    void on_run_dialog(DialogHandler handler) { dialog_handler_ = std::move(handler); }

    // ---- What a user sees
    const Control& control(int id) const { return at(id, kAnyControl); }
    const std::string& title() const { return title_; }
    int window_icon() const { return window_icon_; }
    bool is_closed() const { return closed_; }
    int close_result() const { return close_result_; }
    const std::vector<Message>& messages() const { return messages_; }
    void clear_messages() { messages_.clear(); }
    const std::vector<int>& dialogs_run() const { return dialogs_run_; }
    const MenuEntry& menu(int command_id) const { return entry_or_empty(menu_, command_id); }
    const std::string& menu_popup(int position) const { return entry_or_empty(popups_, position); }
    int menu_redraws() const { return menu_redraws_; }
    // The control the logic last gave the focus to (0: none so far).
    int focus() const { return focus_; }

  private:
    // Sets of control kinds, one bit per ControlKind.
    using Kinds = unsigned;
    static Kinds bit(ControlKind k) { return 1u << static_cast<unsigned>(k); }
    static constexpr Kinds kButton = 1u << static_cast<unsigned>(ControlKind::button);
    static constexpr Kinds kCheckBox = 1u << static_cast<unsigned>(ControlKind::check_box);
    static constexpr Kinds kEdit = 1u << static_cast<unsigned>(ControlKind::edit);
    static constexpr Kinds kList = 1u << static_cast<unsigned>(ControlKind::list);
    static constexpr Kinds kStatic = 1u << static_cast<unsigned>(ControlKind::static_text);
    static constexpr Kinds kProgress = 1u << static_cast<unsigned>(ControlKind::progress);
    static constexpr Kinds kUpdown = 1u << static_cast<unsigned>(ControlKind::updown);
    static constexpr Kinds kTextKinds = kButton | kCheckBox | kEdit | kStatic;
    static constexpr Kinds kAnyControl = ~0u;

    // The control `id`, which must be in the table with one of `kinds`.
    Control& at(int id, Kinds kinds);
    const Control& at(int id, Kinds kinds) const;
    bool is_menu_command(int id) const {
        return std::ranges::find(table_.menu_commands, id) != table_.menu_commands.end();
    }
    // The entry of menu command `id`, which the template's menu must have.
    MenuEntry& menu_entry(int id);
    // What `map` holds at `key`, or a default value where nothing was set there.
    template <typename Map>
    static const typename Map::mapped_type& entry_or_empty(const Map& map, int key) {
        static const typename Map::mapped_type kEmpty{};
        const auto it = map.find(key);
        return it == map.end() ? kEmpty : it->second;
    }

    const DialogTable& table_;
    DialogLogic* logic_;
    std::map<int, Control> controls_;
    std::map<int, ControlKind> kinds_;
    std::map<int, MenuEntry> menu_;
    std::map<int, std::string> popups_;
    std::deque<MessageAnswer> answers_;
    std::vector<Message> messages_;
    std::vector<int> dialogs_run_;
    DialogHandler dialog_handler_;
    std::string title_;
    int window_icon_ = 0;
    int focus_ = 0;
    bool closed_ = false;
    int close_result_ = 0;
    int menu_redraws_ = 0;
};

}  // namespace zavi
