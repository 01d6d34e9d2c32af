// Checks of the Win32 layer inside one process, run under Wine: the dialog templates as the
// portable logic reaches them through Win32DialogView, the dialog host, and the keystroke
// filters. Prints one line per failed check and "N passed, N failed"; exits 1 on a failure.
#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/about_dialog.h"
#include "app/report_details_dialog.h"
#include "app/station_dialog.h"
#include "app/window_captions.h"
#include "config/record_values.h"
#include "dialogs/add_number_dialog.h"
#include "dialogs/io_names_dialog.h"
#include "dialogs/options_dialogs.h"
#include "dialogs/phone_numbers_dialog.h"
#include "dialogs/pin_puk_dialog.h"
#include "dialogs/survey_dialog.h"
#include "dialogs/walk_test_dialog.h"
#include "link/phone_number.h"
#include "link/records.h"
#include "resources/control_tables.h"
#include "resources/ids.h"
#include "win32/checks/text_fit.h"
#include "win32/dialog_host.h"
#include "win32/key_guard.h"
#include "win32/win32_dialog_view.h"

namespace zavi {
namespace {

int passed = 0;
int failed = 0;

void check(bool ok, const char* what, int line, int context = 0) {
    if (ok) {
        ++passed;
        return;
    }
    ++failed;
    std::printf("FAIL line %d (%d): %s\n", line, context, what);
}
#define CHECK(cond) check((cond), #cond, __LINE__)
#define CHECK_IN(cond, context) check((cond), #cond, __LINE__, (context))

HINSTANCE instance;

// Runs `body` as the dialog's initialisation, then closes the dialog with 7. The body sees
// the commands that reach the logic.
using Body = std::function<void(Win32DialogView&, HWND, std::vector<int>& commands)>;

struct Probe : DialogLogic {
    Body body;
    std::vector<int> commands;
    void on_init(DialogView& view) override {
        auto& win = static_cast<Win32DialogView&>(view);
        if (body) body(win, win.window(), commands);
        view.close(7);
    }
    void on_command(DialogView&, int id, int code) override {
        if (code == 0) commands.push_back(id);  // clicks and menu items, not edit notifications
    }
};

INT_PTR probe(int template_id, Body body) {
    Probe logic;
    logic.body = std::move(body);
    return run_modal_dialog(instance, template_id, nullptr, logic);
}

LONG style_of(HWND dialog, int id) {
    return GetWindowLongW(GetDlgItem(dialog, id), GWL_STYLE);
}

std::wstring window_text(HWND window) {
    wchar_t buffer[256] = {};
    GetWindowTextW(window, buffer, 256);
    return buffer;
}

void type(HWND edit, const wchar_t* characters) {
    for (; *characters; ++characters) SendMessageW(edit, WM_CHAR, *characters, 0);
}

void put_on_clipboard(const wchar_t* text) {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(memory), text, bytes);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

// ---- Every template: caption, default button, controls, drop-down list styles

struct Template {
    int id;
    const wchar_t* caption;
    int default_button;
};

// The window class and style bits that make a control of `kind`.
bool is_kind(HWND control, ControlKind kind) {
    wchar_t name[32] = {};
    GetClassNameW(control, name, 32);
    const LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    switch (kind) {
        case ControlKind::button:
            return _wcsicmp(name, L"Button") == 0 && type != BS_AUTOCHECKBOX;
        case ControlKind::check_box:
            return _wcsicmp(name, L"Button") == 0 && type == BS_AUTOCHECKBOX;
        case ControlKind::edit:
            return _wcsicmp(name, L"Edit") == 0;
        case ControlKind::list:
            return _wcsicmp(name, L"ComboBox") == 0;
        case ControlKind::static_text:  // group boxes are buttons to Windows
            return _wcsicmp(name, L"Static") == 0 ||
                   (_wcsicmp(name, L"Button") == 0 && type == BS_GROUPBOX);
        case ControlKind::progress:
            return _wcsicmp(name, PROGRESS_CLASSW) == 0;
        case ControlKind::updown:
            return _wcsicmp(name, UPDOWN_CLASSW) == 0;
    }
    return false;
}

void check_templates() {
    const Template templates[] = {
        {IDD_MAIN, L"ZAVI ALARM-GSM", IDC_REFRESH},
        {IDD_PROGRESS, L"", 0},
        {IDD_ABOUT, L"About", IDC_ABOUT_CLOSE},
        {IDD_ACTIONS, L"Emergency procedures", IDC_ACTIONS_CANCEL},
        {IDD_CALL_ANSWER, L"Answer for Call", IDC_CALL_CANCEL},
        {IDD_AUTO_STATUS, L"Auto-Status", IDC_AUTO_STATUS_CANCEL},
        {IDD_AUTO_RESET, L"Auto-Reset", IDC_AUTO_RESET_CANCEL},
        {IDD_PHONE_NUMBERS, L"Telephone Numbers", IDC_PHONE_CANCEL},
        {IDD_ADD_NUMBER, L"ADD", 0},
        {IDD_IO_NAMES, L"I/O name", IDC_IO_NAMES_CANCEL},
        {IDD_PIN_PUK, L"PIN and PUK", IDC_PIN_PUK_CANCEL},
        {IDD_DIFFERENCES, L"Differences", IDC_DIFF_OK},
        {IDD_IMPORT_SUMMARY, L"Import", IDC_IMPORT_CANCEL},
        {IDD_WALK_TEST, L"Walk test", 0},
        {IDD_SURVEY, L"Signal survey", 0},
        {IDD_STATION, L"Setup station", IDC_ST_BEGIN},
        {IDD_MODULE_HISTORY, L"Module history", IDC_MH_CLOSE},
        {IDD_REPORT_DETAILS, L"Commissioning report", IDC_RD_OK},
    };
    CHECK(std::size(templates) == std::size(kDialogTables));
    for (const DialogTable& table : kDialogTables) {
        const Template* t = nullptr;
        for (const Template& candidate : templates)
            if (candidate.id == table.template_id) t = &candidate;
        CHECK_IN(t != nullptr, table.template_id);
        if (!t) continue;
        const INT_PTR result = probe(t->id, [&](Win32DialogView&, HWND dialog, std::vector<int>&) {
            CHECK_IN(window_text(dialog) == t->caption, t->id);
            // Every control of the table is there, of its kind.
            for (const ControlEntry& c : table.controls) {
                const HWND control = GetDlgItem(dialog, c.id);
                CHECK_IN(control != nullptr && is_kind(control, c.kind), c.id);
            }
            // A dialog without a default push button answers IDOK.
            const int expected = t->default_button ? t->default_button : IDOK;
            CHECK_IN(LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)) == expected, t->id);
            for (HWND child = GetWindow(dialog, GW_CHILD); child;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                wchar_t name[32] = {};
                GetClassNameW(child, name, 32);
                if (_wcsicmp(name, L"ComboBox") != 0) continue;
                const LONG style = GetWindowLongW(child, GWL_STYLE);
                CHECK_IN((style & 3) == CBS_DROPDOWNLIST && !(style & CBS_SORT),
                         GetDlgCtrlID(child));
            }
        });
        CHECK_IN(result == 7, t->id);
    }
    CHECK(probe(4242, nullptr) == -1);  // no such template: a clean failure
}

// ---- Main window: styles the logic relies on, menu, view operations

void check_main_window_template(HWND dialog) {
    const int buddies[][2] = {
        {40003, 1021}, {40075, 1023}, {1026, 40043}, {1028, 1027}, {40079, 40077}};
    for (const auto& pair : buddies) {
        HWND buddy =
            reinterpret_cast<HWND>(SendDlgItemMessageW(dialog, pair[0], UDM_GETBUDDY, 0, 0));
        CHECK_IN(buddy == GetDlgItem(dialog, pair[1]), pair[0]);
        const LONG style = style_of(dialog, pair[0]);
        CHECK_IN((style & (UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS)) ==
                     (UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS),
                 pair[0]);
    }
    CHECK(!(style_of(dialog, IDC_SIGNAL_BAR) & PBS_SMOOTH));
    CHECK(style_of(dialog, IDC_BATTERY_BAR) & PBS_SMOOTH);
    for (int id = 0; id <= 4; ++id) {
        CHECK_IN(!IsWindowEnabled(GetDlgItem(dialog, id)), id);
        CHECK_IN(style_of(dialog, id) & BS_FLAT, id);
    }
    // Texts from the module may hold "&" (an operator like AT&T): shown, not an accelerator.
    for (int id : {40030, 40034, 40037, 40040, 40046, 40049, 40055})
        CHECK_IN(style_of(dialog, id) & SS_NOPREFIX, id);
    CHECK(window_text(GetDlgItem(dialog, IDC_THERMO1_LABEL)) == L"Thermometer 1     (\u00B0C)");
    CHECK(window_text(GetDlgItem(dialog, IDC_BATTERY_LABEL)) == L"Battery level\nduring operation");

    HMENU menu = GetMenu(dialog);
    CHECK(GetMenuItemCount(menu) == 5);
    const UINT file[] = {IDM_BACKUP,         IDM_RESTORE, IDM_COMPARE,       IDM_STATION,
                         IDM_MODULE_HISTORY, 0,           IDM_CONNECT_AGAIN, IDM_EXIT};
    HMENU file_popup = GetSubMenu(menu, 0);
    CHECK(GetMenuItemCount(file_popup) == 8);
    for (int i = 0; i < 8; ++i) CHECK_IN(GetMenuItemID(file_popup, i) == file[i], i);
    CHECK(GetMenuState(file_popup, 5, MF_BYPOSITION) & MF_SEPARATOR);
    const UINT options[] = {40002, 40007, 40013, 40000, 40003, 40004, 40001, 0, 40018};
    HMENU popup = GetSubMenu(menu, 1);
    CHECK(GetMenuItemCount(popup) == 9);
    for (int i = 0; i < 9; ++i) CHECK_IN(GetMenuItemID(popup, i) == options[i], i);
    CHECK(GetMenuState(popup, 7, MF_BYPOSITION) & MF_SEPARATOR);
    const UINT test[] = {IDM_LIVE_STATUS, IDM_WALK_TEST, IDM_SURVEY, IDM_REPORT};
    HMENU test_popup = GetSubMenu(menu, 2);
    CHECK(GetMenuItemCount(test_popup) == 4);
    for (int i = 0; i < 4; ++i) CHECK_IN(GetMenuItemID(test_popup, i) == test[i], i);
    HMENU languages = GetSubMenu(menu, 3);
    CHECK(GetMenuItemCount(languages) == 3 && GetMenuItemID(languages, 0) == 40024 &&
          GetMenuItemID(languages, 1) == 40029 && GetMenuItemID(languages, 2) == 40033);
    MENUITEMINFOW about{};
    about.cbSize = sizeof(about);
    about.fMask = MIIM_FTYPE | MIIM_ID;
    GetMenuItemInfoW(menu, 4, TRUE, &about);
    CHECK(about.wID == IDM_ABOUT && (about.fType & MFT_RIGHTJUSTIFY));
}

void check_main_window_view(Win32DialogView& view, HWND dialog) {
    // Up-downs: position into the buddy, and the error flag for text that is no number in range.
    view.set_updown_range(40003, -55, 120);
    const struct {
        int position;
        const char* text;
    } positions[] = {{-55, "-55"}, {0, "0"}, {120, "120"}};
    for (const auto& p : positions) {
        view.set_updown_position(40003, p.position);
        bool error = true;
        CHECK_IN(view.updown_position(40003, &error) == p.position && !error, p.position);
        CHECK_IN(view.text(1021) == p.text, p.position);
    }
    view.set_updown_range(40079, 0, 100);
    view.set_updown_position(40079, 100);
    CHECK(view.text(40077) == "100");
    for (const char* bad : {"abc", "121", "-56", "12x"}) {
        view.set_text(1021, bad);
        bool error = false;
        view.updown_position(40003, &error);
        CHECK_IN(error, static_cast<int>(std::string(bad).size()));
    }

    // Drop-down lists, with texts outside ASCII.
    view.clear_items(1002);
    CHECK(view.item_count(1002) == 0 && view.selected_item(1002) == -1);
    view.add_item(1002, "Aktywne zwarcie");
    view.add_item(1002, "Aktiv beim Öffnen");
    CHECK(view.item_count(1002) == 2 && view.item_text(1002, 1) == "Aktiv beim Öffnen");
    CHECK(view.item_text(1002, 2).empty() && view.item_text(1002, -1).empty());
    view.select_item(1002, 1);
    CHECK(view.selected_item(1002) == 1 && view.text(1002) == "Aktiv beim Öffnen");
    view.delete_item(1002, 0);
    CHECK(view.item_count(1002) == 1 && view.item_text(1002, 0) == "Aktiv beim Öffnen");
    view.select_item(1002, -1);
    CHECK(view.selected_item(1002) == -1);

    // Progress bars: the colour must survive the visual style.
    view.set_progress_range(IDC_BATTERY_BAR, 0, 100);
    view.set_progress_position(IDC_BATTERY_BAR, 65);
    CHECK(SendDlgItemMessageW(dialog, IDC_BATTERY_BAR, PBM_GETPOS, 0, 0) == 65);
    view.set_progress_color(IDC_BATTERY_BAR, 234, 199, 12);
    CHECK(static_cast<COLORREF>(SendDlgItemMessageW(dialog, IDC_BATTERY_BAR, PBM_GETBARCOLOR, 0,
                                                    0)) == RGB(234, 199, 12));
    CHECK(GetWindowTheme(GetDlgItem(dialog, IDC_BATTERY_BAR)) == nullptr);

    // Menu: texts by command and by position, check marks.
    HMENU menu = GetMenu(dialog);
    view.set_menu_popup_text(1, "Język");
    view.set_menu_text(IDM_GERMAN, "Deutsch");
    view.set_menu_text(IDM_ABOUT, "Über");
    view.set_menu_checked(IDM_GERMAN, true);
    view.redraw_menu();
    wchar_t text[64];
    GetMenuStringW(menu, 1, text, 64, MF_BYPOSITION);
    CHECK(std::wstring(text) == L"J\u0119zyk");
    GetMenuStringW(menu, IDM_GERMAN, text, 64, MF_BYCOMMAND);
    CHECK(std::wstring(text) == L"Deutsch");
    CHECK(GetMenuState(menu, IDM_GERMAN, MF_BYCOMMAND) & MF_CHECKED);
    view.set_menu_checked(IDM_GERMAN, false);
    CHECK(!(GetMenuState(menu, IDM_GERMAN, MF_BYCOMMAND) & MF_CHECKED));
    MENUITEMINFOW about{};
    about.cbSize = sizeof(about);
    about.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu, IDM_ABOUT, FALSE, &about);
    CHECK(about.fType & MFT_RIGHTJUSTIFY);  // relabelling keeps the item's type

    // The File menu in each language, and its module items greyed and back.
    const struct {
        uint8_t language;
        const wchar_t* popup;
        const wchar_t* backup;
        const wchar_t* connect;
    } file_texts[] = {
        {0, L"&Plik", L"Kopia zapasowa konfiguracji modu\u0142u...", L"Po\u0142\u0105cz ponownie"},
        {1, L"&File", L"Back up module configuration...", L"Connect again"},
        {2, L"&Datei", L"Modulkonfiguration sichern...", L"Erneut verbinden"},
    };
    for (const auto& f : file_texts) {
        apply_language(view, f.language);
        GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
        CHECK_IN(std::wstring(text) == f.popup, f.language);
        GetMenuStringW(menu, IDM_BACKUP, text, 64, MF_BYCOMMAND);
        CHECK_IN(std::wstring(text) == f.backup, f.language);
        GetMenuStringW(menu, IDM_CONNECT_AGAIN, text, 64, MF_BYCOMMAND);
        CHECK_IN(std::wstring(text) == f.connect, f.language);
    }
    apply_language(view, 1);
    view.set_menu_enabled(IDM_RESTORE, false);
    CHECK(GetMenuState(menu, IDM_RESTORE, MF_BYCOMMAND) & MF_GRAYED);
    CHECK(!(GetMenuState(menu, IDM_CONNECT_AGAIN, MF_BYCOMMAND) & MF_GRAYED));
    view.set_menu_enabled(IDM_RESTORE, true);
    CHECK(!(GetMenuState(menu, IDM_RESTORE, MF_BYCOMMAND) & MF_GRAYED));

    // Texts of any length, title, icons, enabled state.
    std::string long_text(5000, 'x');
    long_text += " ąćęłńóśźż ÄÖÜß °";
    view.set_text(IDC_STATUS_LINE, long_text);
    CHECK(view.text(IDC_STATUS_LINE) == long_text);
    CHECK(view.text(31999).empty());
    view.set_title("Główne");
    CHECK(window_text(dialog) == L"G\u0142\u00F3wne");
    view.set_window_icon(IDI_APP);
    CHECK(SendMessageW(dialog, WM_GETICON, ICON_BIG, 0) != 0);
    view.set_enabled(IDC_SAVE, false);
    CHECK(!view.enabled(IDC_SAVE));
    view.set_enabled(IDC_SAVE, true);
    CHECK(view.enabled(IDC_SAVE));
}

// ---- Keystroke filters

void check_filters() {
    probe(IDD_ADD_NUMBER, [](Win32DialogView& view, HWND dialog, std::vector<int>& commands) {
        HWND edit = GetDlgItem(dialog, IDC_ADD_EDIT);
        view.set_text_limit(IDC_ADD_EDIT, 14);
        view.set_edit_filter(IDC_ADD_EDIT, {EditFilterKind::digits, IDC_ADD_ADD});
        type(edit, L"12a+.3\u0105-4\b5");
        CHECK(view.text(IDC_ADD_EDIT) == "1235");
        type(edit, L"99999999999999");
        CHECK(view.text(IDC_ADD_EDIT).size() == 14);  // the limit holds

        view.set_text(IDC_ADD_EDIT, "");
        put_on_clipboard(L"abc123");
        SendMessageW(edit, WM_PASTE, 0, 0);
        SendMessageW(edit, WM_CHAR, 0x16, 0);  // Ctrl+V
        CHECK(view.text(IDC_ADD_EDIT).empty());
        CHECK(SendMessageW(edit, WM_RBUTTONDOWN, 0, 0) == 0);

        // Releasing Enter in the edit sends the filter's command to the dialog.
        commands.clear();
        SendMessageW(edit, WM_KEYUP, VK_RETURN, 0);
        CHECK(commands.size() == 1 && commands[0] == IDC_ADD_ADD);

        // Without a filter the same paste and Enter do arrive: the refusals above are real.
        view.set_edit_filter(IDC_ADD_EDIT, {EditFilterKind::none, 0});
        SendMessageW(edit, WM_PASTE, 0, 0);
        CHECK(view.text(IDC_ADD_EDIT) == "abc123");
        commands.clear();
        SendMessageW(edit, WM_KEYUP, VK_RETURN, 0);
        CHECK(commands.empty());
    });

    probe(IDD_IO_NAMES, [](Win32DialogView& view, HWND dialog, std::vector<int>&) {
        HWND edit = GetDlgItem(dialog, IDC_IO_NAME_SLOT2);
        CHECK(!(GetWindowLongW(edit, GWL_STYLE) & ES_AUTOHSCROLL));
        view.set_text_limit(IDC_IO_NAME_SLOT2, 40);
        view.set_edit_filter(IDC_IO_NAME_SLOT2, {EditFilterKind::io_name, 0});
        type(edit, L"Ab 9-\u0142\u00FC_Z");
        CHECK(view.text(IDC_IO_NAME_SLOT2) == "Ab 9Z");
        // The edits do not scroll: 40 of the widest allowed letters must still fit.
        for (const wchar_t* letter : {L"W", L"M", L"m", L"0"}) {
            view.set_text(IDC_IO_NAME_SLOT2, "");
            for (int i = 0; i < 41; ++i) type(edit, letter);
            CHECK_IN(view.text(IDC_IO_NAME_SLOT2).size() == 40, letter[0]);
        }
    });

    probe(IDD_MAIN, [](Win32DialogView& view, HWND dialog, std::vector<int>&) {
        HWND edit = GetDlgItem(dialog, 1021);
        view.set_updown_range(40003, -55, 120);
        view.set_updown_position(40003, 20);
        view.set_edit_filter(1021, {EditFilterKind::block_input, 0});
        type(edit, L"5");
        SendMessageW(edit, WM_KEYDOWN, VK_BACK, 0);
        SendMessageW(edit, WM_KEYDOWN, VK_DELETE, 0);
        put_on_clipboard(L"99");
        SendMessageW(edit, WM_PASTE, 0, 0);
        CHECK(view.text(1021) == "20");
    });
}

// ---- Keyboard: tab stops, the focus on opening, threshold keys, Enter after a box

// Notes which control has the focus once the dialog manager has placed it, then closes.
struct FocusProbe : DialogLogic {
    HWND window = nullptr;
    int focused = -1;
    static inline FocusProbe* current = nullptr;
    static void CALLBACK tick(HWND dialog, UINT, UINT_PTR id, DWORD) {
        KillTimer(dialog, id);
        HWND focus = GetFocus();
        current->focused = focus ? GetDlgCtrlID(focus) : 0;
        EndDialog(dialog, 7);
    }
    void on_init(DialogView& view) override {
        window = static_cast<Win32DialogView&>(view).window();
        current = this;
        SetTimer(window, 1, 10, tick);
    }
    void on_command(DialogView&, int, int) override {}
};

void check_keyboard() {
    // Every control a user can act on is reached by Tab.
    for (const DialogTable& table : kDialogTables) {
        probe(table.template_id, [&](Win32DialogView&, HWND dialog, std::vector<int>&) {
            for (HWND child = GetWindow(dialog, GW_CHILD); child;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                wchar_t name[32] = {};
                GetClassNameW(child, name, 32);
                const LONG style = GetWindowLongW(child, GWL_STYLE);
                const bool acts =
                    _wcsicmp(name, L"ComboBox") == 0 ||
                    (_wcsicmp(name, L"Edit") == 0 && !(style & ES_READONLY)) ||
                    (_wcsicmp(name, L"Button") == 0 && (style & BS_TYPEMASK) != BS_GROUPBOX);
                if (acts && IsWindowEnabled(child))
                    CHECK_IN(style & WS_TABSTOP, table.template_id * 100000 + GetDlgCtrlID(child));
            }
        });
    }
    // The first field has the focus when a dialog opens.
    const struct {
        int template_id, first;
    } firsts[] = {
        {IDD_MAIN, IDC_REFRESH},           {IDD_ADD_NUMBER, IDC_ADD_EDIT},
        {IDD_PIN_PUK, IDC_PIN_EDIT},       {IDD_PHONE_NUMBERS, IDC_RECEIVED_LIST},
        {IDD_CALL_ANSWER, IDC_CALL_SMS},   {IDD_AUTO_RESET, IDC_AUTO_RESET_PERIOD},
        {IDD_IO_NAMES, IDC_IO_NAME_SLOT0},
    };
    for (const auto& f : firsts) {
        FocusProbe logic;
        CHECK_IN(run_modal_dialog(instance, f.template_id, nullptr, logic) == 7, f.template_id);
        CHECK_IN(logic.focused == f.first, f.template_id);
    }

    // Up and Down step, PgUp and PgDn page; typing stays refused.
    probe(IDD_MAIN, [](Win32DialogView& view, HWND dialog, std::vector<int>&) {
        struct Key {
            int edit, updown, low, high, start;
            WPARAM key;
            int expected;
        };
        const Key keys[] = {
            {1021, 40003, -55, 120, 30, VK_NEXT, 20},
            {1021, 40003, -55, 120, 30, VK_PRIOR, 40},
            {1021, 40003, -55, 120, 30, VK_DOWN, 29},
            {1021, 40003, -55, 120, 30, VK_UP, 31},
            {1021, 40003, -55, 120, -50, VK_NEXT, -55},
            {IDC_BATTERY_THRESHOLD_EDIT, IDC_BATTERY_THRESHOLD_SPIN, 0, 100, 95, VK_PRIOR, 100},
            {IDC_BATTERY_THRESHOLD_EDIT, IDC_BATTERY_THRESHOLD_SPIN, 0, 100, 5, VK_NEXT, 0},
        };
        for (const Key& k : keys) {
            view.set_updown_range(k.updown, k.low, k.high);
            view.set_updown_position(k.updown, k.start);
            view.set_edit_filter(k.edit, {EditFilterKind::block_input, 0});
            SendMessageW(GetDlgItem(dialog, k.edit), WM_KEYDOWN, k.key, 0);
            SendMessageW(GetDlgItem(dialog, k.edit), WM_KEYUP, k.key, 0);
            bool error = true;
            CHECK_IN(view.updown_position(k.updown, &error) == k.expected && !error,
                     static_cast<int>(k.key));
            CHECK_IN(view.text(k.edit) == std::to_string(k.expected), static_cast<int>(k.key));
            type(GetDlgItem(dialog, k.edit), L"7");
            CHECK_IN(view.text(k.edit) == std::to_string(k.expected), static_cast<int>(k.key));
        }
    });

    // A box closed with Enter: the key-up that follows is the box's, not a second Add.
    probe(IDD_ADD_NUMBER, [](Win32DialogView& view, HWND dialog, std::vector<int>& commands) {
        HWND edit = GetDlgItem(dialog, IDC_ADD_EDIT);
        view.set_edit_filter(IDC_ADD_EDIT, {EditFilterKind::digits, IDC_ADD_ADD});
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_RETURN] = 0x80;  // still held, as just after the box closed on its key-down
        SetKeyboardState(keys);
        note_keys_held_after_box();
        keys[VK_RETURN] = 0;
        SetKeyboardState(keys);
        commands.clear();
        SendMessageW(edit, WM_KEYUP, VK_RETURN, 0);
        CHECK(commands.empty());
        SendMessageW(edit, WM_KEYUP, VK_RETURN, 0);  // a press of its own acts again
        CHECK(commands.size() == 1 && commands[0] == IDC_ADD_ADD);
        // The box's key-up got lost: a new press of Enter in the edit acts on its own key-up.
        keys[VK_RETURN] = 0x80;
        SetKeyboardState(keys);
        note_keys_held_after_box();
        keys[VK_RETURN] = 0;
        SetKeyboardState(keys);
        MSG enter{edit, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
        CHECK(SendMessageW(edit, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) &
              DLGC_WANTMESSAGE);
        commands.clear();
        SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
        SendMessageW(edit, WM_KEYUP, VK_RETURN, 0);
        CHECK(commands.size() == 1);
        // Enter not held when the box closed (closed by mouse or Space): the next release acts.
        note_keys_held_after_box();
        commands.clear();
        SendMessageW(edit, WM_KEYUP, VK_RETURN, 0);
        CHECK(commands.size() == 1);
    });
}

// ---- Texts fit their controls in each language at this DPI

// Runs a dialog's own initialisation, then measures its texts and closes.
struct Measure : DialogLogic {
    DialogLogic* inner = nullptr;
    std::function<void(DialogView&)> in_use;  // what the window shows once it is in use
    std::vector<std::string> clipped;
    void on_init(DialogView& view) override {
        if (inner) inner->on_init(view);
        if (in_use) in_use(view);
        clipped = clipped_texts(static_cast<Win32DialogView&>(view).window());
        view.close(7);
    }
    void on_command(DialogView&, int, int) override {}
};

void expect_all_fit(int template_id, uint8_t language, const std::vector<std::string>& clipped) {
    for (const std::string& line : clipped)
        std::printf("  clipped in %d, language %d: %s\n", template_id, int(language), line.c_str());
    CHECK_IN(clipped.empty(), template_id * 10 + language);
}

// The commissioning windows as they look in use: the walk test with every input seen in both
// states, the survey after its samples, the station and the report's details filled in.
void check_commissioning_texts_fit(uint8_t language) {
    const char* names[kIoNameCount] = {"Eingangstür offen", "Eingangstür zu",   "Fenster Küche auf",
                                       "Fenster Küche zu",  "Netzspannung aus", "Netzspannung an",
                                       "Pumpe läuft",       "Pumpe steht",      "Sirene ein",
                                       "Sirene aus",        "Licht ein",        "Licht aus"};
    for (std::size_t i = 0; i < kIoNameCount; ++i)
        std::snprintf(io_names.name[i], kIoNameSlot, "%s", names[i]);
    uint64_t now = 0;
    const LiveReads reads{[] { return true; }, [] {}, [&now] { return now; },
                          [] { return std::string("2026-12-09T08:15:42+01:00"); }};
    const auto see = [&](int state) {
        for (int input = 0; input < 4; ++input)
            std::snprintf(device_status.io_state_text[input], sizeof device_status.io_state_text[0],
                          "%s", names[2 * input + state]);
        now += 1'000'000;
    };

    WalkTestDialog walk(config::capture_records(false), reads);
    Measure walking;
    walking.inner = &walk;
    walking.in_use = [&](DialogView&) {
        see(0);
        walk.on_cycle(false);
        see(1);
        walk.on_cycle(false);
    };
    run_modal_dialog(instance, IDD_WALK_TEST, nullptr, walking);
    expect_all_fit(IDD_WALK_TEST, language, walking.clipped);

    SurveyDialog survey(reads);
    Measure surveying;
    surveying.inner = &survey;
    surveying.in_use = [&](DialogView& view) {
        survey.on_command(view, IDC_SV_START, BN_CLICKED);
        for (uint8_t signal : {18, 9, 99, 14}) {
            device_status.gsm_signal = signal;
            now += 1'000'000;
            survey.on_cycle(false);
        }
        survey.on_command(view, IDC_SV_START, BN_CLICKED);  // Stop: the verdict and its reason
    };
    run_modal_dialog(instance, IDD_SURVEY, nullptr, surveying);
    expect_all_fit(IDD_SURVEY, language, surveying.clipped);

    // The station only lays out its texts here: no file is chosen and no module is reached.
    struct NoPlatform : Shell {
        bool choose_file(FileKind, bool, std::string*) override { return false; }
        LinkResult run_worker_job(WorkerJob, const WorkerTask&) override { return kFailed; }
        bool start_live(uint64_t, LiveParts, LiveCycle*) override { return false; }
        void stop_live() override {}
    } no_platform;
    StationDialog station(no_platform, language);
    ReportDetailsDialog details(language,
                                {"Wohnanlage Lindenstraße 12", "Małgorzata Brzęczyszczykiewicz"});
    const struct {
        int id;
        DialogLogic* logic;
    } others[] = {{IDD_STATION, &station}, {IDD_REPORT_DETAILS, &details}};
    for (const auto& o : others) {
        Measure measure;
        measure.inner = o.logic;
        run_modal_dialog(instance, o.id, nullptr, measure);
        expect_all_fit(o.id, language, measure.clipped);
    }
}

void check_texts_fit() {
    HDC screen = GetDC(nullptr);
    std::printf("texts measured at %d DPI\n", GetDeviceCaps(screen, LOGPIXELSX));
    ReleaseDC(nullptr, screen);
    // The measure finds what does not fit: a button, a group caption, a two-line label.
    probe(IDD_MAIN, [](Win32DialogView& view, HWND dialog, std::vector<int>&) {
        view.set_text(IDC_REFRESH, "Aktualisieren und noch mehr");
        view.set_text(IDC_ALARM_GROUP, std::string(60, 'W'));
        view.set_text(IDC_BATTERY_LABEL, "one\ntwo\nthree");
        const auto clipped = clipped_texts(dialog);
        CHECK(clipped.size() == 3);
        for (int id : {IDC_REFRESH, IDC_ALARM_GROUP, IDC_BATTERY_LABEL}) {
            bool found = false;
            for (const std::string& line : clipped)
                found |= line.rfind(std::to_string(id) + " ", 0) == 0;
            CHECK_IN(found, id);
        }
    });
    const uint8_t saved = ui_language;
    for (uint8_t language : {kPolish, kEnglish, kGerman}) {
        ui_language = language;
        probe(IDD_MAIN, [&](Win32DialogView& view, HWND dialog, std::vector<int>&) {
            apply_language(view, language);
            expect_all_fit(IDD_MAIN, language, clipped_texts(dialog));
        });
        const int options[] = {IDD_PIN_PUK,    IDD_ACTIONS,     IDD_PHONE_NUMBERS, IDD_IO_NAMES,
                               IDD_AUTO_RESET, IDD_CALL_ANSWER, IDD_AUTO_STATUS};
        for (int id : options) {
            auto logic = make_options_dialog(id);
            Measure measure;
            measure.inner = logic.get();
            run_modal_dialog(instance, id, nullptr, measure);
            expect_all_fit(id, language, measure.clipped);
        }
        AddNumberDialog add;
        AboutDialog about;
        const struct {
            int id;
            DialogLogic* logic;
        } others[] = {{IDD_ADD_NUMBER, &add}, {IDD_ABOUT, &about}};
        for (const auto& o : others) {
            Measure measure;
            measure.inner = o.logic;
            run_modal_dialog(instance, o.id, nullptr, measure);
            expect_all_fit(o.id, language, measure.clipped);
        }
        check_commissioning_texts_fit(language);
    }
    ui_language = saved;
}

// ---- Options dialogs: check boxes, and the PIN and PUK edits under their own logic

void check_option_dialogs() {
    const struct {
        int dialog, box;
        const wchar_t* caption;
    } boxes[] = {
        {IDD_ACTIONS, IDC_ACT0_SMS, L"SMS"},
        {IDD_ACTIONS, IDC_ACT0_CLIP, L"CLIP"},
        {IDD_ACTIONS, IDC_ACT4_SMS, L"SMS"},
        {IDD_ACTIONS, IDC_ACT8_CLIP, L"CLIP"},
        {IDD_CALL_ANSWER, IDC_CALL_SMS, L"SMS"},
        {IDD_AUTO_STATUS, IDC_AUTO_STATUS_SMS, L"SMS"},
        {IDD_AUTO_STATUS, IDC_AUTO_STATUS_CLIP, L"CLIP"},
    };
    for (const auto& b : boxes) {
        probe(b.dialog, [&](Win32DialogView&, HWND dialog, std::vector<int>&) {
            HWND box = GetDlgItem(dialog, b.box);
            CHECK_IN((GetWindowLongW(box, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX, b.box);
            CHECK_IN(window_text(box) == b.caption, b.box);
        });
    }

    ui_language = kEnglish;
    sim_codes.pin = 0xAB0F;
    sim_codes.puk = 0xFFFFFFFF;
    probe(IDD_PIN_PUK, [](Win32DialogView& view, HWND dialog, std::vector<int>&) {
        PinPukDialog logic;
        logic.on_init(view);
        CHECK(view.text(IDC_PIN_EDIT) == "AB0F");  // letters from the module are shown
        CHECK(view.text(IDC_PUK_EDIT).empty());
        HWND pin = GetDlgItem(dialog, IDC_PIN_EDIT);
        HWND puk = GetDlgItem(dialog, IDC_PUK_EDIT);
        SetWindowTextW(pin, L"");
        type(pin, L"1a2F-3 \u00E44\b5");
        CHECK(view.text(IDC_PIN_EDIT) == "1235");
        type(pin, L"678");
        CHECK(view.text(IDC_PIN_EDIT) == "1235");  // a fifth digit is refused
        type(puk, L"123456789");
        CHECK(view.text(IDC_PUK_EDIT) == "12345678");
        put_on_clipboard(L"9");
        SendMessageW(puk, WM_CHAR, '\b', 0);
        SendMessageW(puk, WM_PASTE, 0, 0);
        CHECK(view.text(IDC_PUK_EDIT) == "1234567");
        CHECK(window_text(dialog) == L"PIN and PUK");
    });
    sim_codes = {};
}

// ---- Telephone numbers and I/O names under their own logic, in German

void check_phone_and_name_dialogs() {
    ui_language = kGerman;
    accept_all = 0;
    accepted_count = 2;
    parse_phone_number("+491234446570", accepted_numbers[0]);
    parse_phone_number("+48123456789", accepted_numbers[1]);
    emergency_count = 6;
    for (auto& n : emergency_numbers) parse_phone_number("+12345678901234", n);
    probe(IDD_PHONE_NUMBERS, [](Win32DialogView& view, HWND dialog, std::vector<int>&) {
        PhoneNumbersDialog logic;
        logic.on_init(view);
        HWND received = GetDlgItem(dialog, IDC_RECEIVED_LIST);
        CHECK(SendMessageW(received, CB_GETCOUNT, 0, 0) == 2);
        CHECK(SendMessageW(received, CB_GETCURSEL, 0, 0) == 1);  // the last entry is current
        CHECK(view.item_text(IDC_RECEIVED_LIST, 0) == "+491234446570");
        CHECK(window_text(GetDlgItem(dialog, IDC_RECEIVED_QUANTITY)) == L"2");
        CHECK(window_text(GetDlgItem(dialog, IDC_EMERGENCY_QUANTITY)) == L"6");
        CHECK(!IsWindowEnabled(GetDlgItem(dialog, IDC_EMERGENCY_ADD)));
        CHECK(IsWindowEnabled(GetDlgItem(dialog, IDC_EMERGENCY_REMOVE)));
        CHECK(window_text(dialog) == L"Telefonnummern");
        CHECK(window_text(GetDlgItem(dialog, IDC_RECEIVED_ALL)) == L"Akzeptiere alle");
        CHECK(SendDlgItemMessageW(dialog, IDC_RECEIVED_ADD, BM_GETIMAGE, IMAGE_ICON, 0) != 0);

        SendMessageW(received, CB_SETCURSEL, 0, 0);
        view.set_checked(IDC_RECEIVED_ALL, true);
        logic.on_command(view, IDC_RECEIVED_ALL, BN_CLICKED);
        CHECK(!IsWindowEnabled(received));
        CHECK(!IsWindowEnabled(GetDlgItem(dialog, IDC_RECEIVED_REMOVE)));
        CHECK(accept_all == 1 && accepted_count == 2);
    });

    for (auto& name : io_names.name) name[0] = '\0';
    std::strcpy(io_names.name[2], "IN-2 open");
    probe(IDD_IO_NAMES, [](Win32DialogView& view, HWND dialog, std::vector<int>&) {
        IoNamesDialog logic;
        logic.on_init(view);
        CHECK(window_text(dialog) == L"Namen f\u00FCr Ein- und Ausgangszust\u00E4nde");
        HWND slot2 = GetDlgItem(dialog, IDC_IO_NAME_SLOT2);
        CHECK(window_text(slot2) == L"IN-2 open");
        CHECK(SendMessageW(slot2, EM_GETLIMITTEXT, 0, 0) == 40);
        SendMessageW(slot2, EM_SETSEL, 9, 9);
        type(slot2, L"-\u00FC2");
        CHECK(view.text(IDC_IO_NAME_SLOT2) == "IN-2 open2");
    });
    accept_all = 0;
    accepted_count = 0;
    emergency_count = 0;
    io_names = {};
}

// ---- The host: Enter, Escape, close box, nested dialogs, icons on buttons

struct Recorder : DialogLogic {
    std::vector<int> commands;
    int closes = 0;
    std::function<void(Win32DialogView&, HWND)> at_init;
    void on_init(DialogView& view) override {
        auto& win = static_cast<Win32DialogView&>(view);
        if (at_init) at_init(win, win.window());
    }
    void on_command(DialogView&, int id, int code) override {
        if (code == 0) commands.push_back(id);  // clicks and menu items, not edit notifications
    }
    void on_close(DialogView& view) override {
        ++closes;
        view.close(5);
    }
};

void check_host() {
    // Escape reaches the logic as IDCANCEL and closes nothing; Enter presses the default button;
    // the close box reaches on_close.
    Recorder keys;
    keys.at_init = [](Win32DialogView&, HWND dialog) {
        HWND edit = GetDlgItem(dialog, IDC_PIN_EDIT);
        PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    };
    CHECK(run_modal_dialog(instance, IDD_PIN_PUK, nullptr, keys) == 5);
    CHECK(keys.closes == 1);
    CHECK(keys.commands.size() == 2 && keys.commands[0] == IDCANCEL &&
          keys.commands[1] == IDC_PIN_PUK_CANCEL);

    // A nested dialog is owned by the dialog that runs it; the outer one goes on afterwards.
    Recorder outer;
    HWND outer_window = nullptr;
    HWND inner_owner = nullptr;
    Recorder inner;
    inner.at_init = [&](Win32DialogView& view, HWND dialog) {
        inner_owner = GetWindow(dialog, GW_OWNER);
        view.set_button_icon(IDC_RECEIVED_ADD, IDI_PLUS);
        view.set_button_icon(IDC_RECEIVED_REMOVE, IDI_MINUS);
        for (int id : {IDC_RECEIVED_ADD, IDC_RECEIVED_REMOVE}) {
            auto icon = reinterpret_cast<HICON>(
                SendDlgItemMessageW(dialog, id, BM_GETIMAGE, IMAGE_ICON, 0));
            ICONINFO info{};
            BITMAP bitmap{};
            CHECK_IN(icon && GetIconInfo(icon, &info), id);
            if (info.hbmColor) GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
            CHECK_IN(bitmap.bmWidth == 24 && bitmap.bmHeight == 24, id);
            if (info.hbmColor) DeleteObject(info.hbmColor);
            if (info.hbmMask) DeleteObject(info.hbmMask);
        }
        view.close(3);
    };
    outer.at_init = [&](Win32DialogView& view, HWND dialog) {
        outer_window = dialog;
        view.run_dialog(IDD_PHONE_NUMBERS, inner);
        view.close(4);
    };
    CHECK(run_modal_dialog(instance, IDD_ABOUT, nullptr, outer) == 4);
    CHECK(inner_owner != nullptr && inner_owner == outer_window);
}

}  // namespace
}  // namespace zavi

int wmain() {
    using namespace zavi;
    instance = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);

    check_templates();
    probe(IDD_MAIN, [](Win32DialogView& view, HWND dialog, std::vector<int>&) {
        check_main_window_template(dialog);
        check_main_window_view(view, dialog);
    });
    check_filters();
    check_keyboard();
    check_texts_fit();
    check_option_dialogs();
    check_phone_and_name_dialogs();
    check_host();

    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
