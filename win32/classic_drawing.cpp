#include "win32/classic_drawing.h"

#include <uxtheme.h>

#include <cwchar>

namespace zavi {

void draw_classic(HWND control) {
    // A sub-app name and class list that match no theme class. An empty string would not do:
    // Wine treats it like null, which restores the default theme.
    if (control) SetWindowTheme(control, L" ", L" ");
}

namespace {

BOOL CALLBACK classic_if_flat(HWND child, LPARAM) {
    wchar_t class_name[16] = {};
    GetClassNameW(child, class_name, 16);
    if (_wcsicmp(class_name, L"Button") != 0) return TRUE;
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    // Group boxes too: the themed one leaves too little room for its caption, whose last
    // letter then lies under the frame line ("Alarmbedingunge" + a cut "n").
    if ((style & BS_FLAT) || (style & BS_TYPEMASK) == BS_GROUPBOX) draw_classic(child);
    return TRUE;
}

}  // namespace

void draw_flat_buttons_classic(HWND dialog) {
    EnumChildWindows(dialog, classic_if_flat, 0);
}

}  // namespace zavi
