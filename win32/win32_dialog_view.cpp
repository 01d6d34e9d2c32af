#include "win32/win32_dialog_view.h"

#include <commctrl.h>

#include "win32/classic_drawing.h"
#include "win32/dialog_host.h"
#include "win32/edit_filters.h"
#include "win32/key_guard.h"
#include "win32/plot_static.h"
#include "win32/wide_text.h"

namespace zavi {

Win32DialogView::~Win32DialogView() {
    for (HICON icon : icons_) DestroyIcon(icon);
    if (bold_font_) DeleteObject(bold_font_);
}

HICON Win32DialogView::load_icon(int icon_id, int width, int height) {
    auto icon = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(icon_id), IMAGE_ICON,
                                              width, height, LR_DEFAULTCOLOR));
    if (icon) icons_.push_back(icon);
    return icon;
}

// ---- Window

void Win32DialogView::set_title(std::string_view text) {
    SetWindowTextW(dialog_, to_wide(text).c_str());
}

void Win32DialogView::set_window_icon(int icon_id) {
    HICON big = load_icon(icon_id, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    HICON small = load_icon(icon_id, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    if (big) SendMessageW(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    if (small) SendMessageW(dialog_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

// ---- Texts

namespace {

// Marks a text box made with a vertical scroll bar (the style bit goes while the bar is hidden).
// One atom for the program, so that marking adds nothing to the atom table each time.
LPCWSTR scrolls_property() {
    static const ATOM atom = GlobalAddAtomW(L"zavi.scrolls");
    return MAKEINTATOM(atom);
}

// A read-only text box of many lines shows its vertical scroll bar only while its text is longer
// than it (an edit control would otherwise show the bar, greyed, all the time). Measured with
// the bar shown, so that hiding it, which widens the lines, can only make the text shorter.
void fit_vertical_scroll_bar(HWND edit) {
    const LONG style = GetWindowLongW(edit, GWL_STYLE);
    if ((style & (ES_MULTILINE | ES_READONLY)) != (ES_MULTILINE | ES_READONLY)) return;
    if (style & WS_VSCROLL) SetPropW(edit, scrolls_property(), reinterpret_cast<HANDLE>(1));
    if (!GetPropW(edit, scrolls_property())) return;
    ShowScrollBar(edit, SB_VERT, TRUE);
    RECT area{};
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
    HDC dc = GetDC(edit);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(edit, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(edit, dc);
    const LONG line_height = metrics.tmHeight > 0 ? metrics.tmHeight : 1;
    const LRESULT lines = SendMessageW(edit, EM_GETLINECOUNT, 0, 0);
    if (lines * line_height <= area.bottom - area.top) ShowScrollBar(edit, SB_VERT, FALSE);
}

}  // namespace

void Win32DialogView::set_text(int id, std::string_view text) {
    SetDlgItemTextW(dialog_, id, to_wide(text).c_str());
    if (HWND control = item(id)) fit_vertical_scroll_bar(control);
}

std::string Win32DialogView::text(int id) const {
    HWND control = item(id);
    if (!control) return {};
    const int length = GetWindowTextLengthW(control);
    if (length <= 0) return {};
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const UINT got = GetDlgItemTextW(dialog_, id, buffer.data(), length + 1);
    buffer.resize(got);
    return from_wide(buffer);
}

void Win32DialogView::set_text_limit(int id, int characters) {
    send(id, EM_SETLIMITTEXT, static_cast<WPARAM>(characters > 0 ? characters : 0));
}

void Win32DialogView::set_edit_filter(int id, EditFilter filter) {
    install_edit_filter(item(id), filter);
}

// ---- Buttons and check boxes

void Win32DialogView::set_checked(int id, bool checked) {
    CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Win32DialogView::set_enabled(int id, bool enabled) {
    if (HWND control = item(id)) EnableWindow(control, enabled ? TRUE : FALSE);
}

bool Win32DialogView::enabled(int id) const {
    HWND control = item(id);
    return control && IsWindowEnabled(control);
}

void Win32DialogView::set_visible(int id, bool visible) {
    if (HWND control = item(id)) ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
}

void Win32DialogView::set_button_icon(int id, int icon_id) {
    if (HICON icon = load_icon(icon_id, 24, 24))
        send(id, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

void Win32DialogView::set_bold(int id, bool bold) {
    const auto normal = reinterpret_cast<HFONT>(SendMessageW(dialog_, WM_GETFONT, 0, 0));
    if (bold && !bold_font_) {
        LOGFONTW font{};
        if (!normal || !GetObjectW(normal, sizeof font, &font)) return;
        font.lfWeight = FW_BOLD;
        bold_font_ = CreateFontIndirectW(&font);
        if (!bold_font_) return;
    }
    send(id, WM_SETFONT, reinterpret_cast<WPARAM>(bold ? bold_font_ : normal), TRUE);
}

void Win32DialogView::set_plot(int id, const std::vector<std::optional<int>>& values, int line1,
                               int line2) {
    show_plot(item(id), values, line1, line2);
}

// ---- Drop-down lists

void Win32DialogView::add_item(int id, std::string_view text) {
    const std::wstring wide = to_wide(text);
    send(id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void Win32DialogView::delete_item(int id, int index) {
    if (index >= 0) send(id, CB_DELETESTRING, static_cast<WPARAM>(index));
}

int Win32DialogView::item_count(int id) const {
    const LRESULT count = send(id, CB_GETCOUNT);
    return count == CB_ERR ? 0 : static_cast<int>(count);
}

std::string Win32DialogView::item_text(int id, int index) const {
    if (index < 0) return {};
    const LRESULT length = send(id, CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length == CB_ERR || length <= 0) return {};
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got =
        send(id, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    if (got == CB_ERR) return {};
    buffer.resize(static_cast<std::size_t>(got));
    return from_wide(buffer);
}

void Win32DialogView::select_item(int id, int index) {
    send(id, CB_SETCURSEL, static_cast<WPARAM>(index));  // -1 clears the selection
}

int Win32DialogView::selected_item(int id) const {
    const LRESULT selection = send(id, CB_GETCURSEL);
    return selection == CB_ERR ? -1 : static_cast<int>(selection);
}

// ---- Up-down controls

void Win32DialogView::set_updown_range(int id, int low, int high) {
    send(id, UDM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
}

void Win32DialogView::set_updown_position(int id, int position) {
    send(id, UDM_SETPOS32, 0, static_cast<LPARAM>(position));
}

int Win32DialogView::updown_position(int id, bool* error) const {
    BOOL failed = FALSE;
    const LRESULT position = send(id, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed));
    if (error) *error = failed != FALSE || !item(id);
    return static_cast<int>(position);
}

// ---- Progress bars

void Win32DialogView::set_progress_range(int id, int low, int high) {
    send(id, PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
}

void Win32DialogView::set_progress_position(int id, int position) {
    send(id, PBM_SETPOS, static_cast<WPARAM>(position));
}

void Win32DialogView::set_progress_color(int id, uint8_t red, uint8_t green, uint8_t blue) {
    // A themed bar ignores its colour; the bar is drawn classic so the colour shows.
    draw_classic(item(id));
    send(id, PBM_SETBARCOLOR, 0, static_cast<LPARAM>(RGB(red, green, blue)));
}

// ---- Menu

namespace {

void set_menu_item_text(HMENU menu, UINT item, BOOL by_position, std::string_view text) {
    if (!menu) return;
    std::wstring wide = to_wide(text);
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;  // only the text: type, state and ID stay
    info.dwTypeData = wide.data();
    SetMenuItemInfoW(menu, item, by_position, &info);
}

}  // namespace

void Win32DialogView::set_menu_text(int command_id, std::string_view text) {
    set_menu_item_text(GetMenu(dialog_), static_cast<UINT>(command_id), FALSE, text);
}

void Win32DialogView::set_menu_popup_text(int position, std::string_view text) {
    set_menu_item_text(GetMenu(dialog_), static_cast<UINT>(position), TRUE, text);
}

void Win32DialogView::set_menu_checked(int command_id, bool checked) {
    if (HMENU menu = GetMenu(dialog_))
        CheckMenuItem(menu, static_cast<UINT>(command_id),
                      MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void Win32DialogView::set_menu_enabled(int command_id, bool enabled) {
    if (HMENU menu = GetMenu(dialog_))
        EnableMenuItem(menu, static_cast<UINT>(command_id),
                       MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

// ---- Message boxes and child dialogs

MessageAnswer Win32DialogView::message_box(std::string_view text, std::string_view title,
                                           MessageIcon icon, MessageButtons buttons) {
    UINT style = buttons == MessageButtons::ok_cancel ? MB_OKCANCEL
                 : buttons == MessageButtons::yes_no  ? MB_YESNO | MB_DEFBUTTON2
                                                      : MB_OK;
    style |= icon == MessageIcon::error     ? MB_ICONERROR
             : icon == MessageIcon::warning ? MB_ICONWARNING
                                            : MB_ICONINFORMATION;
    const int answer = MessageBoxW(dialog_, to_wide(text).c_str(), to_wide(title).c_str(), style);
    note_keys_held_after_box();
    return answer == IDOK || answer == IDYES ? MessageAnswer::ok : MessageAnswer::cancel;
}

void Win32DialogView::set_focus(int id) {
    // Through the dialog manager, so that the default button follows and an edit's text is
    // selected, ready to be typed over.
    if (HWND control = item(id))
        SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

void Win32DialogView::run_dialog(int template_id, DialogLogic& logic) {
    run_modal_dialog(instance_, template_id, dialog_, logic);
}

}  // namespace zavi
