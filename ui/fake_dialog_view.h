// An in-memory DialogView for tests: holds every control's state, lets a test type, click and
// choose as a user would, and records every message box.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

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
        int icon = 0;
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
    };

    // The logic that receives clicks, choices and Enter; may be null for view-only tests.
    explicit FakeDialogView(DialogLogic* logic = nullptr) : logic_(logic) {}

    // ---- DialogView
    void set_title(std::string_view text) override { title_ = text; }
    void set_window_icon(int icon_id) override { window_icon_ = icon_id; }
    void close(int result) override;
    void set_text(int id, std::string_view text) override { controls_[id].text = text; }
    std::string text(int id) const override;
    void set_text_limit(int id, int characters) override;
    void set_edit_filter(int id, EditFilter filter) override { controls_[id].filter = filter; }
    void set_checked(int id, bool checked) override { controls_[id].checked = checked; }
    bool checked(int id) const override;
    void set_enabled(int id, bool enabled) override { controls_[id].enabled = enabled; }
    bool enabled(int id) const override;
    void set_button_icon(int id, int icon_id) override { controls_[id].icon = icon_id; }
    void clear_items(int id) override;
    void add_item(int id, std::string_view text) override;
    void delete_item(int id, int index) override;
    int item_count(int id) const override;
    std::string item_text(int id, int index) const override;
    void select_item(int id, int index) override;
    int selected_item(int id) const override;
    void set_updown_range(int id, int low, int high) override;
    void set_updown_position(int id, int position) override;
    int updown_position(int id, bool* error) const override;
    void set_progress_range(int id, int low, int high) override;
    void set_progress_position(int id, int position) override;
    void set_progress_color(int id, uint8_t red, uint8_t green, uint8_t blue) override;
    void set_menu_text(int command_id, std::string_view text) override;
    void set_menu_popup_text(int position, std::string_view text) override;
    void set_menu_checked(int command_id, bool checked) override;
    void redraw_menu() override { ++menu_redraws_; }
    MessageAnswer message_box(std::string_view text, std::string_view title, MessageIcon icon,
                              MessageButtons buttons) override;
    // Records the template and hands the dialog to the test's handler; without a handler the
    // child is opened in a fresh FakeDialogView and closed by its close box at once.
    void run_dialog(int template_id, DialogLogic& logic) override;

    // ---- What a user does
    void init();                            // the dialog opens: logic->on_init
    void click(int id);                     // a button or menu command (notification 0)
    void choose(int id, int index);         // pick a list item (selection change, notification 1)
    void toggle(int id);                    // an automatic check box is clicked
    void press_close_box();                 // logic->on_close
    void press_escape() { command(2, 0); }  // the dialog manager's IDCANCEL
    void command(int id, int code);         // any raw command
    // Types characters into an edit through its filter and limit; "\b" is backspace.
    // Returns how many characters reached the edit.
    int type(int id, std::string_view characters);
    // A right-button press on an edit; true when it reached the edit (not swallowed).
    bool right_click(int id) const;
    // Releasing Enter in an edit: sends the filter's command, if it has one.
    void release_enter(int id);
    // Stands for a buddy edit whose text is no valid number: updown_position reports an error.
    void set_updown_error(int id, bool error) { controls_[id].updown_error = error; }
    // Answers for the next message boxes that have OK and Cancel (default: OK).
    void answer_next(MessageAnswer answer) { answers_.push_back(answer); }
    // What happens when the logic opens a modal child dialog.
    using DialogHandler = std::function<void(int template_id, DialogLogic& logic)>;
    void on_run_dialog(DialogHandler handler) { dialog_handler_ = std::move(handler); }

    // ---- What a user sees
    const Control& control(int id) const;
    bool has_control(int id) const { return controls_.count(id) != 0; }
    const std::string& title() const { return title_; }
    int window_icon() const { return window_icon_; }
    bool is_closed() const { return closed_; }
    int close_result() const { return close_result_; }
    const std::vector<Message>& messages() const { return messages_; }
    void clear_messages() { messages_.clear(); }
    const std::vector<int>& dialogs_run() const { return dialogs_run_; }
    const MenuEntry& menu(int command_id) const;
    const std::string& menu_popup(int position) const;
    int menu_redraws() const { return menu_redraws_; }

  private:
    DialogLogic* logic_;
    mutable std::map<int, Control> controls_;
    std::map<int, MenuEntry> menu_;
    std::map<int, std::string> popups_;
    std::deque<MessageAnswer> answers_;
    std::vector<Message> messages_;
    std::vector<int> dialogs_run_;
    DialogHandler dialog_handler_;
    std::string title_;
    int window_icon_ = 0;
    bool closed_ = false;
    int close_result_ = 0;
    int menu_redraws_ = 0;
};

}  // namespace zavi
