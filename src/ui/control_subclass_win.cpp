#include "ui/control_subclass_win.h"

#include <richedit.h>

#include "ui/controls_win.h"
#include "ui/paint_colors.h"
#include "ui/painting_win.h"
#include "ui/ui_resources_win.h"

namespace {

constexpr DWORD_PTR tree_view_reference = 0;
constexpr DWORD_PTR text_field_reference = static_cast<DWORD_PTR>(ControlKind::TextField);
constexpr DWORD_PTR dropdown_reference = static_cast<DWORD_PTR>(ControlKind::Dropdown);

// Messages after which a dropdown's face may no longer match its state
// (focus, open list, selection, enabled).
bool changes_dropdown_face(UINT message) {
    switch (message) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE:
        case WM_CANCELMODE:
        case WM_KEYDOWN:
        case WM_CHAR:
        case CB_SETCURSEL:
        case CB_SHOWDROPDOWN:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_MOUSEWHEEL:
        case WM_CAPTURECHANGED:
            return true;
        default:
            return false;
    }
}

LRESULT dropdown_message(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC hdc = BeginPaint(hwnd, &ps);
            paint_dropdown(hwnd, hdc);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_PRINTCLIENT:
            paint_dropdown(hwnd, reinterpret_cast<HDC>(wparam));
            return 0;
        case WM_ERASEBKGND:
            return 1;
        default:
            break;
    }
    const LRESULT result = DefSubclassProc(hwnd, message, wparam, lparam);
    if (changes_dropdown_face(message)) InvalidateRect(hwnd, nullptr, FALSE);
    return result;
}

LRESULT field_message(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, DWORD_PTR reference) {
    const bool text_field = reference == text_field_reference;
    if (text_field && message == WM_NCHITTEST) return HTCLIENT;
    if (text_field && message == WM_NCPAINT) {
        paint_field_frame(hwnd, true);
        return 0;
    }
    const LRESULT result = DefSubclassProc(hwnd, message, wparam, lparam);
    switch (message) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE:
        case EM_SETREADONLY:
            RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
            break;
        case WM_NCCALCSIZE: {
            // Both forms of the message start with the proposed client rectangle.
            RECT* proposed = reinterpret_cast<RECT*>(lparam);
            if (!proposed) break;
            const FrameInset inset = frame_inset(static_cast<int>(reference), proposed->right - proposed->left,
                                                 proposed->bottom - proposed->top, ui_resources().dpi);
            if (!inset.applies) break;
            InflateRect(proposed, -inset.x, -inset.y);
            return 0;
        }
        case WM_NCPAINT:
            paint_field_frame(hwnd, false);
            break;
        default:
            break;
    }
    return result;
}

}  // namespace

bool find_window_subclass(HWND hwnd, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR* reference) {
    using GetWindowSubclassFn = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR*);
    static const auto get_window_subclass = [] {
        HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
        FARPROC address = comctl ? GetProcAddress(comctl, MAKEINTRESOURCEA(411)) : nullptr;
        return reinterpret_cast<GetWindowSubclassFn>(reinterpret_cast<void*>(address));
    }();
    DWORD_PTR unused = 0;
    return get_window_subclass && get_window_subclass(hwnd, procedure, id, reference ? reference : &unused);
}

LRESULT CALLBACK control_subclass(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                  DWORD_PTR reference) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, control_subclass, id);
        RemovePropW(hwnd, kind_property);
        return DefSubclassProc(hwnd, message, wparam, lparam);
    }
    if (reference == dropdown_reference) return dropdown_message(hwnd, message, wparam, lparam);
    return field_message(hwnd, message, wparam, lparam, reference);
}

LRESULT CALLBACK nav_item_subclass(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                   DWORD_PTR /*reference*/) {
    switch (message) {
        case WM_MOUSEMOVE:
            if (!has_property(hwnd, hot_property)) {
                TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd, 0};
                if (TrackMouseEvent(&track)) {
                    SetPropW(hwnd, hot_property, reinterpret_cast<HANDLE>(1));
                    InvalidateRect(hwnd, nullptr, FALSE);
                }
            }
            break;
        case WM_MOUSELEAVE:
            RemovePropW(hwnd, hot_property);
            InvalidateRect(hwnd, nullptr, FALSE);
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, nav_item_subclass, id);
            RemovePropW(hwnd, hot_property);
            RemovePropW(hwnd, kind_property);
            RemovePropW(hwnd, selected_property);
            break;
        default:
            break;
    }
    return DefSubclassProc(hwnd, message, wparam, lparam);
}

BOOL CALLBACK refresh_control_colors(HWND child, LPARAM /*unused*/) {
    const Palette& p = ui_resources().palette;
    const ControlKind kind = control_kind(child);
    DWORD_PTR reference = 0;
    if (kind == ControlKind::None &&
        find_window_subclass(child, control_subclass, control_subclass_id, &reference) &&
        reference == tree_view_reference) {
        SendMessageW(child, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(p.result_bg));
        SendMessageW(child, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(p.text));
        SendMessageW(child, TVM_SETLINECOLOR, 0, static_cast<LPARAM>(p.border));
    } else if (kind == ControlKind::ResultArea && ui_resources().rich_edit_state == RichEditState::Available) {
        SendMessageW(child, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(p.result_bg));
    }
    return TRUE;
}
