#pragma once

#include <windows.h>

#include <string_view>

#include "ui/palette.h"

// Flat rounded shape with a one-pixel border; `outer` paints the corners
// outside the rounding so the shape sits cleanly on its background.
void draw_rounded_box(HDC hdc, const RECT& rect, Colorref outer, Colorref fill, Colorref border);

// One line, vertically centred, cut with an ellipsis, in the control's font.
void draw_item_text(HWND control, HDC hdc, std::wstring_view text, const RECT& rect, Colorref color, bool centred);

// WM_DRAWITEM of the main window and of every page (dropdown list items,
// buttons, navigation items); the caller returns TRUE.
void paint_owner_item(const DRAWITEMSTRUCT& item);

// The face of a closed dropdown.
void paint_dropdown(HWND dropdown, HDC hdc);

// Non-client frame: rounded for a TextField, square for multi-line controls
// and the tree view.
void paint_field_frame(HWND control, bool rounded);

// Answer to WM_CTLCOLOREDIT, WM_CTLCOLORBTN and WM_CTLCOLORSTATIC: the DC
// brush, coloured like the background. Null for any other message.
HBRUSH control_colors(UINT message, HDC hdc, HWND control);

// What every window holding controls does with WM_DRAWITEM and the
// WM_CTLCOLOR* messages; false for any other message.
bool handle_control_paint_message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);

// Whether the control shows focus cues (the window's UI state may hide them).
bool focus_cues_shown(HWND control);
