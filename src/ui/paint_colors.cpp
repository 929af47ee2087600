#include "ui/paint_colors.h"

#include <algorithm>

#include "ui/dpi.h"

BoxColors button_colors(const Palette& p, ButtonState s) {
    if (s.disabled) return {mix(p.window_bg, p.text_muted, 6), p.border, p.text_muted};
    if (s.accent_style) {
        Colorref fill = s.pressed ? p.accent_pressed : p.accent;
        return {fill, s.focus_shown ? p.accent_focus : fill, color_white};
    }
    return {s.pressed ? p.accent_soft : color_white, s.focus_shown ? p.accent : p.border, p.text};
}

BoxColors nav_item_colors(const Palette& p, NavItemState s) {
    const bool lit = s.hot || s.pressed;
    Colorref fill, text;
    if (s.selected) {
        fill = lit ? p.nav_selected_hover : p.nav_selected;
        text = p.nav_selected_text;
    } else {
        fill = lit ? p.nav_hover : p.sidebar_bg;
        text = color_nav_text;
    }
    return {fill, s.focus_shown ? p.nav_focus : fill, text};
}

FillAndText list_item_colors(const Palette& p, bool highlighted, bool disabled) {
    Colorref fill = highlighted ? p.accent_soft : color_white;
    if (disabled) return {fill, p.text_muted};
    return {fill, highlighted ? p.accent_pressed : p.text};
}

BoxColors dropdown_face_colors(const Palette& p, bool enabled, bool open_or_focused) {
    Colorref border = open_or_focused ? p.accent : p.border;
    if (enabled) return {color_white, border, p.text};
    return {p.window_bg, border, p.text_muted};
}

FillAndText ctlcolor_colors(const Palette& p, CtlColorQuery q) {
    switch (q.kind) {
        case ControlKind::TextField:
            return {q.read_only ? p.readonly_bg : color_white, p.text};
        case ControlKind::ResultArea:
            return {p.result_bg, p.text};
        case ControlKind::BrandLabel:
            return {p.sidebar_bg, color_white};
        default:
            break;
    }
    if (q.message == CtlColorMessage::Edit) return {color_white, p.text};
    if (q.kind == ControlKind::Hint) return {p.window_bg, p.text_muted};
    if (q.kind == ControlKind::StatusLabel) return {p.window_bg, q.selected ? color_error_text : p.text_muted};
    return {p.window_bg, p.text};
}

FrameInset frame_inset(int reference, int width, int height, int dpi) {
    FrameInset inset{};
    if (reference == static_cast<int>(ControlKind::TextField)) {
        inset.x = scale(4, dpi);
        inset.y = std::max(scale(1, dpi), (height - scale(19, dpi)) / 2);
    } else {
        inset.x = inset.y = scale(1, dpi);
    }
    inset.applies = 2 * inset.x < width && 2 * inset.y < height;
    return inset;
}
