#include "win32/checks/text_fit.h"

#include <cstdio>

#include "win32/wide_text.h"

namespace zavi {

namespace {

enum class Shape { none, wrapped, line, push, check, group };

Shape shape_of(HWND control) {
    wchar_t name[32] = {};
    GetClassNameW(control, name, 32);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (_wcsicmp(name, L"Static") == 0) {
        const LONG type = style & SS_TYPEMASK;
        if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) return Shape::wrapped;
        if (type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE) return Shape::line;
        return Shape::none;  // icons, frames, etched lines
    }
    if (_wcsicmp(name, L"Button") != 0 || (style & BS_ICON) || (style & BS_BITMAP))
        return Shape::none;
    switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
            return Shape::push;
        case BS_GROUPBOX:
            return Shape::group;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return Shape::check;
        default:
            return Shape::none;
    }
}

}  // namespace

std::vector<std::string> clipped_texts(HWND dialog) {
    std::vector<std::string> clipped;
    for (HWND control = GetWindow(dialog, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        const Shape shape = shape_of(control);
        if (shape == Shape::none || !(GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE)) continue;
        wchar_t text[512] = {};
        GetWindowTextW(control, text, 512);
        if (!text[0]) continue;
        RECT client{};
        GetClientRect(control, &client);
        const int room_x = client.right, room_y = client.bottom;

        HDC dc = GetDC(control);
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
        HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        const bool no_prefix = shape == Shape::wrapped || shape == Shape::line
                                   ? (GetWindowLongW(control, GWL_STYLE) & SS_NOPREFIX) != 0
                                   : false;
        UINT flags = DT_CALCRECT | (no_prefix ? DT_NOPREFIX : 0);
        // Room the control itself takes from the text: borders, the check box, the group
        // box's line ends.
        int margin_x = 0;
        switch (shape) {
            case Shape::wrapped:
                flags |= DT_WORDBREAK;
                break;
            case Shape::push:
                margin_x = 2 * GetSystemMetrics(SM_CXEDGE) + 4;
                flags |= DT_SINGLELINE;
                break;
            case Shape::check:
                margin_x = GetSystemMetrics(SM_CXMENUCHECK) + metrics.tmAveCharWidth / 2;
                flags |= DT_SINGLELINE;
                break;
            case Shape::group:
                margin_x = 2 * metrics.tmAveCharWidth;
                flags |= DT_SINGLELINE;
                break;
            default:
                flags |= DT_SINGLELINE;
                break;
        }
        RECT need{0, 0, room_x - margin_x, 0};
        DrawTextW(dc, text, -1, &need, flags);
        SelectObject(dc, old);
        ReleaseDC(control, dc);

        // A word longer than the line shows as a wider rectangle; more lines than fit as a
        // taller one. A group box's caption only has to fit across.
        const bool too_wide = need.right > room_x - margin_x;
        const bool too_tall = shape != Shape::group && shape != Shape::push &&
                              shape != Shape::check && need.bottom > room_y;
        if (too_wide || too_tall) {
            char line[800];
            std::snprintf(line, sizeof line, "%d \"%s\": room %dx%d, needs %dx%d",
                          GetDlgCtrlID(control), from_wide(text).c_str(), room_x - margin_x, room_y,
                          static_cast<int>(need.right), static_cast<int>(need.bottom));
            clipped.emplace_back(line);
        }
    }
    return clipped;
}

}  // namespace zavi
