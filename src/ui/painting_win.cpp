#include "ui/painting_win.h"

#include <vector>

#include "ui/controls_win.h"
#include "ui/paint_colors.h"
#include "ui/ui_resources_win.h"

namespace {

// Texts that fit are read into a stack buffer; painting then allocates nothing.
constexpr int text_buffer_units = 96;

HBRUSH dc_brush(HDC hdc, Colorref color) {
    SetDCBrushColor(hdc, color);
    return static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
}

// Whether the control shows focus cues (the window's UI state may hide them).
bool focus_cues_shown(HWND control) {
    return !(SendMessageW(control, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

// Flat rounded shape with a one-pixel border; `outer` paints the corners
// outside the rounding so the shape sits cleanly on its background.
void draw_rounded_box(HDC hdc, const RECT& rect, Colorref outer, Colorref fill, Colorref border) {
    fill_rect(hdc, rect, outer);
    HGDIOBJ old_brush = SelectObject(hdc, GetStockObject(DC_BRUSH));
    HGDIOBJ old_pen = SelectObject(hdc, GetStockObject(DC_PEN));
    SetDCBrushColor(hdc, fill);
    SetDCPenColor(hdc, border);
    const int corner = scale(11);
    RoundRect(hdc, rect.left, rect.top, rect.right, rect.bottom, corner, corner);
    SelectObject(hdc, old_pen);
    SelectObject(hdc, old_brush);
}

// One line, vertically centred, cut with an ellipsis, in the control's font.
void draw_item_text(HWND control, HDC hdc, std::wstring_view text, const RECT& rect, Colorref color, bool centred) {
    if (text.empty() || rect.left >= rect.right) return;
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ old_font = font ? SelectObject(hdc, font) : nullptr;
    const COLORREF old_color = SetTextColor(hdc, color);
    const int old_mode = SetBkMode(hdc, TRANSPARENT);
    RECT r = rect;
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | (centred ? DT_CENTER : 0);
    DrawTextW(hdc, text.data(), static_cast<int>(text.size()), &r, format);
    SetBkMode(hdc, old_mode);
    SetTextColor(hdc, old_color);
    if (old_font) SelectObject(hdc, old_font);
}

// A dropdown item's text: in a stack buffer when it fits, so that painting
// allocates only for long items.
class ItemText {
public:
    std::wstring_view read(HWND dropdown, UINT index) {
        const LRESULT length = SendMessageW(dropdown, CB_GETLBTEXTLEN, index, 0);
        if (length <= 0) return {};
        wchar_t* buffer = stack_;
        if (length >= text_buffer_units) {
            heap_.resize(static_cast<std::size_t>(length) + 1);
            buffer = heap_.data();
        }
        const LRESULT copied = SendMessageW(dropdown, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer));
        return std::wstring_view(buffer, static_cast<std::size_t>(copied > 0 ? copied : 0));
    }

private:
    wchar_t stack_[text_buffer_units];
    std::vector<wchar_t> heap_;
};

void paint_list_item(const DRAWITEMSTRUCT& item, const Palette& p) {
    const bool highlighted = (item.itemState & ODS_SELECTED) && !(item.itemState & ODS_COMBOBOXEDIT);
    const FillAndText colors = list_item_colors(p, highlighted, (item.itemState & ODS_DISABLED) != 0);
    fill_rect(item.hDC, item.rcItem, colors.fill);
    if (item.itemID == static_cast<UINT>(-1)) return;
    RECT text_rect = item.rcItem;
    text_rect.left += scale(9);
    text_rect.right -= scale(7);
    ItemText text;
    draw_item_text(item.hwndItem, item.hDC, text.read(item.hwndItem, item.itemID), text_rect, colors.text, false);
}

std::wstring_view window_text(HWND control, wchar_t (&buffer)[text_buffer_units]) {
    const int length = GetWindowTextW(control, buffer, text_buffer_units);
    return std::wstring_view(buffer, static_cast<std::size_t>(length > 0 ? length : 0));
}

bool item_focus_shown(const DRAWITEMSTRUCT& item) {
    return (item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT) && focus_cues_shown(item.hwndItem);
}

void paint_nav_item(const DRAWITEMSTRUCT& item, const Palette& p) {
    const NavItemState state{has_property(item.hwndItem, selected_property),
                             has_property(item.hwndItem, hot_property), (item.itemState & ODS_SELECTED) != 0,
                             item_focus_shown(item)};
    const BoxColors colors = nav_item_colors(p, state);
    draw_rounded_box(item.hDC, item.rcItem, p.sidebar_bg, colors.fill, colors.border);
    if (state.selected) {
        const RECT bar{item.rcItem.left + scale(3), item.rcItem.top + scale(11), item.rcItem.left + scale(6),
                       item.rcItem.bottom - scale(11)};
        fill_rect(item.hDC, bar, p.nav_indicator);
    }
    wchar_t buffer[text_buffer_units];
    RECT text_rect = item.rcItem;
    text_rect.left += scale(17);
    draw_item_text(item.hwndItem, item.hDC, window_text(item.hwndItem, buffer), text_rect, colors.text, false);
}

void paint_button(const DRAWITEMSTRUCT& item, const Palette& p, ControlKind kind) {
    const bool accent_style =
        kind == ControlKind::PrimaryButton || has_property(item.hwndItem, selected_property);
    const ButtonState state{accent_style, (item.itemState & ODS_SELECTED) != 0,
                            (item.itemState & ODS_DISABLED) != 0, item_focus_shown(item)};
    const BoxColors colors = button_colors(p, state);
    draw_rounded_box(item.hDC, item.rcItem, p.window_bg, colors.fill, colors.border);
    wchar_t buffer[text_buffer_units];
    draw_item_text(item.hwndItem, item.hDC, window_text(item.hwndItem, buffer), item.rcItem, colors.text, true);
}

}  // namespace

void fill_rect(HDC hdc, const RECT& rect, Colorref color) { FillRect(hdc, &rect, dc_brush(hdc, color)); }

void paint_owner_item(const DRAWITEMSTRUCT& item) {
    const Palette& p = ui_resources().palette;
    if (item.CtlType == ODT_COMBOBOX) {
        paint_list_item(item, p);
        return;
    }
    if (item.CtlType != ODT_BUTTON) return;
    const ControlKind kind = control_kind(item.hwndItem);
    if (kind == ControlKind::NavItem)
        paint_nav_item(item, p);
    else
        paint_button(item, p, kind);
}

void paint_dropdown(HWND dropdown, HDC hdc) {
    RECT client;
    if (!hdc || !GetClientRect(dropdown, &client)) return;
    const Palette& p = ui_resources().palette;
    const bool open = SendMessageW(dropdown, CB_GETDROPPEDSTATE, 0, 0) != 0;
    const BoxColors colors = dropdown_face_colors(p, IsWindowEnabled(dropdown) != FALSE, open || GetFocus() == dropdown);
    draw_rounded_box(hdc, client, p.window_bg, colors.fill, colors.border);

    const LRESULT selection = SendMessageW(dropdown, CB_GETCURSEL, 0, 0);
    if (selection != CB_ERR) {
        RECT text_rect = client;
        text_rect.left += scale(10);
        text_rect.right -= scale(29);
        ItemText text;
        draw_item_text(dropdown, hdc, text.read(dropdown, static_cast<UINT>(selection)), text_rect, colors.text,
                       false);
    }

    const int x = client.right - scale(15);
    const int y = (client.top + client.bottom) / 2;
    const int w = scale(4);
    const int d = open ? -scale(2) : scale(2);
    const POINT chevron[3] = {{x - w, y - d}, {x, y + d}, {x + w, y - d}};
    HGDIOBJ old_pen = SelectObject(hdc, GetStockObject(DC_PEN));
    SetDCPenColor(hdc, p.text_muted);
    Polyline(hdc, chevron, 3);
    SelectObject(hdc, old_pen);
}

void paint_field_frame(HWND control, bool rounded) {
    RECT window;
    RECT client;
    if (!GetWindowRect(control, &window) || !GetClientRect(control, &client)) return;
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -window.left, -window.top);
    OffsetRect(&window, -window.left, -window.top);
    HDC hdc = GetWindowDC(control);
    if (!hdc) return;
    ExcludeClipRect(hdc, client.left, client.top, client.right, client.bottom);
    const Palette& p = ui_resources().palette;
    const Colorref border = GetFocus() == control ? p.accent : p.border;
    if (rounded) {
        const bool read_only = (GetWindowLongPtrW(control, GWL_STYLE) & ES_READONLY) != 0;
        draw_rounded_box(hdc, window, p.window_bg, read_only ? p.readonly_bg : color_white, border);
    } else {
        RECT frame = window;
        HBRUSH brush = dc_brush(hdc, border);
        for (int i = 0; i < scale(1); ++i) {
            FrameRect(hdc, &frame, brush);
            InflateRect(&frame, -1, -1);
        }
    }
    ReleaseDC(control, hdc);
}

HBRUSH control_colors(UINT message, HDC hdc, HWND control) {
    CtlColorMessage which;
    switch (message) {
        case WM_CTLCOLOREDIT: which = CtlColorMessage::Edit; break;
        case WM_CTLCOLORBTN: which = CtlColorMessage::Button; break;
        case WM_CTLCOLORSTATIC: which = CtlColorMessage::Static; break;
        default: return nullptr;
    }
    const CtlColorQuery query{control_kind(control), which,
                              (GetWindowLongPtrW(control, GWL_STYLE) & ES_READONLY) != 0,
                              has_property(control, selected_property)};
    const FillAndText colors = ctlcolor_colors(ui_resources().palette, query);
    SetTextColor(hdc, colors.text);
    SetBkColor(hdc, colors.fill);
    return dc_brush(hdc, colors.fill);
}

bool handle_control_paint_message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
    switch (message) {
    case WM_DRAWITEM:
        paint_owner_item(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
        result = TRUE;
        return true;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        result = reinterpret_cast<LRESULT>(
            control_colors(message, reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam)));
        return true;
    default:
        return false;
    }
}
