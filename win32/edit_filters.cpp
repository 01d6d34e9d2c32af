#include "win32/edit_filters.h"

#include <commctrl.h>

#include "ui/edit_filter.h"
#include "ui/updown_keys.h"
#include "win32/key_guard.h"

namespace zavi {

namespace {

constexpr UINT_PTR kFilterId = 1;

// The filter travels in the subclass's reference data: the kind in the low byte, the Enter
// command above it.
DWORD_PTR pack(EditFilter filter) {
    return static_cast<DWORD_PTR>(filter.kind) |
           (static_cast<DWORD_PTR>(static_cast<unsigned>(filter.enter_command)) << 8);
}

EditFilter unpack(DWORD_PTR data) {
    return {static_cast<EditFilterKind>(data & 0xFF), static_cast<int>(data >> 8)};
}

bool shift_insert(WPARAM key) {
    return key == VK_INSERT && (GetKeyState(VK_SHIFT) & 0x8000) != 0;
}

// The up-down that has `edit` as its buddy: the next window after it (auto-buddy).
HWND updown_of(HWND edit) {
    HWND next = GetWindow(edit, GW_HWNDNEXT);
    if (!next) return nullptr;
    wchar_t name[32] = {};
    GetClassNameW(next, name, 32);
    if (lstrcmpiW(name, UPDOWN_CLASSW) != 0) return nullptr;
    return reinterpret_cast<HWND>(SendMessageW(next, UDM_GETBUDDY, 0, 0)) == edit ? next : nullptr;
}

// PgUp and PgDn move the buddy's up-down a page; Up and Down the up-down answers itself.
bool page_updown(HWND edit, WPARAM key) {
    if (key != VK_PRIOR && key != VK_NEXT) return false;
    HWND updown = updown_of(edit);
    if (!updown) return false;
    int low = 0, high = 0;
    SendMessageW(updown, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                 reinterpret_cast<LPARAM>(&high));
    const int position = static_cast<int>(SendMessageW(updown, UDM_GETPOS32, 0, 0));
    const int moved = updown_paged_position(position, low, high, key == VK_PRIOR ? 1 : -1);
    SendMessageW(updown, UDM_SETPOS32, 0, moved);
    return true;
}

bool moves_updown(WPARAM key) {
    return key == VK_UP || key == VK_DOWN;
}

LRESULT CALLBACK filter_proc(HWND edit, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                             DWORD_PTR data) {
    const EditFilter filter = unpack(data);
    const bool filtering = filter.kind != EditFilterKind::none;
    const bool blocked = filter.kind == EditFilterKind::block_input;
    switch (message) {
        case WM_NCDESTROY:
            RemoveWindowSubclass(edit, filter_proc, id);
            break;
        case WM_CHAR:
            if (wparam == L'\r' && filter.enter_command != 0) return 0;  // no beep
            if (filtering && !edit_filter_passes(filter.kind, static_cast<char32_t>(wparam)))
                return 0;
            break;
        case WM_KEYDOWN:
            if (wparam == VK_RETURN && filter.enter_command != 0) {
                forget_key_of_closed_box(wparam);  // a new press: its key-up is this edit's
                return 0;
            }
            if (page_updown(edit, wparam)) return 0;
            // Shift+Insert pastes without a WM_PASTE message.
            if ((blocked && !moves_updown(wparam)) || (filtering && shift_insert(wparam))) return 0;
            break;
        case WM_GETDLGCODE:
            // The edit takes Enter's key-down itself, so that it knows a press of its own
            // from the key-up of a box that Enter closed.
            if (filter.enter_command != 0 && lparam) {
                const auto* msg = reinterpret_cast<const MSG*>(lparam);
                if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
                    return DefSubclassProc(edit, message, wparam, lparam) | DLGC_WANTMESSAGE;
            }
            break;
        case WM_KEYUP:
            if (wparam == VK_RETURN && key_up_belongs_to_closed_box(wparam)) return 0;
            if (wparam == VK_RETURN && filter.enter_command != 0) {
                HWND parent = GetParent(edit);
                HWND button = GetDlgItem(parent, filter.enter_command);
                SendMessageW(parent, WM_COMMAND, MAKEWPARAM(filter.enter_command, BN_CLICKED),
                             reinterpret_cast<LPARAM>(button));
                return 0;
            }
            if (blocked) return 0;
            break;
        case WM_RBUTTONDOWN:
        case WM_CONTEXTMENU:
        case WM_PASTE:
            if (filtering) return 0;
            break;
        default:
            break;
    }
    return DefSubclassProc(edit, message, wparam, lparam);
}

}  // namespace

void install_edit_filter(HWND edit, EditFilter filter) {
    if (!edit) return;
    if (filter.kind == EditFilterKind::none && filter.enter_command == 0) {
        RemoveWindowSubclass(edit, filter_proc, kFilterId);
        return;
    }
    SetWindowSubclass(edit, filter_proc, kFilterId, pack(filter));
}

}  // namespace zavi
