// DialogView over a real dialog window: every operation is a W API call on the control with
// the given ID. Texts cross this boundary as UTF-8 on the portable side and UTF-16 here.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/dialog_view.h"

namespace zavi {

class Win32DialogView : public DialogView {
  public:
    explicit Win32DialogView(HINSTANCE instance) : instance_(instance) {}
    ~Win32DialogView() override;
    Win32DialogView(const Win32DialogView&) = delete;
    Win32DialogView& operator=(const Win32DialogView&) = delete;

    void attach(HWND dialog) { dialog_ = dialog; }
    HWND window() const { return dialog_; }

    void set_title(std::string_view text) override;
    void set_window_icon(int icon_id) override;
    void close(int result) override { EndDialog(dialog_, result); }

    void set_text(int id, std::string_view text) override;
    std::string text(int id) const override;
    void set_text_limit(int id, int characters) override;
    void set_edit_filter(int id, EditFilter filter) override;

    void set_checked(int id, bool checked) override;
    bool checked(int id) const override { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }
    void set_enabled(int id, bool enabled) override;
    bool enabled(int id) const override;
    void set_visible(int id, bool visible) override;
    void set_button_icon(int id, int icon_id) override;
    void set_bold(int id, bool bold) override;
    void set_plot(int id, const std::vector<std::optional<int>>& values, int line1,
                  int line2) override;

    void clear_items(int id) override { send(id, CB_RESETCONTENT); }
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
    void set_menu_enabled(int command_id, bool enabled) override;
    void redraw_menu() override { DrawMenuBar(dialog_); }

    MessageAnswer message_box(std::string_view text, std::string_view title, MessageIcon icon,
                              MessageButtons buttons) override;
    void run_dialog(int template_id, DialogLogic& logic) override;
    void set_focus(int id) override;

  private:
    HWND item(int id) const { return GetDlgItem(dialog_, id); }
    LRESULT send(int id, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) const {
        return SendDlgItemMessageW(dialog_, id, message, wparam, lparam);
    }
    HICON load_icon(int icon_id, int width, int height);

    HINSTANCE instance_;
    HWND dialog_ = nullptr;
    std::vector<HICON> icons_;   // loaded for this dialog; destroyed with the view
    HFONT bold_font_ = nullptr;  // made from the dialog's font on first use; destroyed with it
};

}  // namespace zavi
