// The one way dialog logic touches a window: operations addressed by control ID. Implemented
// over real windows in win32/ and in memory by FakeDialogView for tests. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zavi {

class DialogLogic;

enum class MessageIcon : uint8_t { error, warning, information };
// yes_no has No as its default button; Yes answers ok, No answers cancel.
enum class MessageButtons : uint8_t { ok, ok_cancel, yes_no };
enum class MessageAnswer : uint8_t { ok, cancel };

// Keystroke filters installed on edits by subclassing.
enum class EditFilterKind : uint8_t {
    none,
    block_input,  // keys, characters and right button swallowed, but the keys that move the
                  // buddy up-down: Up, Down, PgUp, PgDn (threshold edits)
    digits,       // only "0"-"9" and backspace reach the edit; right button swallowed
    io_name,      // space, "0"-"9", "A"-"Z", "a"-"z" and backspace; right button swallowed
};

struct EditFilter {
    EditFilterKind kind = EditFilterKind::none;
    int enter_command = 0;  // non-zero: releasing Enter in the edit sends this command
};

class DialogView {
  public:
    virtual ~DialogView() = default;

    // Window
    virtual void set_title(std::string_view text) = 0;
    virtual void set_window_icon(int icon_id) = 0;
    virtual void close(int result) = 0;  // ends the (modal) dialog

    // Text of any control (statics, buttons, edits, group boxes)
    virtual void set_text(int id, std::string_view text) = 0;
    virtual std::string text(int id) const = 0;
    virtual void set_text_limit(int id, int characters) = 0;
    virtual void set_edit_filter(int id, EditFilter filter) = 0;

    // Buttons and check boxes
    virtual void set_checked(int id, bool checked) = 0;
    virtual bool checked(int id) const = 0;
    virtual void set_enabled(int id, bool enabled) = 0;
    virtual bool enabled(int id) const = 0;
    // Any control; a hidden one takes no input.
    virtual void set_visible(int id, bool visible) = 0;
    virtual void set_button_icon(int id, int icon_id) = 0;

    // Drop-down lists; index -1 means no selection
    virtual void clear_items(int id) = 0;
    virtual void add_item(int id, std::string_view text) = 0;
    virtual void delete_item(int id, int index) = 0;
    virtual int item_count(int id) const = 0;
    virtual std::string item_text(int id, int index) const = 0;
    virtual void select_item(int id, int index) = 0;
    virtual int selected_item(int id) const = 0;

    // Up-down controls; updown_position sets *error when the buddy holds no valid number in range
    virtual void set_updown_range(int id, int low, int high) = 0;
    virtual void set_updown_position(int id, int position) = 0;
    virtual int updown_position(int id, bool* error) const = 0;

    // Progress bars
    virtual void set_progress_range(int id, int low, int high) = 0;
    virtual void set_progress_position(int id, int position) = 0;
    virtual void set_progress_color(int id, uint8_t red, uint8_t green, uint8_t blue) = 0;

    // Menu of the window: entries by command ID, popups by position on the menu bar
    virtual void set_menu_text(int command_id, std::string_view text) = 0;
    virtual void set_menu_popup_text(int position, std::string_view text) = 0;
    virtual void set_menu_checked(int command_id, bool checked) = 0;
    virtual void set_menu_enabled(int command_id, bool enabled) = 0;  // false: greyed
    virtual void redraw_menu() = 0;

    // Modal message box owned by this window; returns the button pressed
    virtual MessageAnswer message_box(std::string_view text, std::string_view title,
                                      MessageIcon icon, MessageButtons buttons) = 0;

    // Runs dialog template `template_id` modally with `logic`, owned by this window.
    virtual void run_dialog(int template_id, DialogLogic& logic) = 0;

    // Keyboard focus to a control (after a message about it, the field to correct)
    virtual void set_focus(int id) = 0;
};

// The behaviour of one dialog: initialisation, commands and the close box.
class DialogLogic {
  public:
    virtual ~DialogLogic() = default;
    virtual void on_init(DialogView& view) = 0;
    // Low and high word of the command (control ID and notification code).
    virtual void on_command(DialogView& view, int id, int code) = 0;
    // The title bar's close box (or Alt+F4). Closes without storing unless a dialog says otherwise.
    virtual void on_close(DialogView& view) { view.close(0); }
    // The Windows session ends (WM_ENDSESSION); the process goes once this returns.
    virtual void on_end_session(DialogView& view) { on_close(view); }
};

constexpr char kAppTitle[] = "ZAVI ALARM-GSM";

}  // namespace zavi
