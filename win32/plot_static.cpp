#include "win32/plot_static.h"

#include <commctrl.h>

#include <string>

#include "win32/wide_text.h"

namespace zavi {

namespace {

constexpr int kTop = -45, kBottom = -115;  // the scale in dBm
constexpr UINT_PTR kSubclassId = 0x504C;
constexpr wchar_t kPlotProperty[] = L"ZaviPlot";

struct Plot {
    std::vector<std::optional<int>> values;
    int line1 = 0, line2 = 0;
};

int y_of(int dbm, int height) {
    if (dbm > kTop) dbm = kTop;
    if (dbm < kBottom) dbm = kBottom;
    return (kTop - dbm) * (height - 1) / (kTop - kBottom);
}

void paint(HWND control, const Plot& plot) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(control, &ps);
    RECT r;
    GetClientRect(control, &r);
    const int w = r.right, h = r.bottom;
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(GetParent(control), WM_GETFONT, 0, 0));
    HGDIOBJ old_font = font ? SelectObject(dc, font) : nullptr;
    // The reference lines, red dotted, with their values.
    HPEN dotted = CreatePen(PS_DOT, 1, RGB(200, 0, 0));
    HGDIOBJ old_pen = SelectObject(dc, dotted);
    SetTextColor(dc, RGB(200, 0, 0));
    for (int line : {plot.line1, plot.line2}) {
        const int y = y_of(line, h);
        MoveToEx(dc, 0, y, nullptr);
        LineTo(dc, w, y);
        // Not std::to_wstring: that formats through the C runtime's wide printf, 12 KB.
        const std::wstring label = to_wide(std::to_string(line) + " dBm");
        TextOutW(dc, 2, y - 14 > 0 ? y - 14 : y + 1, label.c_str(), static_cast<int>(label.size()));
    }
    // The samples, blue, left to right over the whole width.
    HPEN blue = CreatePen(PS_SOLID, 2, RGB(0, 70, 200));
    SelectObject(dc, blue);
    const size_t n = plot.values.size();
    bool drawing = false;
    for (size_t i = 0; i < n; ++i) {
        if (!plot.values[i]) {
            drawing = false;
            continue;
        }
        const int x = n > 1 ? static_cast<int>(i * (w - 1) / (n - 1)) : 0;
        const int y = y_of(*plot.values[i], h);
        if (drawing) {
            LineTo(dc, x, y);
        } else {
            MoveToEx(dc, x, y, nullptr);
            LineTo(dc, x + 1, y);
        }
        drawing = true;
    }
    SelectObject(dc, old_pen);
    DeleteObject(dotted);
    DeleteObject(blue);
    if (old_font) SelectObject(dc, old_font);
    EndPaint(control, &ps);
}

LRESULT CALLBACK plot_proc(HWND control, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                           DWORD_PTR data) {
    auto* plot = reinterpret_cast<Plot*>(data);
    switch (message) {
        case WM_PAINT:
            paint(control, *plot);
            return 0;
        case WM_NCDESTROY:
            RemoveWindowSubclass(control, plot_proc, kSubclassId);
            RemovePropW(control, kPlotProperty);
            delete plot;
            break;
        default:
            break;
    }
    return DefSubclassProc(control, message, wparam, lparam);
}

}  // namespace

void show_plot(HWND control, const std::vector<std::optional<int>>& values, int line1, int line2) {
    if (!control) return;
    // The control's data, once it is subclassed, is also kept as a window property.
    auto data = reinterpret_cast<DWORD_PTR>(GetPropW(control, kPlotProperty));
    if (!data) {
        auto* plot = new Plot;
        if (!SetWindowSubclass(control, plot_proc, kSubclassId,
                               reinterpret_cast<DWORD_PTR>(plot)) ||
            !SetPropW(control, kPlotProperty, plot)) {
            RemoveWindowSubclass(control, plot_proc, kSubclassId);
            delete plot;
            return;
        }
        data = reinterpret_cast<DWORD_PTR>(plot);
    }
    *reinterpret_cast<Plot*>(data) = {values, line1, line2};
    InvalidateRect(control, nullptr, FALSE);
}

}  // namespace zavi
